// The Windows program under Wine: its window, the labels for the command
// lines it is given, and the ways it ends. Every run gets an exact command
// line through CreateProcessA and a working directory of its own, so the
// program splits the very text below and finds no target file.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "launcher.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 30000;

std::string program() { return launcher::windowsPath(KP_PROGRAM_EXE); }
std::string quotedProgram() { return "\"" + program() + "\""; }

// A client point left of and above every control, so it shows the form's colour.
constexpr int kBackgroundX = 6;
constexpr int kBackgroundY = 6;

struct ProgramRun {
  launcher::TempDir dir;
  launcher::Program process;
  explicit ProgramRun(const std::string& commandLine, const std::string& executable = program())
      : process(executable, commandLine, dir.path()) {}
};

// ---------------------------------------------------------------- the window

TEST(MainWindow, ShowsCaptionPlacementButtonAndFocus) {
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1366) << "these figures are for a 1366 x 768 screen";
  ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768) << "these figures are for a 1366 x 768 screen";

  ProgramRun run(quotedProgram());
  ASSERT_NE(run.process.waitForWindow(kWindowTimeoutMs), nullptr);

  EXPECT_EQ(run.process.caption(), "Kestrum.dat Patch");
  const RECT outer = run.process.windowRect();
  EXPECT_EQ(outer.left, 405);
  EXPECT_EQ(outer.top, 157);
  EXPECT_EQ(outer.right - outer.left, 556);
  EXPECT_EQ(outer.bottom - outer.top, 137);

  const HWND button = run.process.button();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(launcher::windowText(button), "OK");
  EXPECT_NE(GetWindowLongA(button, GWL_STYLE) & WS_TABSTOP, 0);
  EXPECT_EQ(run.process.waitForFocus(button, 5000), button) << "the button takes the focus";

  // Nothing reaches beyond the client area, so there is no scroll bar.
  EXPECT_EQ(run.process.style() & (WS_HSCROLL | WS_VSCROLL), 0);
  EXPECT_NE(run.process.style() & WS_THICKFRAME, 0);
  EXPECT_NE(run.process.style() & WS_MAXIMIZEBOX, 0);

  // No target, so the window keeps the button face, on the screen too.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(run.process.waitForScreenPixel(kBackgroundX, kBackgroundY, face, 5000), face);
  EXPECT_EQ(run.process.findMessageBox(), nullptr);

  run.process.clickButton();
  EXPECT_EQ(run.process.waitForExit(kExitTimeoutMs), 0u);
}

TEST(MainWindow, LabelsSitBelowEachOtherOnOneLineEach) {
  ProgramRun run(quotedProgram() + " D:\\Data\\Stock\\base.dat");
  ASSERT_NE(run.process.waitForWindow(kWindowTimeoutMs), nullptr);
  const std::vector<HWND> labels = run.process.labels();
  ASSERT_EQ(labels.size(), 2u);
  RECT first{};
  RECT second{};
  GetWindowRect(labels[0], &first);
  GetWindowRect(labels[1], &second);
  // Label2 starts right below Label1; both hold one line of the same font.
  EXPECT_LT(first.top, second.top);
  EXPECT_EQ(first.bottom - first.top, second.bottom - second.top);
  // "D:\Data\Stock" is wider than "base.dat": each label has its text's width.
  EXPECT_GT(second.right - second.left, first.right - first.left);
  run.process.postClose();
  EXPECT_EQ(run.process.waitForExit(kExitTimeoutMs), 0u);
}

TEST(MainWindow, ALabelWiderThanTheWindowGrowsAndScrolls) {
  const std::string directory = "D:\\" + std::string(150, 'x');
  ProgramRun run(quotedProgram() + " " + directory + "\\base.dat");
  ASSERT_NE(run.process.waitForWindow(kWindowTimeoutMs), nullptr);
  const std::vector<HWND> labels = run.process.labels();
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(launcher::windowText(labels[1]), directory);

  RECT fileName{};
  RECT longDirectory{};
  GetWindowRect(labels[0], &fileName);
  GetWindowRect(labels[1], &longDirectory);
  const RECT client = run.process.clientRectOnScreen();
  EXPECT_GT(longDirectory.right, client.right) << "the label grows to the right, unwrapped";
  EXPECT_EQ(longDirectory.bottom - longDirectory.top, fileName.bottom - fileName.top);
  EXPECT_NE(run.process.style() & WS_HSCROLL, 0) << "the client area scrolls horizontally";
  EXPECT_EQ(run.process.style() & WS_VSCROLL, 0);
  const RECT outer = run.process.windowRect();
  EXPECT_EQ(outer.right - outer.left, 556) << "the window does not grow with its label";

  // Scrolling to the far right moves the content, labels with it, to the left.
  PostMessageA(run.process.window(), WM_HSCROLL, SB_RIGHT, 0);
  RECT scrolled = longDirectory;
  const ULONGLONG until = GetTickCount64() + 5000;
  while (scrolled.left == longDirectory.left && GetTickCount64() < until) {
    Sleep(50);
    GetWindowRect(labels[1], &scrolled);
  }
  EXPECT_LT(scrolled.left, longDirectory.left);
  EXPECT_LE(scrolled.right, client.right) << "the end of the label comes into view";
  EXPECT_GE(scrolled.right, client.right - GetSystemMetrics(SM_CXVSCROLL));

  run.process.clickButton();
  EXPECT_EQ(run.process.waitForExit(kExitTimeoutMs), 0u);
}

