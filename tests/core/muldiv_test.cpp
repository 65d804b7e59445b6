#include "core/muldiv.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace {

constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();

struct MulDivCase {
  int a, b, c, expected;
};

void PrintTo(const MulDivCase& t, std::ostream* os) {
  *os << t.a << " * " << t.b << " / " << t.c;
}

class MulDivTest : public ::testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, MatchesWindows) {
  const MulDivCase& t = GetParam();
  EXPECT_EQ(core::MulDiv(t.a, t.b, t.c), t.expected) << t.a << " * " << t.b << " / " << t.c;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MulDivTest,
    ::testing::Values(
        // Exact and plain rounding.
        MulDivCase{10, 6, 3, 20}, MulDivCase{1, 1, 3, 0}, MulDivCase{2, 1, 3, 1},
        MulDivCase{-2, 1, 3, -1}, MulDivCase{7, 0, 5, 0},
        // Halves go away from zero, whatever operand carries the sign.
        MulDivCase{1, 1, 2, 1}, MulDivCase{3, 1, 2, 2}, MulDivCase{-1, 1, 2, -1},
        MulDivCase{1, -1, 2, -1}, MulDivCase{-1, -1, 2, 1}, MulDivCase{5, 1, -2, -3},
        MulDivCase{-5, 1, -2, 3}, MulDivCase{-17, 72, 144, -9},
        // The values the resolution adaptation meets.
        MulDivCase{-13, 96, 120, -10}, MulDivCase{-13, 144, 120, -16}, MulDivCase{-17, 72, 96, -13},
        MulDivCase{13, 13, 16, 11}, MulDivCase{11, 96, 72, 15}, MulDivCase{424, 20, 16, 530},
        // The product needs 64 bits even though the result fits.
        MulDivCase{65536, 65536, 65536, 65536}, MulDivCase{kMax, kMax, kMax, kMax},
        MulDivCase{kMin, 3, 6, kMin / 2}, MulDivCase{kMax, -2, 4, -(kMax / 2) - 1},
        // No divisor, or a result beyond int.
        MulDivCase{5, 3, 0, -1}, MulDivCase{0, 0, 0, -1}, MulDivCase{kMax, 2, 1, -1},
        MulDivCase{kMin, -1, 1, -1}, MulDivCase{kMin, 1, -1, -1}, MulDivCase{kMin, 2, 1, -1}));

}  // namespace
