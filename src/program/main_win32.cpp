// kestrum-patch for Windows: the main form is built from its stored layout,
// its creation handler does the program's one job while the window is still
// hidden, then the window is shown and the message loop runs until the form
// closes.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <exception>
#include <memory>
#include <optional>

#include "core/layout.h"
#include "form/handler_guard.h"
#include "form/tform1.h"
#include "window/win32/win32_form.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand) {
  // Building the form (the window, its controls, and Timer1, which starts
  // counting as its handler is bound) either succeeds or ends the program
  // with the system's message and exit code 1.
  std::unique_ptr<window::win32::Win32Form> mainWindow;
  std::optional<form::TForm1> form1;
  try {
    mainWindow = std::make_unique<window::win32::Win32Form>(instance, core::storedLayout());
    form1.emplace(*mainWindow, mainWindow->label1(), mainWindow->label2(), mainWindow->timer1(),
                  core::storedLayout().timerIntervalMs);
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), window::win32::applicationTitle().c_str(), MB_ICONSTOP | MB_OK);
    return 1;
  }

  form::runGuarded(*mainWindow, [&form1] { form1->FormCreate(&*form1); });

  // showCommand carries the start-up request (STARTUPINFO's wShowWindow, or
  // SW_SHOWDEFAULT), so a request to start minimised or maximised is honoured.
  mainWindow->show(showCommand);

  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (mainWindow->preTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }

  form1.reset();  // the form goes first, and stops its timer
  mainWindow.reset();
  return 0;
}
