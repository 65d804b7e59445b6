// Feeds arbitrary command lines through the splitting of the command line and
// of the chosen path. Input: the first byte's low bit picks the lead-byte set
// (0: a single-byte code page, 1: code page 932); the rest is the command line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/command_line.h"
#include "core/lead_bytes.h"
#include "core/target_path.h"

namespace {

void check(bool ok) {
  if (!ok) __builtin_trap();
}

core::LeadByteSet cp932() {
  core::LeadByteSet set;
  set.addRange(0x81, 0x9F);
  set.addRange(0xE0, 0xFC);
  return set;
}

// The two parts rebuild the path, a dropped trailing separator aside, and no
// real delimiter is left inside the file-name part.
void checkSplit(std::string_view path, const core::PathRules& rules) {
  const core::PathParts parts = core::splitTargetPath(path, rules);
  const std::string joined = parts.directory + parts.fileName;
  const std::string joinedWithSeparator = parts.directory + rules.trailingSeparator + parts.fileName;
  check(joined == path || joinedWithSeparator == path);
  const std::size_t nameStart = path.size() - parts.fileName.size();
  for (std::size_t i = nameStart; i < path.size(); ++i)
    check(rules.delimiters.find(path[i]) == std::string_view::npos ||
          core::isTrailByte(path, i, rules.leadBytes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool doubleByte = (data[0] & 1) != 0;
  const core::LeadByteSet leadBytes = doubleByte ? cp932() : core::LeadByteSet{};
  const std::string_view commandLine(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::vector<std::string> tokens = core::splitCommandLine(commandLine, leadBytes);
  std::size_t total = 0;
  for (const std::string& token : tokens) {
    check(!token.empty());
    check(token.find('\0') == std::string::npos);
    // Outside a double-byte character a quote is never kept.
    if (!doubleByte) check(token.find('"') == std::string::npos);
    total += token.size();
  }
  check(total <= commandLine.size());

  const core::TargetChoice choice = core::chooseTarget(tokens);
  if (choice.fromCommandLine) check(choice.path.size() <= commandLine.size());

  checkSplit(choice.path, core::windowsPathRules(leadBytes));
  checkSplit(choice.path, core::posixPathRules());
  // The raw text too, which may hold NULs and quotes that no token keeps.
  checkSplit(commandLine, core::windowsPathRules(leadBytes));
  return 0;
}
