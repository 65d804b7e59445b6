// A small Windows launcher for the program's tests under Wine: it starts
// kestrum-patch.exe with an exact command line (CreateProcessA, so the program
// splits the very text it was given), finds its main window and reads it back
// with ordinary cross-process calls: caption, rectangle, child texts, focus,
// the colour on the screen. It can press the button, send keys, ask the window
// to close, and waits for the process to end. Whatever it starts it also ends.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace launcher {

// A path that the build wrote in Unix form, as Wine's Windows side names it (Z:\...).
std::string windowsPath(const std::string& path);

// A fresh directory under the Windows temporary directory, removed with its
// content when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void copyFileOrThrow(const std::string& from, const std::string& to);
void writeFile(const std::string& path, const std::string& content);
// Empty when the file does not exist.
std::string readFile(const std::string& path);
void setLastWriteTime(const std::string& path, WORD year, WORD month, WORD day);

// Sets an environment variable for the processes started while it lives; the
// child inherits the launcher's environment.
class ScopedEnv {
 public:
  ScopedEnv(const std::string& name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

class Program {
 public:
  // Starts the executable with exactly this command line, in workDir, and
  // with the show command in its start-up information when one is given.
  // Throws std::runtime_error when the process cannot be created.
  Program(const std::string& executable, const std::string& commandLine, const std::string& workDir,
          std::optional<WORD> showCommand = std::nullopt);
  ~Program();  // ends the process if it still runs
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The process's visible top-level window (not a message box); nullptr when
  // none shows up in time or the process ended first.
  HWND waitForWindow(DWORD timeoutMs);
  // A message box of the process, if one is showing.
  HWND findMessageBox() const;

  HWND window() const { return window_; }
  std::string caption() const;
  RECT windowRect() const;
  RECT clientRectOnScreen() const;
  LONG style() const;
  // The STATIC children in their order (creation order), and their rectangles.
  std::vector<HWND> labels() const;
  HWND button() const;
  // The window that has the keyboard focus in the program's GUI thread.
  HWND focus() const;
  // Polls until the window has the focus or the time is up; the last focus seen.
  HWND waitForFocus(HWND wanted, DWORD timeoutMs) const;

  // The colour on the screen at a point of the client area.
  COLORREF screenPixel(int clientX, int clientY) const;
  // Polls the screen until the point shows the colour or the time is up; the last colour seen.
  COLORREF waitForScreenPixel(int clientX, int clientY, COLORREF wanted, DWORD timeoutMs) const;

  void clickButton() const;       // BM_CLICK on the button
  void pressKey(WORD key) const;  // key down and up, posted to the focused window
  void pressAltKey(WORD key) const;  // the same with Alt held: system keys
  void postClose() const;         // WM_CLOSE to the main window

  bool running() const;
  // The exit code, or nothing when the process is still running after the time.
  std::optional<DWORD> waitForExit(DWORD timeoutMs);
  DWORD processId() const { return process_.dwProcessId; }

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

std::string windowText(HWND window);

}  // namespace launcher
