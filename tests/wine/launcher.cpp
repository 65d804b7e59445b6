#include "launcher.h"

#include <cstdio>
#include <stdexcept>

namespace launcher {

namespace {

constexpr DWORD kPollMs = 50;

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what + " (error " + std::to_string(GetLastError()) + ")");
}

void removeTree(const std::string& dir) {
  WIN32_FIND_DATAA entry{};
  const HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = dir + "\\" + name;
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        removeTree(full);
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(dir.c_str());
}

struct Search {
  DWORD processId;
  HWND found;
};

bool isMessageBox(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, static_cast<int>(sizeof name));
  return std::string(name) == "#32770";
}

BOOL CALLBACK findMainWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window) || isMessageBox(window)) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK findBox(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window) || !isMessageBox(window)) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK collectChildren(HWND child, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
  return TRUE;
}

std::vector<HWND> childrenOfClass(HWND parent, const char* className) {
  std::vector<HWND> all;
  if (parent != nullptr) EnumChildWindows(parent, collectChildren, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> matching;
  for (HWND child : all) {
    char name[64] = {};
    GetClassNameA(child, name, static_cast<int>(sizeof name));
    if (lstrcmpiA(name, className) == 0) matching.push_back(child);
  }
  return matching;
}

}  // namespace

std::string windowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string result = "Z:" + path;
  for (char& c : result)
    if (c == '/') c = '\\';
  return result;
}

std::string windowText(HWND window) {
  // WM_GETTEXT crosses the process boundary; the system copies the text back.
  const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got = SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return text;
}

// ------------------------------------------------------------------ files

TempDir::TempDir() {
  char base[MAX_PATH] = {};
  if (GetTempPathA(MAX_PATH, base) == 0) fail("GetTempPathA");
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::string candidate = std::string(base) + "kp-" + std::to_string(GetCurrentProcessId()) +
                                  "-" + std::to_string(++counter);
    if (CreateDirectoryA(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
  }
  fail("CreateDirectoryA");
}

TempDir::~TempDir() { removeTree(path_); }

void copyFileOrThrow(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) fail("CopyFileA " + from + " -> " + to);
}

void writeFile(const std::string& path, const std::string& content) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) fail("cannot create " + path);
  std::fwrite(content.data(), 1, content.size(), f);
  std::fclose(f);
}

std::string readFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return {};
  std::string content;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, got);
  std::fclose(f);
  return content;
}

void setLastWriteTime(const std::string& path, WORD year, WORD month, WORD day) {
  SYSTEMTIME when{};
  when.wYear = year;
  when.wMonth = month;
  when.wDay = day;
  when.wHour = 12;
  FILETIME local{};
  FILETIME utc{};
  if (!SystemTimeToFileTime(&when, &local) || !LocalFileTimeToFileTime(&local, &utc))
    fail("file time");
  const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) fail("CreateFileA " + path);
  const BOOL done = SetFileTime(file, nullptr, nullptr, &utc);
  CloseHandle(file);
  if (!done) fail("SetFileTime " + path);
}

ScopedEnv::ScopedEnv(const std::string& name, const std::string& value) : name_(name) {
  const DWORD needed = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (needed > 0) {
    std::string old(needed, '\0');
    const DWORD got = GetEnvironmentVariableA(name.c_str(), old.data(), needed);
    old.resize(got);
    previous_ = old;
  }
  SetEnvironmentVariableA(name.c_str(), value.c_str());
}

ScopedEnv::~ScopedEnv() {
  SetEnvironmentVariableA(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}

// ------------------------------------------------------------------ Program

Program::Program(const std::string& executable, const std::string& commandLine,
                 const std::string& workDir, std::optional<WORD> showCommand) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (showCommand) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = *showCommand;
  }
  std::string text = commandLine;  // CreateProcessA may write into it
  // The executable is named separately, so the command line is handed over
  // exactly as given, whatever it says about the program's own name.
  if (!CreateProcessA(executable.c_str(), text.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workDir.c_str(), &startup, &process_))
    fail("CreateProcessA " + executable);
}

