#include "window/qt/qt_application.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace window::qt {

namespace {

std::string firstComplaint;

void startupMessageHandler(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
  const std::string line = message.section(QLatin1Char('\n'), 0, 0).toStdString();
  if (firstComplaint.empty() && type != QtDebugMsg) firstComplaint = line;
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "kestrum-patch: no display can be opened (%s)\n", firstComplaint.c_str());
    std::fflush(stderr);
    std::_Exit(1);
  }
}

}  // namespace

std::unique_ptr<QApplication> startApplication(int& argc, char** argv) {
  // The window's layout counts device pixels at the screen's own resolution,
  // so Qt must not scale it a second time.
  if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING")) qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  const QtMessageHandler previous = qInstallMessageHandler(startupMessageHandler);
  auto application = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  application->setQuitOnLastWindowClosed(true);
  return application;
}

}  // namespace window::qt
