// The read-only switch against the real client library and the in-process
// engine: with no server running, the local name "service_mgr" is served
// inside this process. Firebird's own fbstat is the judge of the outcome.
#include <string>

#include "firebird_support.h"
#include "service/errors.h"

namespace {

using fbtest::TempDir;

TEST(Engine, SwitchesADatabaseToReadOnly) {
  TempDir dir;
  const auto db = dir / "switch.fdb";
  fbtest::makeDatabase(db);
  ASSERT_FALSE(fbtest::readOnly(db)) << fbtest::attributes(db);
  fbtest::switchAccessMode(db.string(), true);
  EXPECT_TRUE(fbtest::readOnly(db)) << fbtest::attributes(db);
}

// The name goes to the engine as written, and the engine resolves it
// against this process's working directory.
TEST(Engine, RelativeNameFromAnotherWorkingDirectory) {
  TempDir dir;
  std::filesystem::create_directories(dir / "data");
  std::filesystem::create_directories(dir / "elsewhere");
  const auto db = dir / "data" / "relative.fdb";
  fbtest::makeDatabase(db);
  {
    fbtest::WorkingDirectory cwd(dir / "elsewhere");
    fbtest::switchAccessMode("../data/relative.fdb", true);
  }
  EXPECT_TRUE(fbtest::readOnly(db)) << fbtest::attributes(db);
}

TEST(Engine, AlreadyReadOnlyDatabaseStaysReadOnly) {
  TempDir dir;
  const auto db = dir / "twice.fdb";
  fbtest::makeDatabase(db);
  fbtest::switchAccessMode(db.string(), true);
  ASSERT_TRUE(fbtest::readOnly(db)) << fbtest::attributes(db);
  EXPECT_NO_THROW(fbtest::switchAccessMode(db.string(), true));
  EXPECT_TRUE(fbtest::readOnly(db)) << fbtest::attributes(db);
}

TEST(Engine, FlagFalseSwitchesBackToReadWrite) {
  TempDir dir;
  const auto db = dir / "back.fdb";
  fbtest::makeDatabase(db);
  fbtest::switchAccessMode(db.string(), true);
  ASSERT_TRUE(fbtest::readOnly(db)) << fbtest::attributes(db);
  fbtest::switchAccessMode(db.string(), false);
  EXPECT_FALSE(fbtest::readOnly(db)) << fbtest::attributes(db);
  EXPECT_NE(fbtest::attributes(db).find("Attributes"), std::string::npos);
}

TEST(Engine, MissingFileRaisesTheEnginesMessage) {
  TempDir dir;
  const auto db = dir / "missing.fdb";
  try {
    fbtest::switchAccessMode(db.string(), true);
    FAIL() << "switch of a missing file went through";
  } catch (const service::EIBError& e) {
    EXPECT_NE(e.SQLCode, 0);
    EXPECT_NE(e.IBErrorCode, 0);
    EXPECT_NE(std::string(e.what()).find(db.string()), std::string::npos) << e.what();
  }
  EXPECT_FALSE(std::filesystem::exists(db));
}

}  // namespace