Program::~Program() {
  if (process_.hProcess == nullptr) return;
  if (running()) {
    TerminateProcess(process_.hProcess, 255);
    WaitForSingleObject(process_.hProcess, 10000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

HWND Program::waitForWindow(DWORD timeoutMs) {
  const ULONGLONG until = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < until) {
    Search search{process_.dwProcessId, nullptr};
    EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      window_ = search.found;
      return window_;
    }
    if (!running()) return nullptr;
    Sleep(kPollMs);
  }
  return nullptr;
}

HWND Program::findMessageBox() const {
  Search search{process_.dwProcessId, nullptr};
  EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string Program::caption() const { return windowText(window_); }

RECT Program::windowRect() const {
  RECT rect{};
  GetWindowRect(window_, &rect);
  return rect;
}

RECT Program::clientRectOnScreen() const {
  RECT rect{};
  GetClientRect(window_, &rect);
  POINT topLeft{rect.left, rect.top};
  POINT bottomRight{rect.right, rect.bottom};
  ClientToScreen(window_, &topLeft);
  ClientToScreen(window_, &bottomRight);
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

LONG Program::style() const { return GetWindowLongA(window_, GWL_STYLE); }

std::vector<HWND> Program::labels() const { return childrenOfClass(window_, "Static"); }

HWND Program::button() const {
  const std::vector<HWND> buttons = childrenOfClass(window_, "Button");
  return buttons.empty() ? nullptr : buttons.front();
}

HWND Program::focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(process_.dwThreadId, &info)) return nullptr;
  return info.hwndFocus;
}

HWND Program::waitForFocus(HWND wanted, DWORD timeoutMs) const {
  const ULONGLONG until = GetTickCount64() + timeoutMs;
  HWND seen = focus();
  while (seen != wanted && GetTickCount64() < until) {
    Sleep(kPollMs);
    seen = focus();
  }
  return seen;
}

COLORREF Program::screenPixel(int clientX, int clientY) const {
  POINT at{clientX, clientY};
  ClientToScreen(window_, &at);
  const HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

COLORREF Program::waitForScreenPixel(int clientX, int clientY, COLORREF wanted,
                                     DWORD timeoutMs) const {
  const ULONGLONG until = GetTickCount64() + timeoutMs;
  COLORREF seen = screenPixel(clientX, clientY);
  while (seen != wanted && GetTickCount64() < until) {
    Sleep(kPollMs);
    seen = screenPixel(clientX, clientY);
  }
  return seen;
}

void Program::clickButton() const {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(button(), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
}

void Program::pressKey(WORD key) const {
  const HWND target = focus();
  if (target == nullptr) return;  // nothing has the focus, so no key arrives anywhere
  const UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
  const LPARAM down = static_cast<LPARAM>(1 | (scan << 16));
  const LPARAM up = static_cast<LPARAM>(1 | (scan << 16) | (1U << 30) | (1U << 31));
  PostMessageA(target, WM_KEYDOWN, key, down);
  PostMessageA(target, WM_KEYUP, key, up);
}

void Program::pressAltKey(WORD key) const {
  const HWND target = focus();
  if (target == nullptr) return;
  const UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
  const LPARAM down = static_cast<LPARAM>(1 | (scan << 16) | (1U << 29));
  const LPARAM up = static_cast<LPARAM>(1 | (scan << 16) | (1U << 29) | (1U << 30) | (1U << 31));
  PostMessageA(target, WM_SYSKEYDOWN, key, down);
  PostMessageA(target, WM_SYSKEYUP, key, up);
}

void Program::postClose() const { PostMessageA(window_, WM_CLOSE, 0, 0); }

bool Program::running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Program::waitForExit(DWORD timeoutMs) {
  if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

}  // namespace launcher
