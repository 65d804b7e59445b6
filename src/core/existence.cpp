#include "core/existence.h"

#include <cstddef>

namespace core {

bool matchesSearchPattern(std::string_view pattern, std::string_view name) {
  // Greedy walk with one backtrack point: the most recent '*' is retried with
  // one more character swallowed each time the literal tail fails. Linear in
  // practice and free of recursion, so long runs of '*' cannot blow the stack.
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool fitsDosDate(int year) { return year >= 1980 && year <= 2107; }

}  // namespace core
