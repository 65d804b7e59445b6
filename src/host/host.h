// What the program needs of the operating system. One implementation per
// platform, chosen by the build: host/posix and host/win32.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/target_path.h"

namespace host {

// Every command-line token, the program's own name first. Windows splits
// GetCommandLineA by the program's rules; POSIX takes the argument vector
// captured before the toolkit could consume any of it.
std::vector<std::string> commandLineTokens();

// Delimiters and lead bytes for splitting a target path on this platform.
core::PathRules pathRules();

// The existence test: a directory search for the path, the first match
// decides; not a directory; a last-write time that a DOS date can hold.
// Never opens the file, never fails.
bool fileExists(const std::string& path);

class SharedLibrary {
 public:
  virtual ~SharedLibrary() = default;
  // nullptr when the library has no such entry point.
  virtual void* symbol(const char* name) const = 0;
};

// nullptr when the library cannot be loaded.
std::unique_ptr<SharedLibrary> loadLibrary(const std::string& name);

// The client library's file names, in the order they are tried.
std::vector<std::string> clientLibraryNames();

// The system's code of the last failed call (errno, GetLastError).
int lastSystemError();

}  // namespace host
