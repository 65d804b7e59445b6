#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/lead_bytes.h"

namespace core {

// Splits a narrow Windows command line into its tokens: separators are codes 1
// to 32, double quotes open and close quoted stretches and are never kept,
// there is no escape character, a token that is empty once its quotes are gone
// is dropped. The text ends at its first NUL; a double-byte character is one
// step. The first token is the program's own name.
std::vector<std::string> splitCommandLine(std::string_view text, const LeadByteSet& leadBytes);

}  // namespace core
