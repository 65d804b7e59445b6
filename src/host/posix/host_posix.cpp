// The program's view of a POSIX system: the argument vector as the caller
// split it, '/' as the only delimiter, no double-byte code page, a directory
// search that behaves like a Windows file search, and dlopen for the client.
#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "core/existence.h"
#include "host/command_line_capture.h"
#include "host/host.h"

namespace host {

namespace {

std::vector<std::string>& capturedArguments() {
  static std::vector<std::string> arguments;
  return arguments;
}

class PosixLibrary final : public SharedLibrary {
 public:
  explicit PosixLibrary(void* handle) : handle_(handle) {}
  ~PosixLibrary() override { dlclose(handle_); }
  PosixLibrary(const PosixLibrary&) = delete;
  PosixLibrary& operator=(const PosixLibrary&) = delete;
  void* symbol(const char* name) const override { return dlsym(handle_, name); }

 private:
  void* handle_;
};

// The first entry of the directory that the pattern matches, or "" when none.
std::string firstMatch(const std::string& directory, const std::string& pattern) {
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr) return {};
  std::string found;
  while (const dirent* entry = readdir(dir)) {
    if (core::matchesSearchPattern(pattern, entry->d_name)) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

bool lastWriteFitsDosDate(const struct stat& st) {
  std::tm local{};
  if (localtime_r(&st.st_mtime, &local) == nullptr) return false;
  return core::fitsDosDate(local.tm_year + 1900);
}

}  // namespace

void captureArguments(int argc, char** argv) {
  auto& arguments = capturedArguments();
  arguments.clear();
  for (int i = 0; i < argc; ++i) arguments.emplace_back(argv[i]);
}

std::vector<std::string> commandLineTokens() {
  // An empty argument is dropped, as an empty token is on Windows.
  std::vector<std::string> tokens;
  for (const auto& argument : capturedArguments())
    if (!argument.empty()) tokens.push_back(argument);
  return tokens;
}

core::PathRules pathRules() { return core::posixPathRules(); }

bool fileExists(const std::string& path) {
  if (path.empty()) return false;
  const auto slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  if (name.empty()) return false;  // a path ending in '/' names a directory

  std::string entry = name;
  if (name.find_first_of("*?") != std::string::npos) {
    entry = firstMatch(directory, name);
    if (entry.empty()) return false;
  }
  struct stat st {};
  const std::string full = slash == std::string::npos ? entry : directory + entry;
  if (stat(full.c_str(), &st) != 0) return false;
  return !S_ISDIR(st.st_mode) && lastWriteFitsDosDate(st);
}

std::unique_ptr<SharedLibrary> loadLibrary(const std::string& name) {
  void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  return std::make_unique<PosixLibrary>(handle);
}

std::vector<std::string> clientLibraryNames() { return {"libfbclient.so.2", "libfbclient.so"}; }

int lastSystemError() { return errno; }

}  // namespace host
