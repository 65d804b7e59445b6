// The Windows program's patch run under Wine. Each test lays out a directory
// of its own with a copy of kestrum-patch.exe and, where the case wants one,
// the stand-in client library as gds32.dll beside it; the stand-in records
// every call it gets in a log that the test reads afterwards. The outcome is
// read from the screen (a pixel of the client area) and from the labels.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "launcher.h"
#include "support/hex.h"

namespace {

constexpr DWORD kWindowTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 30000;
constexpr DWORD kPixelTimeoutMs = 5000;
constexpr int kBackgroundX = 6;  // left of and above every control
constexpr int kBackgroundY = 6;

const COLORREF kGreen = RGB(0, 128, 0);
const COLORREF kRed = RGB(255, 0, 0);

using testsupport::hex;

// What the stand-in logs for the program's three calls, built from the
// Services API's tag values.
std::string attachLine() {
  const std::string spb = std::string("\x02\x02", 2) + "\x1c\x06" + "sysdba" + "\x1d\x09" + "quillbark";
  return "attach " + hex("service_mgr") + " " + hex(spb);
}

std::string startLine(const std::string& path) {
  std::string request = "\x08\x6a";
  request += static_cast<char>(path.size() & 0xFF);
  request += static_cast<char>((path.size() >> 8) & 0xFF);
  request += path;
  request += "\x0d\x27";
  return "start " + hex(request);
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) out.push_back(line);
  return out;
}

// A directory with the program, optionally the stand-in beside it, and the
// stand-in's log; the environment the program inherits points there.
class Place {
 public:
  explicit Place(bool withClientLibrary, const std::string& failingCalls = "")
      : program_(dir_.file("kestrum-patch.exe")),
        log_(dir_.file("standin.log")),
        logEnv_("KP_STANDIN_LOG", log_),
        failEnv_("KP_STANDIN_FAIL", failingCalls) {
    launcher::copyFileOrThrow(launcher::windowsPath(KP_PROGRAM_EXE), program_);
    if (withClientLibrary)
      launcher::copyFileOrThrow(launcher::windowsPath(KP_STANDIN_DLL), dir_.file("gds32.dll"));
  }
  const launcher::TempDir& dir() const { return dir_; }
  std::string commandLine(const std::string& tail) const { return "\"" + program_ + "\"" + tail; }
  std::vector<std::string> calls() const { return lines(launcher::readFile(log_)); }
  const std::string& program() const { return program_; }

 private:
  launcher::TempDir dir_;
  std::string program_;
  std::string log_;
  launcher::ScopedEnv logEnv_;
  launcher::ScopedEnv failEnv_;
};

struct Labels {
  std::string first, second;
};

Labels readLabels(const launcher::Program& process) {
  const std::vector<HWND> labels = process.labels();
  if (labels.size() != 2) return {"<" + std::to_string(labels.size()) + " labels>", ""};
  return {launcher::windowText(labels[0]), launcher::windowText(labels[1])};
}

// ---------------------------------------------------------------- success

// Without an argument the target is Kestrum.DAT in the working directory and
// the close timer runs its stored 5000 ms, long enough to see the green window.
TEST(Success, WithoutArgumentTurnsGreenAndClosesByItself) {
  Place place(true);
  launcher::writeFile(place.dir().file("Kestrum.DAT"), "");
  launcher::Program process(place.program(), place.commandLine(""), place.dir().path());
  ASSERT_NE(process.waitForWindow(kWindowTimeoutMs), nullptr);

  EXPECT_EQ(process.waitForScreenPixel(kBackgroundX, kBackgroundY, kGreen, kPixelTimeoutMs), kGreen);
  const Labels labels = readLabels(process);
  EXPECT_EQ(labels.first, "Kestrum.DAT korrigiert");
  EXPECT_EQ(labels.second, "");

  // Nobody touches the window: the close timer's tick ends the program.
  EXPECT_EQ(process.waitForExit(kExitTimeoutMs), 0u);
  EXPECT_EQ(place.calls(),
            (std::vector<std::string>{attachLine(), startLine("Kestrum.DAT"), "detach"}));
}

struct ArgumentCase {
  const char* name;
  std::string existingFile;  // created in the test's directory
  std::string argument;      // relative to that directory
};

void PrintTo(const ArgumentCase& c, std::ostream* os) { *os << c.name; }

class SuccessWithArgument : public ::testing::TestWithParam<ArgumentCase> {};