// A request in the start-up information to show the program maximised or
// minimised is honoured.
TEST(MainWindow, HonoursTheStartUpShowCommand) {
  struct Case {
    WORD show;
    bool zoomed;
    bool iconic;
  };
  for (const Case c : {Case{SW_SHOWMAXIMIZED, true, false}, Case{SW_SHOWMINNOACTIVE, false, true},
                       Case{SW_SHOWNORMAL, false, false}}) {
    SCOPED_TRACE("show command " + std::to_string(c.show));
    launcher::TempDir dir;
    launcher::Program process(program(), quotedProgram(), dir.path(), c.show);
    ASSERT_NE(process.waitForWindow(kWindowTimeoutMs), nullptr);
    EXPECT_EQ(IsZoomed(process.window()) != FALSE, c.zoomed);
    EXPECT_EQ(IsIconic(process.window()) != FALSE, c.iconic);
    process.postClose();
    EXPECT_EQ(process.waitForExit(kExitTimeoutMs), 0u);
  }
}

// ---------------------------------------------------------------- resolution

// Sets the logical resolution that programs started from now on get (Wine
// reads it at each process's start), and puts the old setting back.
class ScopedLogPixels {
 public:
  explicit ScopedLogPixels(DWORD perInch) {
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr) != ERROR_SUCCESS)
      return;
    DWORD size = sizeof previous_;
    DWORD type = 0;
    hadValue_ = RegQueryValueExA(key_, "LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&previous_),
                                 &size) == ERROR_SUCCESS &&
                type == REG_DWORD;
    set_ = RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&perInch),
                          sizeof perInch) == ERROR_SUCCESS;
  }
  ~ScopedLogPixels() {
    if (key_ == nullptr) return;
    if (hadValue_)
      RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_),
                     sizeof previous_);
    else
      RegDeleteValueA(key_, "LogPixels");
    RegCloseKey(key_);
  }
  ScopedLogPixels(const ScopedLogPixels&) = delete;
  ScopedLogPixels& operator=(const ScopedLogPixels&) = delete;
  bool set() const { return set_; }

 private:
  HKEY key_ = nullptr;
  DWORD previous_ = 0;
  bool hadValue_ = false;
  bool set_ = false;
};

struct Geometry {
  RECT outer{};
  SIZE client{};
  RECT button{};  // in client coordinates
  RECT label1{};
  POINT contentExtent{};  // right and bottom edge of the farthest control
  LONG style = 0;
};

