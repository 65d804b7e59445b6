#include "core/target_path.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "case_name.h"
#include "code_pages.h"
#include "core/command_line.h"
#include "core/layout.h"

namespace {

using namespace std::string_view_literals;

// --- From the command line to the labels and the close timer -------------------

struct ArgumentCase {
  const char* name;
  std::string_view arguments;  // what follows the program's name
  std::string_view target, label1, label2;
  int timerMs;
};

void PrintTo(const ArgumentCase& t, std::ostream* os) { *os << t.name; }

// No single-byte path in the table may change its meaning under a double-byte
// code page, so every row runs under both.
class ArgumentsTest : public ::testing::TestWithParam<std::tuple<ArgumentCase, bool>> {};

TEST_P(ArgumentsTest, TargetLabelsAndTimer) {
  const auto& [t, cp932] = GetParam();
  const core::LeadByteSet leadBytes = cp932 ? testdata::cp932LeadBytes() : core::LeadByteSet{};
  const std::string commandLine =
      std::string(R"("C:\Program Files\Kestrum\kestrum-patch.exe")") + " " + std::string(t.arguments);

  const core::TargetChoice choice = core::chooseTarget(core::splitCommandLine(commandLine, leadBytes));
  const core::PathParts parts = core::splitTargetPath(choice.path, core::windowsPathRules(leadBytes));
  const int timerMs =
      choice.fromCommandLine ? core::kCloseTimerArgumentMs : core::storedLayout().timerIntervalMs;

  EXPECT_EQ(choice.path, t.target);
  EXPECT_EQ(parts.fileName, t.label1);
  EXPECT_EQ(parts.directory, t.label2);
  EXPECT_EQ(timerMs, t.timerMs);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArgumentsTest,
    ::testing::Combine(
        ::testing::Values(
            ArgumentCase{"None", "", "Kestrum.DAT", "Kestrum.DAT", "", 5000},
            ArgumentCase{"DeepPath", R"(D:\Data\Stock\base.dat)", R"(D:\Data\Stock\base.dat)",
                         "base.dat", R"(D:\Data\Stock)", 100},
            ArgumentCase{"DriveRoot", R"(D:\base.dat)", R"(D:\base.dat)", "base.dat", R"(D:\)", 100},
            ArgumentCase{"UncDeep", R"(\\server\share\db\base.dat)", R"(\\server\share\db\base.dat)",
                         "base.dat", R"(\\server\share\db)", 100},
            ArgumentCase{"UncShare", R"(\\server\share\base.dat)", R"(\\server\share\base.dat)",
                         "base.dat", R"(\\server\share)", 100},
            ArgumentCase{"DriveRelative", R"(D:base.dat)", R"(D:base.dat)", "base.dat", "D:", 100},
            ArgumentCase{"BareName", "base.dat", "base.dat", "base.dat", "", 100},
            ArgumentCase{"CurrentDriveRoot", R"(\base.dat)", R"(\base.dat)", "base.dat", R"(\)", 100},
            ArgumentCase{"TrailingBackslash", R"(D:\Data\)", R"(D:\Data\)", "", R"(D:\Data)", 100},
            ArgumentCase{"RootOnly", R"(D:\)", R"(D:\)", "", R"(D:\)", 100},
            ArgumentCase{"DoubledBackslash", R"(D:\Data\\base.dat)", R"(D:\Data\\base.dat)",
                         "base.dat", R"(D:\Data\\)", 100},
            ArgumentCase{"ForwardSlashes", "D:/Data/base.dat", "D:/Data/base.dat",
                         "/Data/base.dat", "D:", 100},
            ArgumentCase{"StreamColon", R"(D:\Data\base.dat:x)", R"(D:\Data\base.dat:x)", "x",
                         R"(D:\Data\base.dat:)", 100},
            ArgumentCase{"QuotedWhole", R"("D:\My Data\base.dat")", R"(D:\My Data\base.dat)",
                         "base.dat", R"(D:\My Data)", 100},
            ArgumentCase{"QuotedMiddle", R"(D:\"My Data"\base.dat)", R"(D:\My Data\base.dat)",
                         "base.dat", R"(D:\My Data)", 100},
            ArgumentCase{"QuotedTrailingBackslash", R"("D:\My Data\")", R"(D:\My Data\)", "",
                         R"(D:\My Data)", 100},
            ArgumentCase{"UnclosedQuote", R"("D:\Data\base.dat)", R"(D:\Data\base.dat)", "base.dat",
                         R"(D:\Data)", 100},
            ArgumentCase{"QuotesInsideWord", R"(a"b c"d)", "ab cd", "ab cd", "", 100},
            ArgumentCase{"EmptyQuotesAround", R"("" D:\base.dat "")", R"(D:\base.dat)", "base.dat",
                         R"(D:\)", 100},
            ArgumentCase{"UnquotedBlank", R"(D:\My Data\base.dat)", "Kestrum.DAT", "Kestrum.DAT", "",
                         5000},
            ArgumentCase{"TwoArguments", R"(D:\a.dat D:\b.dat)", "Kestrum.DAT", "Kestrum.DAT", "",
                         5000},
            ArgumentCase{"TabSeparated", "D:\\a.dat\tD:\\b.dat", "Kestrum.DAT", "Kestrum.DAT", "",
                         5000},
            ArgumentCase{"QuotedBlanksOnly", R"("   ")", "   ", "   ", "", 100},
            ArgumentCase{"AmpersandKept", R"(D:\Data\R&D\base.dat)", R"(D:\Data\R&D\base.dat)",
                         "base.dat", R"(D:\Data\R&D)", 100}),
        ::testing::Bool()),
    [](const ::testing::TestParamInfo<std::tuple<ArgumentCase, bool>>& row) {
      return std::string(std::get<0>(row.param).name) +
             (std::get<1>(row.param) ? "_cp932" : "_singleByte");
    });

