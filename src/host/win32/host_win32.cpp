// host/win32: what the program needs of Windows, for the Windows build.
//
// The command line is taken from GetCommandLineA and split by the program's
// own rules (core::splitCommandLine), not by the C runtime's argv, because the
// runtime's rules (backslash escapes, "" inside quotes) differ from them. The
// lead bytes come from the ANSI code page of the calling thread's locale and
// are looked up once, so the command line and the target path are cut by the
// same set. Libraries are loaded by plain name, so Windows' own search order
// decides which client library is found.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "core/command_line.h"
#include "core/existence.h"
#include "host/command_line_capture.h"
#include "host/host.h"

namespace host {

namespace {

// The ANSI code page that the thread's locale names; GetACP when it names none ("0").
UINT localeAnsiCodePage() {
  char text[8] = {};
  const int got = GetLocaleInfoA(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, text,
                                 static_cast<int>(sizeof text));
  if (got > 0) {
    const unsigned long value = std::strtoul(text, nullptr, 10);
    if (value != 0) return static_cast<UINT>(value);
  }
  return GetACP();
}

core::LeadByteSet readLeadBytes() {
  core::LeadByteSet set;
  CPINFO info{};
  if (!GetCPInfo(localeAnsiCodePage(), &info)) return set;
  // Pairs of first and last byte, ended by a pair of zeros.
  for (std::size_t i = 0; i + 1 < MAX_LEADBYTES; i += 2) {
    const BYTE first = info.LeadByte[i];
    const BYTE last = info.LeadByte[i + 1];
    if (first == 0 && last == 0) break;
    set.addRange(first, last);
  }
  return set;
}

const core::LeadByteSet& leadBytes() {
  static const core::LeadByteSet set = readLeadBytes();
  return set;
}

class Win32Library final : public SharedLibrary {
 public:
  explicit Win32Library(HMODULE module) : module_(module) {}
  ~Win32Library() override { FreeLibrary(module_); }
  Win32Library(const Win32Library&) = delete;
  Win32Library& operator=(const Win32Library&) = delete;

  void* symbol(const char* name) const override {
    const FARPROC entry = GetProcAddress(module_, name);
    // A function address travels as void*; copying the bits keeps the
    // conversion explicit without a function-to-object pointer cast.
    void* address = nullptr;
    static_assert(sizeof address == sizeof entry);
    std::memcpy(&address, &entry, sizeof address);
    return address;
  }

 private:
  HMODULE module_;
};

}  // namespace

void captureArguments(int /*argc*/, char** /*argv*/) {
  // Windows reads its command line from GetCommandLineA when asked.
}

std::vector<std::string> commandLineTokens() {
  const char* text = GetCommandLineA();
  return core::splitCommandLine(text != nullptr ? text : "", leadBytes());
}

core::PathRules pathRules() { return core::windowsPathRules(leadBytes()); }

bool fileExists(const std::string& path) {
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);

  if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;

  FILETIME local{};
  WORD dosDate = 0;
  WORD dosTime = 0;
  if (!FileTimeToLocalFileTime(&found.ftLastWriteTime, &local)) return false;
  if (!FileTimeToDosDateTime(&local, &dosDate, &dosTime)) return false;
  // Windows refuses times outside the DOS range in the call above; some
  // implementations of it (Wine's among them) wrap instead, so the year is
  // checked as well.
  SYSTEMTIME when{};
  if (!FileTimeToSystemTime(&local, &when)) return false;
  return core::fitsDosDate(when.wYear);
}

std::unique_ptr<SharedLibrary> loadLibrary(const std::string& name) {
  const HMODULE module = LoadLibraryA(name.c_str());
  if (module == nullptr) return nullptr;
  return std::make_unique<Win32Library>(module);
}

std::vector<std::string> clientLibraryNames() { return {"gds32.dll", "fbclient.dll"}; }

int lastSystemError() { return static_cast<int>(GetLastError()); }

}  // namespace host
