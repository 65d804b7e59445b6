// The read-only switch against a real Firebird server that the test run
// starts itself (tests/firebird/fbserver.sh, wired as CTest fixtures). The
// tests run with FIREBIRD pointing at the fixture's client root, so the local
// name "service_mgr" reaches that server. Every failure must come back with
// the server's own message and leave the database file as it was.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

#include "firebird_support.h"
#include "service/errors.h"

namespace {

using fbtest::TempDir;
namespace fs = std::filesystem;

std::string requiredEnv(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// A second connection through the server, kept open by an isql session that
// waits on its standard input until it is told to quit.
class HeldOpen {
 public:
  HeldOpen(const fs::path& db, const fs::path& output) : output_(output) {
    const std::string command = "env -u FIREBIRD isql-fb -q >" + fbtest::quoted(output.string()) + " 2>&1";
    session_ = popen(command.c_str(), "w");
    if (session_ == nullptr) return;
    std::fprintf(session_,
                 "connect '127.0.0.1/%d:%s' user sysdba password 'quillbark';\n"
                 "select 'connection' || ' held' from rdb$database;\n",
                 KP_FBSERVER_PORT, db.string().c_str());
    std::fflush(session_);
  }
  ~HeldOpen() {
    if (session_ == nullptr) return;
    std::fputs("quit;\n", session_);
    pclose(session_);
  }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;

  // True once the session has answered through its connection; false if it
  // ended or never answered.
  bool established() const {
    for (int i = 0; i < 600; ++i) {
      const auto text = fbtest::fileBytes(output_).value_or("");
      if (text.find("connection held") != std::string::npos) return true;
      if (text.find("Statement failed") != std::string::npos) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  std::string output() const { return fbtest::fileBytes(output_).value_or(""); }

 private:
  fs::path output_;
  FILE* session_ = nullptr;
};

class Server : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(requiredEnv("FIREBIRD").empty()) << "run through ctest: FIREBIRD names the fixture's client root";
  }
};

TEST_F(Server, SwitchesADatabaseToReadOnly) {
  TempDir dir;
  const auto db = dir / "served.fdb";
  fbtest::makeDatabase(db);
  ASSERT_FALSE(fbtest::readOnly(db)) << fbtest::attributes(db);
  fbtest::switchAccessMode(db.string(), true);
  EXPECT_TRUE(fbtest::readOnly(db)) << fbtest::attributes(db);
}

// What makes the switch fail, and words of the server's message for it.
enum class Target { Database, HeldDatabase, NotADatabase, Missing };

struct FailureCase {
  const char* label;
  Target target;
  const char* password;
  const char* messageWords;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.label; }

class ServerFailure : public Server, public testing::WithParamInterface<FailureCase> {};

TEST_P(ServerFailure, RaisesTheServersMessageAndLeavesTheFileAlone) {
  const FailureCase& c = GetParam();
  TempDir dir;
  const auto db = dir / "target.fdb";
  std::unique_ptr<HeldOpen> held;
  switch (c.target) {
    case Target::Database:
      fbtest::makeDatabase(db);
      break;
    case Target::HeldDatabase:
      fbtest::makeDatabase(db);
      held = std::make_unique<HeldOpen>(db, dir / "isql.out");
      ASSERT_TRUE(held->established()) << held->output();
      break;
    case Target::NotADatabase: {
      std::ofstream junk(db, std::ios::binary);
      for (int i = 0; i < 16384; ++i) junk.put(static_cast<char>((i * 131 + 7) & 0xFF));
      break;
    }
    case Target::Missing:
      break;
  }
  const auto before = fbtest::fileBytes(db);

  try {
    fbtest::switchAccessMode(db.string(), true, c.password);
    ADD_FAILURE() << "the switch went through";
  } catch (const service::EIBError& e) {
    const std::string message = e.what();
    EXPECT_NE(e.SQLCode, 0) << message;
    EXPECT_NE(e.IBErrorCode, 0) << message;
    EXPECT_NE(message.find(c.messageWords), std::string::npos) << message;
    ASSERT_FALSE(message.empty());
    EXPECT_NE(message.back(), '.') << message;
  }

  EXPECT_EQ(fbtest::fileBytes(db), before) << "the database file changed";
  held.reset();
  if (c.target == Target::Database || c.target == Target::HeldDatabase) {
    EXPECT_FALSE(fbtest::readOnly(db)) << fbtest::attributes(db);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Situations, ServerFailure,
    testing::Values(FailureCase{"WrongPassword", Target::Database, "wrong", "user name and password are not defined"},
                    FailureCase{"HeldOpenByAnotherConnection", Target::HeldDatabase, "quillbark", "is in use"},
                    FailureCase{"NotADatabase", Target::NotADatabase, "quillbark", "is not a valid database"},
                    FailureCase{"MissingFile", Target::Missing, "quillbark", "No such file or directory"}),
    [](const testing::TestParamInfo<FailureCase>& param) { return std::string(param.param.label); });

// Run against a fixture whose server has been started and stopped again.
TEST_F(Server, StoppedServerRefusesTheAttach) {
  TempDir dir;
  const auto db = dir / "unserved.fdb";
  fbtest::makeDatabase(db);
  const auto before = fbtest::fileBytes(db);
  try {
    fbtest::switchAccessMode(db.string(), true);
    ADD_FAILURE() << "the switch went through without a server";
  } catch (const service::EIBError& e) {
    const std::string message = e.what();
    EXPECT_NE(e.SQLCode, 0) << message;
    EXPECT_NE(e.IBErrorCode, 0) << message;
    EXPECT_NE(message.find("Unable to complete network request"), std::string::npos) << message;
  }
  EXPECT_EQ(fbtest::fileBytes(db), before);
  EXPECT_FALSE(fbtest::readOnly(db)) << fbtest::attributes(db);
}

}  // namespace
