// The form's handlers on the real Qt backend and a real X server, with the
// real Firebird engine in-process: what the labels say, how long the close
// timer runs, which colour reaches the screen, and whether the window closes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/colors.h"
#include "core/layout.h"
#include "form/tform1.h"
#include "host/command_line_capture.h"
#include "window/qt/qt_application.h"
#include "window/qt/qt_form.h"

namespace fs = std::filesystem;

namespace {

QWidget* mainWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->windowTitle() == QLatin1String("Kestrum.dat Patch") && w->isVisible()) return w;
  return nullptr;
}

void processEventsFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Runs the program's start-up on the given argument vector, up to the shown window.
class RunningForm {
 public:
  explicit RunningForm(std::vector<std::string> arguments) : arguments_(std::move(arguments)) {
    std::vector<char*> argv;
    for (auto& a : arguments_) argv.push_back(a.data());
    host::captureArguments(static_cast<int>(argv.size()), argv.data());
    window_ = std::make_unique<window::qt::QtForm>(core::storedLayout());
    form_ = std::make_unique<form::TForm1>(*window_, window_->label1(), window_->label2(), window_->timer1(),
                                           core::storedLayout().timerIntervalMs);
    form_->FormCreate(form_.get());
    window_->show();
    processEventsFor(50);
  }
  form::TForm1& form() { return *form_; }

  // The colour of a client-area pixel away from the controls, read back from the X server.
  QColor screenColor() {
    QWidget* w = mainWindow();
    if (w == nullptr) return {};
    const QPoint at = w->mapToGlobal(QPoint(8, w->height() - 10));
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), 1, 1).toImage();
    return shot.pixelColor(0, 0);
  }

 private:
  std::vector<std::string> arguments_;
  std::unique_ptr<window::qt::QtForm> window_;
  std::unique_ptr<form::TForm1> form_;
};

struct LabelCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* label1;
  const char* label2;
  int timerMs;
};

void PrintTo(const LabelCase& c, std::ostream* os) { *os << c.name; }

class Labels : public testing::TestWithParam<LabelCase> {};

// None of these paths exist, so the labels show the path's parts alone.
TEST_P(Labels, ShowTheTargetsPartsAndTimeTheCloseTimer) {
  const LabelCase& c = GetParam();
  RunningForm run(c.arguments);
  EXPECT_EQ(run.form().Label1.caption(), c.label1);
  EXPECT_EQ(run.form().Label2.caption(), c.label2);
  EXPECT_EQ(run.form().Timer1.Interval(), c.timerMs);
  EXPECT_EQ(run.form().Window.color(), core::clBtnFace);
}

INSTANTIATE_TEST_SUITE_P(
    Linux, Labels,
    testing::Values(
        LabelCase{"no_argument", {"kestrum-patch"}, "Kestrum.DAT", "", 5000},
        LabelCase{"absolute", {"kestrum-patch", "/nowhere/data/base.fdb"}, "base.fdb", "/nowhere/data", 100},
        LabelCase{"in_root", {"kestrum-patch", "/base.fdb"}, "base.fdb", "/", 100},
        LabelCase{"after_double_slash", {"kestrum-patch", "/nowhere//base.fdb"}, "base.fdb", "/nowhere//", 100},
        LabelCase{"relative", {"kestrum-patch", "sub/base.fdb"}, "base.fdb", "sub", 100},
        LabelCase{"bare_name", {"kestrum-patch", "base.fdb"}, "base.fdb", "", 100},
        LabelCase{"trailing_slash", {"kestrum-patch", "/nowhere/data/"}, "", "/nowhere/data", 100},
        LabelCase{"backslash_is_a_character", {"kestrum-patch", "D:\\x\\base.fdb"}, "D:\\x\\base.fdb", "", 100},
        LabelCase{"ampersand_kept", {"kestrum-patch", "/nowhere/R&D/base.fdb"}, "base.fdb", "/nowhere/R&D", 100},
        LabelCase{"empty_argument_dropped", {"kestrum-patch", "", "/nowhere/y.fdb"}, "y.fdb", "/nowhere", 100},
        LabelCase{"two_arguments", {"kestrum-patch", "/nowhere/a.fdb", "/nowhere/b.fdb"}, "Kestrum.DAT", "", 5000},
        LabelCase{"spaces_are_one_argument", {"kestrum-patch", "/nowhere/my data/b.fdb"}, "b.fdb", "/nowhere/my data",
                  100}),
    [](const testing::TestParamInfo<LabelCase>& row) { return std::string(row.param.name); });

