// The main window as designed, and the rules that fit it to a screen.
#pragma once
#include <functional>
#include <string_view>

#include "core/colors.h"

namespace core {

struct FontSpec {
  std::string_view name;
  int height;  // negative: character height in pixels without internal leading
  bool bold;
  TColor color;
};

struct Rect {
  int left, top, width, height;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct ControlSpec {
  std::string_view name;
  Rect bounds;
  std::string_view caption;
  FontSpec font;
};

struct FormLayout {
  Rect bounds;  // outer rectangle, frame and title bar included
  std::string_view caption;
  TColor color;
  FontSpec font;
  int pixelsPerInch;
  int textHeight;
  ControlSpec label1, label2, button1;
  int timerIntervalMs;
};

// The stored layout, as laid out at the design resolution.
const FormLayout& storedLayout();

inline constexpr std::string_view kWindowCaption = "Kestrum.dat Patch";

// Measures the height in pixels of the text "0" drawn in a font; the toolkit answers.
using MeasureTextHeight = std::function<int(const FontSpec&)>;

// Fits the stored layout to a screen of pixelsPerInch: the window's font
// first, then, when the measured "0" height differs from the stored one,
// every control by that ratio. The window's own rectangle never changes.
FormLayout adaptToResolution(const FormLayout& stored, int pixelsPerInch,
                             const MeasureTextHeight& measure);

struct Point {
  int x, y;
  friend bool operator==(const Point&, const Point&) = default;
};

// Centred horizontally, a quarter of the way down; division truncates toward zero.
Point placeWindow(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

}  // namespace core
