// The bytes that begin a double-byte character in an ANSI code page.
#pragma once
#include <array>
#include <cstdint>

namespace core {

class LeadByteSet {
 public:
  LeadByteSet() { bits_.fill(false); }
  void addRange(std::uint8_t first, std::uint8_t last) {
    for (unsigned b = first; b <= last; ++b) bits_[b] = true;
  }
  bool contains(unsigned char b) const { return bits_[b]; }
  bool empty() const {
    for (bool b : bits_)
      if (b) return false;
    return true;
  }

 private:
  std::array<bool, 256> bits_;
};

}  // namespace core