// With one argument the close timer runs 100 ms: the green window is up only
// for a moment, and closing by itself is what shows the success. The request
// carries the path exactly as given.
TEST_P(SuccessWithArgument, ClosesByItselfAndAsksForTheGivenPath) {
  const ArgumentCase& c = GetParam();
  Place place(true);
  launcher::writeFile(place.dir().file(c.existingFile), "");
  const std::string target = place.dir().file(c.argument);
  launcher::Program process(place.program(), place.commandLine(" \"" + target + "\""),
                            place.dir().path());
  EXPECT_EQ(process.waitForExit(kExitTimeoutMs), 0u);
  EXPECT_EQ(place.calls(), (std::vector<std::string>{attachLine(), startLine(target), "detach"}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SuccessWithArgument,
    ::testing::Values(ArgumentCase{"FullPath", "base.dat", "base.dat"},
                      ArgumentCase{"WildcardInLastComponent", "base.dat", "ba?e*.dat"},
                      ArgumentCase{"NameWithSpace", "my base.dat", "my base.dat"}),
    [](const ::testing::TestParamInfo<ArgumentCase>& param) { return std::string(param.param.name); });

// ---------------------------------------------------------------- failure

struct FailureCase {
  const char* name;
  bool withClientLibrary;
  std::string failingCalls;
  std::vector<std::string> expectedCallWords;  // first word of each logged call
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class Failure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(Failure, TurnsRedAndStaysOpenUntilOk) {
  const FailureCase& c = GetParam();
  Place place(c.withClientLibrary, c.failingCalls);
  launcher::writeFile(place.dir().file("base.dat"), "");
  const std::string target = place.dir().file("base.dat");
  launcher::Program process(place.program(), place.commandLine(" " + target), place.dir().path());
  ASSERT_NE(process.waitForWindow(kWindowTimeoutMs), nullptr);

  EXPECT_EQ(process.waitForScreenPixel(kBackgroundX, kBackgroundY, kRed, kPixelTimeoutMs), kRed);
  // The labels take the window's colour behind their text: the corner of
  // Label1, in the line's leading, shows it too.
  const std::vector<HWND> labelWindows = process.labels();
  ASSERT_EQ(labelWindows.size(), 2u);
  RECT label1{};
  GetWindowRect(labelWindows[0], &label1);
  POINT corner{label1.left, label1.top};
  ScreenToClient(process.window(), &corner);
  EXPECT_EQ(process.screenPixel(corner.x, corner.y), kRed);
  const Labels labels = readLabels(process);
  EXPECT_EQ(labels.first, "base.dat NICHT KORRIGIERT");
  EXPECT_EQ(labels.second, place.dir().path());
  EXPECT_EQ(process.findMessageBox(), nullptr) << "a failure shows no message box";

  // Well past the 100 ms tick the window is still there.
  EXPECT_FALSE(process.waitForExit(1000).has_value());
  EXPECT_TRUE(IsWindowVisible(process.window()));

  std::vector<std::string> words;
  for (const std::string& line : place.calls()) words.push_back(line.substr(0, line.find(' ')));
  EXPECT_EQ(words, c.expectedCallWords);
  if (!place.calls().empty()) {
    EXPECT_EQ(place.calls().front(), attachLine());
  }

  process.clickButton();
  EXPECT_EQ(process.waitForExit(kExitTimeoutMs), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Failure,
    ::testing::Values(
        // A refused start gives up the connection's handle: no detach follows it.
        FailureCase{"StartRefused", true, "start", {"attach", "start"}},
        FailureCase{"AttachRefused", true, "attach", {"attach"}},
        FailureCase{"DetachRefused", true, "detach", {"attach", "start", "detach"}},
        // No gds32.dll or fbclient.dll anywhere Wine looks: nothing can be called.
        FailureCase{"NoClientLibrary", false, "", {}}),
    [](const ::testing::TestParamInfo<FailureCase>& param) { return std::string(param.param.name); });

// ---------------------------------------------------------------- target missing

struct MissingCase {
  const char* name;
  std::string argument;  // relative to the test's directory
  void (*prepare)(const launcher::TempDir& dir);
  std::string label1;
};

void PrintTo(const MissingCase& c, std::ostream* os) { *os << c.name; }

class TargetMissing : public ::testing::TestWithParam<MissingCase> {};

TEST_P(TargetMissing, KeepsTheColourAndCallsNothing) {
  const MissingCase& c = GetParam();
  Place place(true);
  c.prepare(place.dir());
  const std::string target = place.dir().file(c.argument);
  launcher::Program process(place.program(), place.commandLine(" " + target), place.dir().path());
  ASSERT_NE(process.waitForWindow(kWindowTimeoutMs), nullptr);

  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(process.waitForScreenPixel(kBackgroundX, kBackgroundY, face, kPixelTimeoutMs), face);
  const Labels labels = readLabels(process);
  EXPECT_EQ(labels.first, c.label1);
  EXPECT_EQ(labels.second, place.dir().path());

  EXPECT_FALSE(process.waitForExit(1000).has_value());
  process.clickButton();
  EXPECT_EQ(process.waitForExit(kExitTimeoutMs), 0u);
  EXPECT_EQ(place.calls(), std::vector<std::string>{}) << "the client library was called";
}

INSTANTIATE_TEST_SUITE_P(
    Table, TargetMissing,
    ::testing::Values(
        MissingCase{"Directory", "adir",
                    [](const launcher::TempDir& d) {
                      CreateDirectoryA(d.file("adir").c_str(), nullptr);
                    },
                    "adir"},
        MissingCase{"WildcardMatchingADirectoryFirst", "a*",
                    [](const launcher::TempDir& d) {
                      CreateDirectoryA(d.file("adir").c_str(), nullptr);
                    },
                    "a*"},
        MissingCase{"NoSuchFile", "absent.dat", [](const launcher::TempDir&) {}, "absent.dat"},
        MissingCase{"DatedBefore1980", "old.dat",
                    [](const launcher::TempDir& d) {
                      launcher::writeFile(d.file("old.dat"), "");
                      launcher::setLastWriteTime(d.file("old.dat"), 1979, 12, 30);
                    },
                    "old.dat"}),
    [](const ::testing::TestParamInfo<MissingCase>& param) { return std::string(param.param.name); });

}  // namespace
