#include "core/target_path.h"

#include <cstddef>

namespace core {

TargetChoice chooseTarget(const std::vector<std::string>& tokens) {
  // Any count other than exactly one argument keeps the default without a word.
  if (tokens.size() == 2) return {tokens[1], true};
  return {std::string(kDefaultTarget), false};
}

PathRules windowsPathRules(const LeadByteSet& leadBytes) { return {"\\:", '\\', leadBytes}; }

PathRules posixPathRules() { return {"/", '/', LeadByteSet{}}; }

bool isTrailByte(std::string_view text, std::size_t i, const LeadByteSet& leadBytes) {
  if (leadBytes.empty() || i >= text.size()) return false;
  // Only the parity of the lead-byte run in front decides: an even run pairs
  // up completely, so byte i starts a character of its own.
  std::size_t run = 0;
  while (run < i && leadBytes.contains(static_cast<unsigned char>(text[i - run - 1]))) ++run;
  return run % 2 == 1;
}

namespace {

bool isDelimiterAt(std::string_view path, std::size_t i, const PathRules& rules) {
  return rules.delimiters.find(path[i]) != std::string_view::npos &&
         !isTrailByte(path, i, rules.leadBytes);
}

}  // namespace

PathParts splitTargetPath(std::string_view path, const PathRules& rules) {
  // p counts bytes up to and including the last delimiter; 0 means none.
  std::size_t p = 0;
  for (std::size_t i = path.size(); i > 0;) {
    const std::size_t at = i - 1;
    if (rules.delimiters.find(path[at]) == std::string_view::npos) {
      --i;
    } else if (isTrailByte(path, at, rules.leadBytes)) {
      // The second half of a double-byte character, and its first half with it.
      i = at >= 1 ? at - 1 : 0;
    } else {
      p = at + 1;
      break;
    }
  }

  PathParts parts;
  parts.fileName = std::string(path.substr(p));
  std::size_t dirLength = p;
  // A trailing separator is dropped unless it marks a root: the path's first
  // byte, after a drive's colon, or after another separator.
  if (p > 1 && path[p - 1] == rules.trailingSeparator && !isDelimiterAt(path, p - 2, rules))
    dirLength = p - 1;
  parts.directory = std::string(path.substr(0, dirLength));
  return parts;
}

}  // namespace core
