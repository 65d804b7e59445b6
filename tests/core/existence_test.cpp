#include "core/existence.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string_view>

namespace {

struct PatternCase {
  std::string_view pattern, name;
  bool matches;
};

void PrintTo(const PatternCase& t, std::ostream* os) {
  *os << "'" << t.pattern << "' on '" << t.name << "'";
}

class SearchPatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(SearchPatternTest, Matches) {
  const PatternCase& t = GetParam();
  EXPECT_EQ(core::matchesSearchPattern(t.pattern, t.name), t.matches)
      << "pattern '" << t.pattern << "' name '" << t.name << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchPatternTest,
    ::testing::Values(
        PatternCase{"base.dat", "base.dat", true}, PatternCase{"base.dat", "base.dat2", false},
        PatternCase{"base.dat", "base.da", false}, PatternCase{"", "", true},
        PatternCase{"", "a", false},
        // Case counts.
        PatternCase{"Kestrum.DAT", "kestrum.dat", false}, PatternCase{"*.dat", "base.DAT", false},
        // '*' takes any run, the empty one included.
        PatternCase{"*", "", true}, PatternCase{"*", "anything", true},
        PatternCase{"*.dat", "base.dat", true}, PatternCase{"*.dat", ".dat", true},
        PatternCase{"base*", "base", true}, PatternCase{"a*b*c", "aXXbYYc", true},
        PatternCase{"a*b*c", "aXXbYY", false}, PatternCase{"*x*", "abc", false},
        PatternCase{"**", "ab", true},
        // A first guess for '*' that is too short must be retried.
        PatternCase{"*ab", "aab", true}, PatternCase{"a*ab", "aaab", true},
        PatternCase{"*a", "aaa", true}, PatternCase{"*.dat", "a.dat.dat", true},
        PatternCase{"*.dat", "a.dat.bak", false},
        // '?' takes exactly one character.
        PatternCase{"?ase.dat", "base.dat", true}, PatternCase{"?", "", false},
        PatternCase{"??", "a", false}, PatternCase{"?", "ab", false}, PatternCase{"*?", "", false},
        PatternCase{"*?", "a", true},
        // Brackets and backslashes are plain characters.
        PatternCase{"[ab]", "a", false}, PatternCase{"[ab]", "[ab]", true},
        PatternCase{"a\\*", "a\\xyz", true}, PatternCase{"a\\*", "a*", false},
        PatternCase{"a\\?", "a?", false}));

struct DateCase {
  int year;
  bool fits;
};

void PrintTo(const DateCase& t, std::ostream* os) { *os << t.year; }

class DosDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(DosDateTest, Range) {
  EXPECT_EQ(core::fitsDosDate(GetParam().year), GetParam().fits) << GetParam().year;
}

INSTANTIATE_TEST_SUITE_P(Years, DosDateTest,
                         ::testing::Values(DateCase{1601, false}, DateCase{1979, false},
                                           DateCase{1980, true}, DateCase{2024, true},
                                           DateCase{2107, true}, DateCase{2108, false}));

}  // namespace
