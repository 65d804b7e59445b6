#include "core/command_line.h"

#include <cstddef>

namespace core {

namespace {

bool isSeparator(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

// Bytes that make up the character starting at i: a lead byte takes the next
// byte with it unless the text ends there, as CharNextA does.
std::size_t characterLength(std::string_view text, std::size_t i, const LeadByteSet& leadBytes) {
  if (leadBytes.contains(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) return 2;
  return 1;
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view text, const LeadByteSet& leadBytes) {
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
    text = text.substr(0, nul);

  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && isSeparator(text[i])) ++i;
    if (i == text.size()) break;

    std::string token;
    bool quoted = false;
    while (i < text.size()) {
      const std::size_t len = characterLength(text, i, leadBytes);
      if (len == 1) {
        const char c = text[i];
        if (c == '"') {
          quoted = !quoted;
          ++i;
          continue;
        }
        if (!quoted && isSeparator(c)) break;
      }
      token.append(text.substr(i, len));
      i += len;
    }
    // A token made only of quotes counts as nothing at all, not as an empty argument.
    if (!token.empty()) tokens.push_back(std::move(token));
  }
  return tokens;
}

}  // namespace core
