#include "core/command_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "case_name.h"
#include "code_pages.h"

namespace {

using Tokens = std::vector<std::string>;

struct SplitCase {
  const char* name;
  std::string_view text;
  bool cp932;
  Tokens tokens;
};

void PrintTo(const SplitCase& t, std::ostream* os) { *os << t.name; }

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, Tokens) {
  const SplitCase& t = GetParam();
  const core::LeadByteSet leadBytes = t.cp932 ? testdata::cp932LeadBytes() : core::LeadByteSet{};
  EXPECT_EQ(core::splitCommandLine(t.text, leadBytes), t.tokens);
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    ::testing::Values(
        SplitCase{"Empty", "", false, {}},
        SplitCase{"OnlySeparators", " \t\r\n", false, {}},
        SplitCase{"ProgramOnly", "prog", false, {"prog"}},
        SplitCase{"SurroundingBlanks", "  prog   a  ", false, {"prog", "a"}},
        SplitCase{"EveryControlCodeSeparates", "prog\ta\nb\x01" "c\x1f" "d\x7f", false,
                  {"prog", "a", "b", "c", "d\x7f"}},
        SplitCase{"HighBytesAreOrdinary", "prog \x80\xA0\xFF", false, {"prog", "\x80\xA0\xFF"}},
        SplitCase{"EndsAtNul", "prog a\0b c"sv, false, {"prog", "a"}},
        SplitCase{"QuotedProgramPath", R"("C:\Program Files\kp.exe" x)", false,
                  {R"(C:\Program Files\kp.exe)", "x"}},
        SplitCase{"UnquotedProgramPathBreaks", R"(C:\Program Files\kp.exe D:\x.dat)", false,
                  {R"(C:\Program)", R"(Files\kp.exe)", R"(D:\x.dat)"}},
        SplitCase{"EmptyQuotesAreNoToken", R"(prog "" "")", false, {"prog"}},
        SplitCase{"EmptyQuotesAreNotTheProgram", R"("" prog a)", false, {"prog", "a"}},
        SplitCase{"LoneQuoteAtEnd", R"(prog ")", false, {"prog"}},
        SplitCase{"QuotedBlanksAreAToken", R"(prog "   ")", false, {"prog", "   "}},
        SplitCase{"QuotesInsideAToken", R"(prog a"b c"d"e f")", false, {"prog", "ab cde f"}},
        SplitCase{"DoubledQuotesAddNothing", R"(prog a""b)", false, {"prog", "ab"}},
        SplitCase{"BackslashDoesNotEscape", R"(prog a\"b c" d)", false, {"prog", R"(a\b c)", "d"}},
        SplitCase{"QuoteRunsToEnd", "prog \"a b\tc", false, {"prog", "a b\tc"}},
        // A lead byte takes the next byte with it, even a quote or a blank.
        SplitCase{"LeadByteSwallowsQuote", "prog \x81\"a b\"", true, {"prog", "\x81\"a", "b"}},
        SplitCase{"SameBytesSingleByte", "prog \x81\"a b\"", false, {"prog", "\x81" "a b"}},
        SplitCase{"LeadByteSwallowsBlank", "prog \x81 a", true, {"prog", "\x81 a"}},
        SplitCase{"LeadByteAtEnd", "prog a\x81", true, {"prog", "a\x81"}},
        SplitCase{"LeadByteBeforeNul", "prog a\x81\0b"sv, true, {"prog", "a\x81"}},
        SplitCase{"Cp932Path", "prog D:\\\x95\x5C\\\x83\x5C.dat", true,
                  {"prog", "D:\\\x95\x5C\\\x83\x5C.dat"}}),
    testdata::ByNameField{});

}  // namespace
