#include "core/layout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "case_name.h"

namespace core {
// Readable failure messages for the value types.
void PrintTo(const Rect& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.width << " x " << r.height << "}";
}
void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
}  // namespace core

namespace {

using core::Point;
using core::Rect;

// --- Placement -------------------------------------------------------------------

struct PlacementCase {
  int screenWidth, screenHeight;
  Point expected;
};

void PrintTo(const PlacementCase& t, std::ostream* os) {
  *os << t.screenWidth << " x " << t.screenHeight;
}

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, CentredAQuarterDown) {
  const PlacementCase& t = GetParam();
  const Rect window = core::storedLayout().bounds;
  EXPECT_EQ(core::placeWindow(t.screenWidth, t.screenHeight, window.width, window.height),
            t.expected)
      << t.screenWidth << " x " << t.screenHeight;
}

INSTANTIATE_TEST_SUITE_P(
    Screens, PlacementTest,
    ::testing::Values(PlacementCase{1920, 1080, {682, 235}}, PlacementCase{1366, 768, {405, 157}},
                      PlacementCase{1024, 768, {234, 157}}, PlacementCase{800, 600, {122, 115}},
                      PlacementCase{640, 480, {42, 85}},
                      // Smaller than the window: the quotient truncates toward zero.
                      PlacementCase{555, 136, {0, 0}}, PlacementCase{500, 130, {-28, -1}},
                      PlacementCase{549, 130, {-3, -1}}));

// --- Adaptation to the screen's resolution ----------------------------------------

struct ResolutionCase {
  const char* name;
  int pixelsPerInch;
  int measuredHeight;
  int windowFontHeight;
  Rect label1, label2, button1;
  int controlFontHeight;
};

void PrintTo(const ResolutionCase& t, std::ostream* os) { *os << t.name; }

class AdaptTest : public ::testing::TestWithParam<ResolutionCase> {};

TEST_P(AdaptTest, ControlsFollowTheMeasuredHeight) {
  const ResolutionCase& t = GetParam();
  const core::FormLayout& stored = core::storedLayout();
  std::vector<int> measuredFonts;
  const core::FormLayout adapted =
      core::adaptToResolution(stored, t.pixelsPerInch, [&](const core::FontSpec& font) {
        measuredFonts.push_back(font.height);
        return t.measuredHeight;
      });

  // The measurement is taken once, in the window's font as already adapted.
  EXPECT_EQ(measuredFonts, std::vector<int>{t.windowFontHeight});
  EXPECT_EQ(adapted.font.height, t.windowFontHeight);
  EXPECT_EQ(adapted.bounds, stored.bounds);
  EXPECT_EQ(adapted.label1.bounds, t.label1);
  EXPECT_EQ(adapted.label2.bounds, t.label2);
  EXPECT_EQ(adapted.button1.bounds, t.button1);
  for (const core::ControlSpec* c : {&adapted.label1, &adapted.label2, &adapted.button1}) {
    EXPECT_EQ(c->font.height, t.controlFontHeight) << c->name;
    EXPECT_TRUE(c->font.bold) << c->name;
  }
  EXPECT_EQ(adapted.label1.caption, "Label1");
  EXPECT_EQ(adapted.label2.caption, "Label1");
  EXPECT_EQ(adapted.button1.caption, "OK");
  EXPECT_EQ(adapted.timerIntervalMs, 5000);
}

constexpr Rect kLabel1{40, 32, 55, 20}, kLabel2{41, 57, 55, 20}, kButton1{424, 32, 75, 25};

INSTANTIATE_TEST_SUITE_P(
    Screens, AdaptTest,
    ::testing::Values(
        ResolutionCase{"DesignResolution", 120, 16, -13, kLabel1, kLabel2, kButton1, -17},
        // The font grows with P, but a matching "0" height leaves every control alone.
        ResolutionCase{"Ppi96SameTextHeight", 96, 16, -10, kLabel1, kLabel2, kButton1, -17},
        ResolutionCase{"Ppi96", 96, 13, -10, {33, 26, 44, 16}, {33, 46, 45, 17}, {345, 26, 60, 20},
                       -15},
        ResolutionCase{"Ppi144", 144, 20, -16, {50, 40, 69, 25}, {51, 71, 69, 25},
                       {530, 40, 94, 31}, -22},
        // A substituted font of another height scales the controls even at 120.
        ResolutionCase{"Ppi120OtherFont", 120, 20, -13, {50, 40, 69, 25}, {51, 71, 69, 25},
                       {530, 40, 94, 31}, -22}),
    testdata::ByNameField{});

TEST(Adapt, AdaptingAgainForTheSameScreenChangesNothing) {
  const auto measure = [](const core::FontSpec& font) { return font.height == -10 ? 13 : 99; };
  const core::FormLayout once = core::adaptToResolution(core::storedLayout(), 96, measure);
  const core::FormLayout twice = core::adaptToResolution(once, 96, measure);
  EXPECT_EQ(twice.font.height, once.font.height);
  EXPECT_EQ(twice.label1.bounds, once.label1.bounds);
  EXPECT_EQ(twice.label2.bounds, once.label2.bounds);
  EXPECT_EQ(twice.button1.bounds, once.button1.bounds);
  EXPECT_EQ(twice.button1.font.height, once.button1.font.height);
}

}  // namespace
