// Bytes as lowercase hex, two digits each: how the tests and the stand-in
// client's log spell out request buffers.
#pragma once
#include <string>

namespace testsupport {

inline std::string hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += digits[b >> 4];
    out += digits[b & 0x0F];
  }
  return out;
}

}  // namespace testsupport