TEST(UnquotedProgramPath, ItsPiecesCountAsArguments) {
  const core::TargetChoice choice = core::chooseTarget(
      core::splitCommandLine(R"(C:\Program Files\kestrum-patch.exe D:\base.dat)", {}));
  EXPECT_FALSE(choice.fromCommandLine);
  EXPECT_EQ(choice.path, core::kDefaultTarget);
}

// --- Splitting a path under a double-byte code page ----------------------------

struct SplitCase {
  const char* name;
  std::string_view path;
  bool cp932;
  std::string_view fileName, directory;
};

void PrintTo(const SplitCase& t, std::ostream* os) { *os << t.name; }

class SplitWindowsPathTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitWindowsPathTest, Parts) {
  const SplitCase& t = GetParam();
  const core::LeadByteSet leadBytes = t.cp932 ? testdata::cp932LeadBytes() : core::LeadByteSet{};
  const core::PathParts parts = core::splitTargetPath(t.path, core::windowsPathRules(leadBytes));
  EXPECT_EQ(parts.fileName, t.fileName);
  EXPECT_EQ(parts.directory, t.directory);
}

// 0x95 0x5C and 0x83 0x5C are Shift JIS characters whose second byte has the
// backslash's value.
INSTANTIATE_TEST_SUITE_P(
    Cases, SplitWindowsPathTest,
    ::testing::Values(
        SplitCase{"NameStartsWithTrailBackslash", "D:\\Data\\\x95\x5Cx.dat", true,
                  "\x95\x5Cx.dat", "D:\\Data"},
        SplitCase{"SameBytesSingleByte", "D:\\Data\\\x95\x5Cx.dat", false, "x.dat",
                  "D:\\Data\\\x95"},
        SplitCase{"NameEndsWithTrailBackslash", "D:\\Data\\x\x83\x5C", true, "x\x83\x5C",
                  "D:\\Data"},
        SplitCase{"OnlyTrailBackslashes", "\x95\x5C\x83\x5C", true, "\x95\x5C\x83\x5C", ""},
        // A directory whose last character ends in 0x5C still loses its separator.
        SplitCase{"DirectoryEndsWithTrailBackslash", "D:\\\x95\x5C\\a.dat", true, "a.dat",
                  "D:\\\x95\x5C"},
        SplitCase{"SameDirectorySingleByte", "D:\\\x95\x5C\\a.dat", false, "a.dat",
                  "D:\\\x95\x5C\\"},
        // Only the parity of the lead-byte run in front counts: 0x81 0x81 is one character.
        SplitCase{"EvenLeadRun", "D:\\\x81\x81\\a", true, "a", "D:\\\x81\x81"},
        SplitCase{"OddLeadRun", "D:\\\x81\x81\x81\\a", true, "\x81\x81\x81\\a", "D:\\"},
        SplitCase{"TrailColon", "D:\\\x81:a", true, "\x81:a", "D:\\"},
        SplitCase{"ColonStays", "D:", false, "", "D:"},
        SplitCase{"BackslashOnly", "\\", false, "", "\\"},
        SplitCase{"Empty", "", false, "", ""},
        SplitCase{"SlashIsOrdinary", "a/b", false, "a/b", ""}),
    testdata::ByNameField{});

class SplitPosixPathTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitPosixPathTest, Parts) {
  const SplitCase& t = GetParam();
  const core::PathParts parts = core::splitTargetPath(t.path, core::posixPathRules());
  EXPECT_EQ(parts.fileName, t.fileName);
  EXPECT_EQ(parts.directory, t.directory);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitPosixPathTest,
    ::testing::Values(SplitCase{"Root", "/", false, "", "/"},
                      SplitCase{"FileInRoot", "/a", false, "a", "/"},
                      SplitCase{"Absolute", "/a/b", false, "b", "/a"},
                      SplitCase{"TrailingSlash", "a/", false, "", "a"},
                      SplitCase{"LeadingDoubleSlash", "//x", false, "x", "//"},
                      SplitCase{"InnerDoubleSlash", "/a//b", false, "b", "/a//"},
                      SplitCase{"Relative", "db/base.dat", false, "base.dat", "db"},
                      SplitCase{"BareName", "Kestrum.DAT", false, "Kestrum.DAT", ""},
                      SplitCase{"BackslashAndColonAreOrdinary", "x/D:\\a", false, "D:\\a", "x"},
                      SplitCase{"HighBytes", "/d\x95/\x95\x5C", false, "\x95\x5C", "/d\x95"}),
    testdata::ByNameField{});

// --- The double-byte rule itself -------------------------------------------------

struct TrailCase {
  std::string_view text;
  std::size_t index;
  bool trail;
};

void PrintTo(const TrailCase& t, std::ostream* os) {
  *os << ::testing::PrintToString(std::string(t.text)) << " at " << t.index;
}

class TrailByteTest : public ::testing::TestWithParam<TrailCase> {};

TEST_P(TrailByteTest, Cp932) {
  const TrailCase& t = GetParam();
  EXPECT_EQ(core::isTrailByte(t.text, t.index, testdata::cp932LeadBytes()), t.trail)
      << "index " << t.index;
}

INSTANTIATE_TEST_SUITE_P(Cases, TrailByteTest,
                         ::testing::Values(TrailCase{"\x95\x5C", 0, false},
                                           TrailCase{"\x95\x5C", 1, true},
                                           TrailCase{"a\x95\x5C", 2, true},
                                           TrailCase{"\x81\x81\x5C", 2, false},
                                           TrailCase{"\x81\x81\x81\x5C", 3, true},
                                           TrailCase{"\x81\x81\x81\x5C", 2, false},
                                           // Second byte of a character that is itself a lead value.
                                           TrailCase{"\x81\x81", 1, true},
                                           TrailCase{"\x5C\x5C", 1, false},
                                           TrailCase{"a\x81", 1, false}));

TEST(TrailByte, NeverUnderASingleByteCodePage) {
  for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(core::isTrailByte("\x95\x5C\x81", i, {}));
}

// --- Exactly one argument ---------------------------------------------------------

struct ChoiceCase {
  std::vector<std::string> tokens;
  std::string_view path;
  bool fromCommandLine;
};

void PrintTo(const ChoiceCase& t, std::ostream* os) {
  *os << t.tokens.size() << " tokens";
}

class ChooseTargetTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseTargetTest, Choice) {
  const core::TargetChoice choice = core::chooseTarget(GetParam().tokens);
  EXPECT_EQ(choice.path, GetParam().path);
  EXPECT_EQ(choice.fromCommandLine, GetParam().fromCommandLine);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChooseTargetTest,
                         ::testing::Values(ChoiceCase{{}, "Kestrum.DAT", false},
                                           ChoiceCase{{"prog"}, "Kestrum.DAT", false},
                                           ChoiceCase{{"prog", "x.dat"}, "x.dat", true},
                                           ChoiceCase{{"prog", "x.dat", "y.dat"}, "Kestrum.DAT", false}));

}  // namespace
