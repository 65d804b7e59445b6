// kestrum-patch for Linux: Qt starts, the main form is built from its stored
// layout, its creation handler does the program's one job, and the message
// loop runs until the window closes.
#include <cstdio>
#include <exception>
#include <memory>

#include "core/layout.h"
#include "form/handler_guard.h"
#include "form/tform1.h"
#include "host/command_line_capture.h"
#include "window/qt/qt_application.h"
#include "window/qt/qt_form.h"

int main(int argc, char** argv) {
  // Before Qt takes its own options out of the argument vector.
  host::captureArguments(argc, argv);
  const auto application = window::qt::startApplication(argc, argv);

  std::unique_ptr<window::qt::QtForm> mainWindow;
  try {
    mainWindow = std::make_unique<window::qt::QtForm>(core::storedLayout());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrum-patch: cannot build the main window: %s\n", e.what());
    return 1;
  }
  form::TForm1 form1(*mainWindow, mainWindow->label1(), mainWindow->label2(), mainWindow->timer1(),
                     core::storedLayout().timerIntervalMs);
  form::runGuarded(*mainWindow, [&form1] { form1.FormCreate(&form1); });

  mainWindow->show();
  application->exec();
  return 0;
}
