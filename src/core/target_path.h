#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/lead_bytes.h"

namespace core {

inline constexpr std::string_view kDefaultTarget = "Kestrum.DAT";
inline constexpr int kCloseTimerDefaultMs = 5000;
inline constexpr int kCloseTimerArgumentMs = 100;

struct TargetChoice {
  std::string path;
  bool fromCommandLine = false;  // exactly one argument was given
};

// tokens: every command-line token, the program's name first.
TargetChoice chooseTarget(const std::vector<std::string>& tokens);

// How a platform delimits the directory of a path.
struct PathRules {
  std::string_view delimiters;  // every byte that ends a directory part
  char trailingSeparator;       // the delimiter dropped from the end of a directory part
  LeadByteSet leadBytes;
};
PathRules windowsPathRules(const LeadByteSet& leadBytes);  // "\\:" with '\\' dropped
PathRules posixPathRules();                                // "/" with '/' dropped

struct PathParts {
  std::string fileName;
  std::string directory;
};
PathParts splitTargetPath(std::string_view path, const PathRules& rules);

// True when the byte at index i (0-based) is the second byte of a double-byte character.
bool isTrailByte(std::string_view text, std::size_t i, const LeadByteSet& leadBytes);

}  // namespace core
