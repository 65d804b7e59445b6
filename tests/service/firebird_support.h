// What the tests against real Firebird share: a temporary directory, the
// database-making script, Firebird's own reading of a database's attributes,
// and the read-only switch done the way the program does it.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "service/ib_config_service.h"

namespace fbtest {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "kp-fb-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& leaf) const { return path_ / leaf; }

 private:
  fs::path path_;
};

inline std::string quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Output (stdout and stderr) of a shell command, and whether it exited 0.
struct Run {
  bool ok;
  std::string output;
};

inline Run run(const std::string& command) {
  Run result{false, {}};
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> buf{};
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) result.output.append(buf.data(), n);
  result.ok = pclose(pipe) == 0;
  return result;
}

inline void makeDatabase(const fs::path& path) {
  const Run r = run(std::string(KP_MAKE_DB) + " " + quoted(path.string()));
  ASSERT_TRUE(r.ok) << r.output;
}

// The "Attributes" line of the header page as fbstat prints it, read by the
// in-process engine whatever FIREBIRD points at.
inline std::string attributes(const fs::path& path) {
  const Run r = run("env -u FIREBIRD fbstat -h " + quoted(path.string()));
  EXPECT_TRUE(r.ok) << r.output;
  const size_t at = r.output.find("Attributes");
  if (at == std::string::npos) return "fbstat printed no attributes: " + r.output;
  return r.output.substr(at, r.output.find('\n', at) - at);
}

inline bool readOnly(const fs::path& path) { return attributes(path).find("read only") != std::string::npos; }

inline std::optional<std::string> fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  std::array<char, 65536> buf{};
  while (in.read(buf.data(), buf.size()) || in.gcount() > 0) bytes.append(buf.data(), static_cast<size_t>(in.gcount()));
  return bytes;
}

// The switch as the program drives it, through the process's client library.
inline void switchAccessMode(const std::string& databaseName, bool toReadOnly,
                             const std::string& password = "quillbark") {
  service::TIBConfigService s;
  s.DatabaseName = databaseName;
  s.Params.clear();
  s.Params.push_back("user_name=sysdba");
  s.Params.push_back("password=" + password);
  s.LoginPrompt = false;
  s.SetActive(true);
  s.SetReadOnly(toReadOnly);
  s.SetActive(false);
}

// Restores the working directory when the test leaves.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const fs::path& to) : saved_(fs::current_path()) { fs::current_path(to); }
  ~WorkingDirectory() {
    std::error_code ignored;
    fs::current_path(saved_, ignored);
  }
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  fs::path saved_;
};

}  // namespace fbtest
