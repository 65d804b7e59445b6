#pragma once
#include <QApplication>
#include <memory>

namespace window::qt {

// Starts Qt for a program that counts in device pixels. When no display can
// be opened, prints one line on standard error and ends the process with
// exit code 1 instead of Qt's abort.
std::unique_ptr<QApplication> startApplication(int& argc, char** argv);

}  // namespace window::qt