class PatchRun : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kp-form-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path makeDatabase(const std::string& name) {
    const fs::path db = dir_ / name;
    const std::string command = std::string(KP_MAKE_DB) + " '" + db.string() + "' >/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return db;
  }
  fs::path dir_;
};

TEST_F(PatchRun, SuccessTurnsGreenAndClosesAtTheFirstTick) {
  const fs::path db = makeDatabase("base.fdb");
  RunningForm run({"kestrum-patch", db.string()});
  EXPECT_EQ(run.form().Label1.caption(), "base.fdb korrigiert");
  EXPECT_EQ(run.form().Label2.caption(), dir_.string());
  EXPECT_EQ(run.form().Window.color(), core::clGreen);
  processEventsFor(1000);
  EXPECT_EQ(mainWindow(), nullptr) << "the green window should have closed itself";
  EXPECT_FALSE(run.form().Timer1.Enabled());
}

// Without an argument the close timer runs 5 s, long enough to read the screen.
TEST_F(PatchRun, SuccessOnTheDefaultNameShowsGreenOnTheScreen) {
  makeDatabase("Kestrum.DAT");
  const fs::path before = fs::current_path();
  fs::current_path(dir_);
  RunningForm run({"kestrum-patch"});
  fs::current_path(before);
  EXPECT_EQ(run.form().Label1.caption(), "Kestrum.DAT korrigiert");
  EXPECT_EQ(run.form().Label2.caption(), "");
  EXPECT_EQ(run.screenColor(), QColor(0, 128, 0));
  ASSERT_NE(mainWindow(), nullptr);
  mainWindow()->close();
}

TEST_F(PatchRun, FailureTurnsRedAndStaysOpen) {
  const fs::path junk = dir_ / "junk.fdb";
  std::ofstream(junk) << std::string(4096, 'x');
  RunningForm run({"kestrum-patch", junk.string()});
  EXPECT_EQ(run.form().Label1.caption(), "junk.fdb NICHT KORRIGIERT");
  EXPECT_EQ(run.form().Window.color(), core::clRed);
  EXPECT_EQ(run.screenColor(), QColor(255, 0, 0));
  processEventsFor(600);
  ASSERT_NE(mainWindow(), nullptr) << "a red window stays open";
  EXPECT_FALSE(run.form().Timer1.Enabled()) << "the first tick stops the timer whatever the colour";
  mainWindow()->close();
}

TEST_F(PatchRun, MissingTargetChangesNothingAndStaysOpen) {
  RunningForm run({"kestrum-patch", (dir_ / "absent.fdb").string()});
  EXPECT_EQ(run.form().Label1.caption(), "absent.fdb");
  EXPECT_EQ(run.form().Window.color(), core::clBtnFace);
  EXPECT_EQ(run.screenColor(), QApplication::palette().color(QPalette::Button));
  processEventsFor(600);
  ASSERT_NE(mainWindow(), nullptr);
  mainWindow()->close();
}

TEST_F(PatchRun, ALabelWiderThanTheWindowScrollsTheClientArea) {
  const std::string deep = "/nowhere/" + std::string(150, 'd') + "/base.fdb";
  RunningForm run({"kestrum-patch", deep});
  QWidget* w = mainWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->frameGeometry().size(), QSize(556, 137)) << "the window never grows with its labels";
  const auto* area = w->findChild<QScrollArea*>();
  ASSERT_NE(area, nullptr);
  EXPECT_TRUE(area->horizontalScrollBar()->isVisible());
  w->close();
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no display
  const auto application = window::qt::startApplication(argc, argv);
  application->setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
