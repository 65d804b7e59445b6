// Pure parts of the existence test: the file-search pattern and the DOS date range.
#pragma once
#include <string_view>

namespace core {

// '*' matches any run of characters, '?' any one character; every other byte
// matches itself, case-sensitively.
bool matchesSearchPattern(std::string_view pattern, std::string_view name);

// A local date that a DOS (FAT) directory entry can hold: 1980-01-01 to 2107-12-31.
bool fitsDosDate(int year);

}  // namespace core