RECT inClient(HWND window, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

Geometry measure(const std::string& tail) {
  Geometry g;
  ProgramRun run(quotedProgram() + tail);
  if (run.process.waitForWindow(kWindowTimeoutMs) == nullptr) return g;
  const HWND window = run.process.window();
  g.outer = run.process.windowRect();
  RECT client{};
  GetClientRect(window, &client);
  g.client = {client.right, client.bottom};
  g.button = inClient(window, run.process.button());
  const std::vector<HWND> labels = run.process.labels();
  if (!labels.empty()) g.label1 = inClient(window, labels[0]);
  for (HWND child : labels) {
    const RECT r = inClient(window, child);
    g.contentExtent.x = std::max(g.contentExtent.x, r.right);
    g.contentExtent.y = std::max(g.contentExtent.y, r.bottom);
  }
  g.contentExtent.x = std::max(g.contentExtent.x, g.button.right);
  g.contentExtent.y = std::max(g.contentExtent.y, g.button.bottom);
  g.style = run.process.style();
  run.process.postClose();
  run.process.waitForExit(kExitTimeoutMs);
  return g;
}

// At 144 pixels per inch the controls and their fonts grow with the measured
// text height while the window keeps its outer size; whatever then reaches
// beyond the client area gives it a scroll bar, and nothing else does.
TEST(Resolution, ControlsGrowTheWindowDoesNotAndScrollBarsFollowTheContent) {
  const std::string tail = " D:\\Data\\base.dat";
  const Geometry at96 = measure(tail);
  Geometry at144;
  {
    ScopedLogPixels dpi(144);
    ASSERT_TRUE(dpi.set());
    at144 = measure(tail);
  }
  for (const Geometry* g : std::initializer_list<const Geometry*>{&at96, &at144}) {
    SCOPED_TRACE(g == &at96 ? "96 pixels per inch" : "144 pixels per inch");
    EXPECT_EQ(g->outer.right - g->outer.left, 556);
    EXPECT_EQ(g->outer.bottom - g->outer.top, 137);
    EXPECT_EQ((g->style & WS_HSCROLL) != 0, g->contentExtent.x > g->client.cx);
    EXPECT_EQ((g->style & WS_VSCROLL) != 0, g->contentExtent.y > g->client.cy);
  }
  EXPECT_EQ(at96.style & (WS_HSCROLL | WS_VSCROLL), 0);
  EXPECT_GT(at144.button.right - at144.button.left, at96.button.right - at96.button.left);
  EXPECT_GT(at144.button.left, at96.button.left);
  EXPECT_GT(at144.label1.bottom - at144.label1.top, at96.label1.bottom - at96.label1.top)
      << "the label font grows too";
}

// ---------------------------------------------------------------- the labels

struct LabelCase {
  const char* name;
  std::string tail;  // everything after the quoted program name, separators included
  std::string label1;
  std::string label2;
};

void PrintTo(const LabelCase& c, std::ostream* os) { *os << c.name; }

class CommandLineLabels : public ::testing::TestWithParam<LabelCase> {};

TEST_P(CommandLineLabels, ShowFileNameAndDirectory) {
  const LabelCase& c = GetParam();
  ProgramRun run(quotedProgram() + c.tail);
  ASSERT_NE(run.process.waitForWindow(kWindowTimeoutMs), nullptr);

  EXPECT_EQ(run.process.caption(), "Kestrum.dat Patch");
  const std::vector<HWND> labels = run.process.labels();
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(launcher::windowText(labels[0]), c.label1);
  EXPECT_EQ(launcher::windowText(labels[1]), c.label2);
  EXPECT_EQ(run.process.findMessageBox(), nullptr);

  run.process.clickButton();
  EXPECT_EQ(run.process.waitForExit(kExitTimeoutMs), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineLabels,
    ::testing::Values(
        LabelCase{"NoArgument", "", "Kestrum.DAT", ""},
        LabelCase{"FullPath", R"( D:\Data\Stock\base.dat)", "base.dat", R"(D:\Data\Stock)"},
        LabelCase{"DriveRoot", R"( D:\base.dat)", "base.dat", R"(D:\)"},
        LabelCase{"ShareSubdirectory", R"( \\server\share\db\base.dat)", "base.dat",
                  R"(\\server\share\db)"},
        LabelCase{"Share", R"( \\server\share\base.dat)", "base.dat", R"(\\server\share)"},
        LabelCase{"DriveRelative", R"( D:base.dat)", "base.dat", "D:"},
        LabelCase{"BareName", " base.dat", "base.dat", ""},
        LabelCase{"Rooted", R"( \base.dat)", "base.dat", R"(\)"},
        LabelCase{"TrailingBackslash", R"( D:\Data\)", "", R"(D:\Data)"},
        LabelCase{"RootOnly", R"( D:\)", "", R"(D:\)"},
        LabelCase{"DoubleBackslash", R"( D:\Data\\base.dat)", "base.dat", R"(D:\Data\\)"},
        LabelCase{"ForwardSlashes", " D:/Data/base.dat", "/Data/base.dat", "D:"},
        LabelCase{"StreamColon", R"( D:\Data\base.dat:x)", "x", R"(D:\Data\base.dat:)"},
        LabelCase{"QuotedWithSpace", R"( "D:\My Data\base.dat")", "base.dat", R"(D:\My Data)"},
        LabelCase{"QuotedInTheMiddle", R"( D:\"My Data"\base.dat)", "base.dat", R"(D:\My Data)"},
        LabelCase{"QuotedBackslashBeforeQuote", R"( "D:\My Data\")", "", R"(D:\My Data)"},
        LabelCase{"UnclosedQuote", R"( "D:\Data\base.dat)", "base.dat", R"(D:\Data)"},
        LabelCase{"SeveralQuotedStretches", R"( a"b c"d)", "ab cd", ""},
        LabelCase{"EmptyQuotesDropped", R"( "" D:\base.dat "")", "base.dat", R"(D:\)"},
        LabelCase{"UnquotedSpaceMakesTwo", R"( D:\My Data\base.dat)", "Kestrum.DAT", ""},
        LabelCase{"TwoArguments", R"( D:\a.dat D:\b.dat)", "Kestrum.DAT", ""},
        LabelCase{"TabSeparates", "\tD:\\base.dat", "base.dat", "D:\\"},
        LabelCase{"ControlCharacterSeparates", "\x1f" "D:\\base.dat\x01", "base.dat", "D:\\"},
        LabelCase{"QuotedSpacesOnly", R"( "   ")", "   ", ""},
        LabelCase{"AmpersandKeptInText", R"( D:\Data\R&D\base.dat)", "base.dat", R"(D:\Data\R&D)"},
        LabelCase{"HighBytesAreCharacters", " D:\\\xC4rger\\\xFC" "ber.dat", "\xFC" "ber.dat",
                  "D:\\\xC4rger"}),
    [](const ::testing::TestParamInfo<LabelCase>& param) { return std::string(param.param.name); });

// The program's own path, unquoted and holding a space, is split like any other text.
TEST(ProgramNameWithSpace, LaterPiecesCountAsArguments) {
  launcher::TempDir place;
  const std::string folder = place.file("My Dir");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  const std::string copy = folder + "\\kestrum-patch.exe";
  launcher::copyFileOrThrow(program(), copy);

  struct Case {
    std::string tail;
    std::string label1;
    std::string label2;
  };
  // "<place>\My" is the program's name; "Dir\kestrum-patch.exe" is argument 1.
  const std::vector<Case> cases = {
      {"", "kestrum-patch.exe", "Dir"},
      {" D:\\base.dat", "Kestrum.DAT", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("tail: '" + c.tail + "'");
    launcher::Program process(copy, copy + c.tail, place.path());
    ASSERT_NE(process.waitForWindow(kWindowTimeoutMs), nullptr);
    const std::vector<HWND> labels = process.labels();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(launcher::windowText(labels[0]), c.label1);
    EXPECT_EQ(launcher::windowText(labels[1]), c.label2);
    process.clickButton();
    EXPECT_EQ(process.waitForExit(kExitTimeoutMs), 0u);
  }
}

// ---------------------------------------------------------------- ending

struct EndCase {
  const char* name;
  WORD key;  // 0: no key, WM_CLOSE instead
  bool withAlt;
  bool endsTheProgram;
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class Ending : public ::testing::TestWithParam<EndCase> {};

TEST_P(Ending, ByKeyOrCloseRequest) {
  const EndCase& c = GetParam();
  ProgramRun run(quotedProgram());
  ASSERT_NE(run.process.waitForWindow(kWindowTimeoutMs), nullptr);
  ASSERT_EQ(run.process.waitForFocus(run.process.button(), 5000), run.process.button())
      << "the button holds the focus";

  if (c.key == 0)
    run.process.postClose();
  else if (c.withAlt)
    run.process.pressAltKey(c.key);
  else
    run.process.pressKey(c.key);

  if (c.endsTheProgram) {
    EXPECT_EQ(run.process.waitForExit(kExitTimeoutMs), 0u);
    return;
  }
  EXPECT_FALSE(run.process.waitForExit(1000).has_value()) << "the key must not end the program";
  EXPECT_TRUE(IsWindowVisible(run.process.window()));
  run.process.clickButton();
  EXPECT_EQ(run.process.waitForExit(kExitTimeoutMs), 0u);
}

INSTANTIATE_TEST_SUITE_P(Keys, Ending,
                         ::testing::Values(EndCase{"Enter", VK_RETURN, false, true},
                                           EndCase{"Space", VK_SPACE, false, true},
                                           EndCase{"Escape", VK_ESCAPE, false, false},
                                           EndCase{"AltF4", VK_F4, true, true},
                                           EndCase{"CloseRequest", 0, false, true}),
                         [](const ::testing::TestParamInfo<EndCase>& param) { return std::string(param.param.name); });

}  // namespace
