#include "core/layout.h"

#include "core/muldiv.h"

namespace core {

namespace {

constexpr std::string_view kFontName = "MS Sans Serif";
constexpr FontSpec kControlFont{kFontName, -17, true, clWindowText};

// Values as laid out at 120 pixels per inch; the window is 556 x 137 including its frame.
constexpr FormLayout kStored{
    {460, 319, 556, 137},
    "Form1",
    clBtnFace,
    {kFontName, -13, false, clWindowText},
    120,
    16,
    {"Label1", {40, 32, 55, 20}, "Label1", kControlFont},
    // Label2 really is stored with Label1's caption, one pixel further right.
    {"Label2", {41, 57, 55, 20}, "Label1", kControlFont},
    {"Button1", {424, 32, 75, 25}, "OK", kControlFont},
    5000,
};

// Edges are scaled, not sizes, so that neighbouring controls keep meeting
// where they met at the design resolution.
ControlSpec scaleControl(ControlSpec control, int measured, int stored, int pixelsPerInch) {
  const Rect r = control.bounds;
  const int left = MulDiv(r.left, measured, stored);
  const int top = MulDiv(r.top, measured, stored);
  control.bounds = {left, top, MulDiv(r.left + r.width, measured, stored) - left,
                    MulDiv(r.top + r.height, measured, stored) - top};
  // Fonts move in whole points, so a control font never lands between sizes.
  const int points = -MulDiv(control.font.height, 72, pixelsPerInch);
  const int scaledPoints = MulDiv(points, measured, stored);
  control.font.height = -MulDiv(scaledPoints, pixelsPerInch, 72);
  return control;
}

}  // namespace

const FormLayout& storedLayout() { return kStored; }

FormLayout adaptToResolution(const FormLayout& stored, int pixelsPerInch,
                             const MeasureTextHeight& measure) {
  FormLayout out = stored;
  if (pixelsPerInch != stored.pixelsPerInch)
    out.font.height = MulDiv(stored.font.height, pixelsPerInch, stored.pixelsPerInch);
  const int measured = measure(out.font);
  // The result describes itself at the new resolution, so adapting it again
  // for the same screen changes nothing.
  out.pixelsPerInch = pixelsPerInch;
  out.textHeight = measured;
  if (measured == stored.textHeight) return out;
  out.label1 = scaleControl(stored.label1, measured, stored.textHeight, pixelsPerInch);
  out.label2 = scaleControl(stored.label2, measured, stored.textHeight, pixelsPerInch);
  out.button1 = scaleControl(stored.button1, measured, stored.textHeight, pixelsPerInch);
  return out;
}

Point placeWindow(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
  // C++ division truncates toward zero, so a window one pixel too wide still opens at 0.
  return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 4};
}

}  // namespace core
