// Windows colour values, as the window stores them: red in the low byte; a high
// byte of 0xFF names a system colour whose index is in the low byte.
#pragma once
#include <cstdint>

namespace core {

using TColor = std::uint32_t;

inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clWindowText = 0xFF000008;
inline constexpr TColor clGreen = 0x00008000;
inline constexpr TColor clRed = 0x000000FF;

constexpr bool isSystemColor(TColor c) { return (c >> 24) == 0xFF; }
constexpr std::uint8_t redOf(TColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t greenOf(TColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t blueOf(TColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

}  // namespace core
