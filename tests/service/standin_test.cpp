// TIBConfigService against the stand-in client library: what exactly is
// handed to the library, in which order, and what survives each failure.
// The stand-in records every service call in a log file and fails the calls
// it is told to (tests/standin/standin_client.c). The same source runs on
// Linux and, cross-built, under Wine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "host/host.h"
#include "service/client_binding.h"
#include "service/errors.h"
#include "service/ib_config_service.h"
#include "support/hex.h"

using service::ClientBinding;
using service::EIBClientError;
using service::EIBError;
using service::EOSError;
using service::TIBConfigService;
using service::TProtocol;

namespace {

namespace fs = std::filesystem;

// Build paths are host paths; under Wine a Unix path is reached through drive Z:.
std::string libraryPath(const char* buildPath) {
#ifdef _WIN32
  if (buildPath[0] == '/') return std::string("Z:") + buildPath;
#endif
  return buildPath;
}

const std::string kStandIn = libraryPath(KP_STANDIN_CLIENT);
const std::string kPre6 = libraryPath(KP_STANDIN_PRE6);
const std::string kNoSqlCode = libraryPath(KP_STANDIN_NO_SQLCODE);
const std::string kNoFbInterpret = libraryPath(KP_STANDIN_NO_FB_INTERPRET);

void setEnv(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

void unsetEnv(const char* name) {
#ifdef _WIN32
  _putenv_s(name, "");
#else
  unsetenv(name);
#endif
}

using testsupport::hex;

std::vector<std::string> readLines(const fs::path& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// "sysdba" and "quillbark" under their tags, written out by hand.
const std::string kCredentialsSpb = "02021c06737973646261" "1d097175696c6c6261726b";
// "service_mgr"
const std::string kServiceMgrHex = "736572766963655f6d6772";
const std::string kAttachLine = "attach " + kServiceMgrHex + " " + kCredentialsSpb;

class StandIn : public testing::Test {
 protected:
  void SetUp() override {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string leaf = std::string("kp-standin-") + info->test_suite_name() + "-" + info->name();
    for (char& c : leaf)
      if (c == '/') c = '_';
    dir_ = fs::temp_directory_path() / leaf;
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    log_ = dir_ / "calls.log";
    interpretLog_ = dir_ / "interpret.log";
    setEnv("KP_STANDIN_LOG", log_.string());
    setEnv("KP_STANDIN_INTERPRET_LOG", interpretLog_.string());
    unsetEnv("KP_STANDIN_FAIL");
    unsetEnv("KP_STANDIN_CODE");
    unsetEnv("KP_STANDIN_TEXTS");
  }

  void TearDown() override {
    unsetEnv("KP_STANDIN_LOG");
    unsetEnv("KP_STANDIN_INTERPRET_LOG");
    unsetEnv("KP_STANDIN_FAIL");
    unsetEnv("KP_STANDIN_CODE");
    unsetEnv("KP_STANDIN_TEXTS");
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  // The error that an attach refused by the stand-in raises.
  static EIBError attachError(TIBConfigService& s) {
    try {
      s.SetActive(true);
    } catch (const EIBError& e) {
      return e;
    }
    ADD_FAILURE() << "attach did not fail";
    return EIBError(0, 0, "");
  }

  static std::unique_ptr<ClientBinding> bindingTo(const std::string& path) {
    return std::make_unique<ClientBinding>(
        [](const std::string& name) { return host::loadLibrary(name); }, std::vector<std::string>{path});
  }

  // The component as the read-only switch sets it up.
  static void configure(TIBConfigService& s, const std::string& databaseName) {
    s.DatabaseName = databaseName;
    s.Params.clear();
    s.Params.push_back("user_name=sysdba");
    s.Params.push_back("password=quillbark");
    s.LoginPrompt = false;
  }

  std::vector<std::string> calls() const { return readLines(log_); }
  std::vector<std::string> interpretCalls() const { return readLines(interpretLog_); }

  fs::path dir_;
  fs::path log_;
  fs::path interpretLog_;
  std::unique_ptr<ClientBinding> binding_ = bindingTo(kStandIn);
};

std::string nameOfLength(std::size_t n) {
  std::string name;
  for (std::size_t i = 0; i < n; ++i) name += static_cast<char>('a' + i % 26);
  return name;
}

// ---- The bytes on the wire ------------------------------------------------

struct NameCase {
  std::size_t length;
  bool readOnly;
  std::string headHex;  // tag and length bytes of the name item, by hand
};

void PrintTo(const NameCase& c, std::ostream* os) {
  *os << c.length << (c.readOnly ? " read-only" : " read-write");
}

class StandInRequest : public StandIn, public testing::WithParamInterface<NameCase> {};

TEST_P(StandInRequest, SwitchSendsAttachStartDetachWithExactBytes) {
  const NameCase& c = GetParam();
  const std::string name = nameOfLength(c.length);
  {
    TIBConfigService s(*binding_);
    configure(s, name);
    s.SetActive(true);
    EXPECT_TRUE(s.Active());
    s.SetReadOnly(c.readOnly);
    EXPECT_TRUE(s.Active());
    s.SetActive(false);
    EXPECT_FALSE(s.Active());
  }
  const std::string request = "08" + c.headHex + hex(name) + (c.readOnly ? "0d27" : "0d28");
  EXPECT_EQ(calls(), (std::vector<std::string>{kAttachLine, "start " + request, "detach"}));
}

INSTANTIATE_TEST_SUITE_P(NameLengths, StandInRequest,
                         testing::Values(NameCase{0, true, ""}, NameCase{14, true, "6a0e00"},
                                         NameCase{14, false, "6a0e00"}, NameCase{255, true, "6aff00"},
                                         NameCase{256, true, "6a0001"}, NameCase{65529, true, "6af9ff"}));

// A name whose request cannot carry its length in the start call's 16 bits is
// refused before the request goes out; the connection stays as it was.
class StandInRefusedName : public StandIn, public testing::WithParamInterface<std::size_t> {};

TEST_P(StandInRefusedName, NothingIsSent) {
  {
    TIBConfigService s(*binding_);
    configure(s, nameOfLength(GetParam()));
    s.SetActive(true);
    EXPECT_THROW(s.SetReadOnly(true), EIBClientError);
    EXPECT_TRUE(s.Active());
  }
  EXPECT_EQ(calls(), (std::vector<std::string>{kAttachLine, "detach"}));
}

INSTANTIATE_TEST_SUITE_P(NameLengths, StandInRefusedName, testing::Values(65530u, 65535u, 65536u));

TEST_F(StandIn, RelativeNameIsSentAsWritten) {
  TIBConfigService s(*binding_);
  configure(s, "Kestrum.DAT");
  s.SetActive(true);
  s.SetReadOnly(true);
  EXPECT_EQ(calls().at(1), "start 086a0b004b65737472756d2e4441540d27");
}

struct ParamsCase {
  std::vector<std::string> params;
  std::string spbHex;
};

void PrintTo(const ParamsCase& c, std::ostream* os) { *os << c.params.size() << " lines"; }

class StandInParams : public StandIn, public testing::WithParamInterface<ParamsCase> {};

TEST_P(StandInParams, AttachCarriesTheParameterBuffer) {
  TIBConfigService s(*binding_);
  s.Params = GetParam().params;
  s.LoginPrompt = false;
  s.SetActive(true);
  EXPECT_EQ(calls(), (std::vector<std::string>{"attach " + kServiceMgrHex + " " + GetParam().spbHex}));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, StandInParams,
    testing::Values(ParamsCase{{}, "0202"}, ParamsCase{{"user_name=sysdba", "password=quillbark"}, kCredentialsSpb},
                    ParamsCase{{"password=a=b c"}, "02021d05613d622063"}, ParamsCase{{"user_name="}, "02021c00"},
                    ParamsCase{{"password=" + std::string(255, 'x')}, "02021dff" + hex(std::string(255, 'x'))}));

struct RefusedParamsCase {
  const char* label;
  std::vector<std::string> params;
};

void PrintTo(const RefusedParamsCase& c, std::ostream* os) { *os << c.label; }

class StandInRefusedParams : public StandIn, public testing::WithParamInterface<RefusedParamsCase> {};

TEST_P(StandInRefusedParams, AttachIsRefusedBeforeAnythingIsSent) {
  TIBConfigService s(*binding_);
  s.Params = GetParam().params;
  s.LoginPrompt = false;
  EXPECT_THROW(s.SetActive(true), EIBClientError);
  EXPECT_FALSE(s.Active());
  EXPECT_TRUE(calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Lines, StandInRefusedParams,
                         testing::Values(RefusedParamsCase{"value of 256 bytes", {"password=" + std::string(256, 'x')}},
                                         RefusedParamsCase{"other name", {"user_name=sysdba", "role=RDB$ADMIN"}},
                                         RefusedParamsCase{"no equals sign", {"sysdba"}}));

struct ProtocolCase {
  TProtocol protocol;
  std::string serviceName;
};

void PrintTo(const ProtocolCase& c, std::ostream* os) { *os << c.serviceName; }

class StandInProtocol : public StandIn, public testing::WithParamInterface<ProtocolCase> {};

TEST_P(StandInProtocol, ServiceNameFollowsTheProtocol) {
  TIBConfigService s(*binding_);
  configure(s, "x");
  s.Protocol = GetParam().protocol;
  s.ServerName = "dbhost";
  s.SetActive(true);
  EXPECT_EQ(calls(), (std::vector<std::string>{"attach " + hex(GetParam().serviceName) + " " + kCredentialsSpb}));
}

INSTANTIATE_TEST_SUITE_P(Protocols, StandInProtocol,
                         testing::Values(ProtocolCase{TProtocol::Local, "service_mgr"},
                                         ProtocolCase{TProtocol::TCP, "dbhost:service_mgr"},
                                         ProtocolCase{TProtocol::NamedPipe, "\\\\dbhost\\service_mgr"},
                                         ProtocolCase{TProtocol::SPX, "dbhost@service_mgr"}));

// ---- The states -----------------------------------------------------------

TEST_F(StandIn, FreshComponentHoldsTheDocumentedDefaults) {
  TIBConfigService s(*binding_);
  EXPECT_FALSE(s.Active());
  EXPECT_TRUE(s.LoginPrompt);
  EXPECT_EQ(s.Protocol, TProtocol::Local);
  EXPECT_TRUE(s.DatabaseName.empty());
  EXPECT_TRUE(s.Params.empty());
  EXPECT_TRUE(s.ServerName.empty());
}

TEST_F(StandIn, WritingTheCurrentValueOfActiveSendsNothing) {
  {
    TIBConfigService s(*binding_);
    configure(s, "x");
    s.SetActive(false);
    EXPECT_TRUE(calls().empty());
    s.SetActive(true);
    s.SetActive(true);
    EXPECT_TRUE(s.Active());
    s.SetActive(false);
    s.SetActive(false);
    EXPECT_FALSE(s.Active());
  }
  EXPECT_EQ(calls(), (std::vector<std::string>{kAttachLine, "detach"}));
}

TEST_F(StandIn, LoginPromptRefusesTheAttachBeforeAnythingIsSent) {
  TIBConfigService s(*binding_);
  configure(s, "x");
  s.LoginPrompt = true;
  EXPECT_THROW(s.SetActive(true), EIBClientError);
  EXPECT_FALSE(s.Active());
  EXPECT_TRUE(calls().empty());
}

TEST_F(StandIn, ReleaseWhileConnectedDetachesFirst) {
  {
    TIBConfigService s(*binding_);
    configure(s, "x");
    s.SetActive(true);
  }
  EXPECT_EQ(calls(), (std::vector<std::string>{kAttachLine, "detach"}));
}

TEST_F(StandIn, ReleaseWithoutConnectionSendsNothing) {
  { TIBConfigService s(*binding_); }
  EXPECT_TRUE(calls().empty());
}

TEST_F(StandIn, ParameterBufferIsRebuiltWhenParamsChange) {
  TIBConfigService s(*binding_);
  configure(s, "x");
  s.SetActive(true);
  s.SetActive(false);
  s.SetActive(true);
  s.SetActive(false);
  s.Params.back() = "password=new";
  s.SetActive(true);
  EXPECT_EQ(calls(), (std::vector<std::string>{kAttachLine, "detach", kAttachLine, "detach",
                                               "attach " + kServiceMgrHex + " 02021c067379736462611d036e6577"}));
}

// ---- Failures -------------------------------------------------------------

struct FailureCase {
  const char* failing;
  std::vector<std::string> expectedCalls;  // the whole switch, then the release
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.failing; }

class StandInFailure : public StandIn, public testing::WithParamInterface<FailureCase> {};

// Each failed call raises the converted status, leaves no handle, and the
// release sends nothing more: no detach after a failed attach or start.
TEST_P(StandInFailure, RaisesAndLeavesNoConnection) {
  setEnv("KP_STANDIN_FAIL", GetParam().failing);
  setEnv("KP_STANDIN_CODE", "335544472");
  setEnv("KP_STANDIN_TEXTS", "refused by the stand-in.");
  bool raised = false;
  {
    TIBConfigService s(*binding_);
    configure(s, "x.fdb");
    try {
      s.SetActive(true);
      s.SetReadOnly(true);
      s.SetActive(false);
    } catch (const EIBError& e) {
      raised = true;
      EXPECT_EQ(e.IBErrorCode, 335544472);
      EXPECT_EQ(e.SQLCode, -902);
      EXPECT_STREQ(e.what(), "refused by the stand-in");
    }
    EXPECT_FALSE(s.Active());
    EXPECT_EQ(s.DatabaseName, "x.fdb");
  }
  EXPECT_TRUE(raised);
  EXPECT_EQ(calls(), GetParam().expectedCalls);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, StandInFailure,
    testing::Values(FailureCase{"attach", {kAttachLine}},
                    FailureCase{"start", {kAttachLine, "start 086a0500782e6664620d27"}},
                    FailureCase{"detach", {kAttachLine, "start 086a0500782e6664620d27", "detach"}}),
    [](const testing::TestParamInfo<FailureCase>& param) { return std::string(param.param.failing); });

TEST_F(StandIn, FailedReleaseDetachIsSwallowed) {
  setEnv("KP_STANDIN_FAIL", "detach");
  {
    TIBConfigService s(*binding_);
    configure(s, "x");
    s.SetActive(true);
  }
  EXPECT_EQ(calls(), (std::vector<std::string>{kAttachLine, "detach"}));
}

TEST_F(StandIn, StartAfterAFailedStartGoesOutWithTheDroppedHandle) {
  setEnv("KP_STANDIN_FAIL", "start");
  TIBConfigService s(*binding_);
  configure(s, "x");
  s.SetActive(true);
  EXPECT_THROW(s.SetReadOnly(true), EIBError);
  unsetEnv("KP_STANDIN_FAIL");
  // No test of its own: the request reaches the library, which refuses handle 0.
  try {
    s.SetReadOnly(true);
    ADD_FAILURE() << "start with handle 0 succeeded";
  } catch (const EIBError& e) {
    EXPECT_EQ(e.IBErrorCode, 335544559);
  }
  EXPECT_EQ(calls().size(), 3u);
}

struct TextsCase {
  std::string texts;
  std::string message;
};

void PrintTo(const TextsCase& c, std::ostream* os) { *os << c.texts.size() << " bytes of texts"; }

class StandInMessage : public StandIn, public testing::WithParamInterface<TextsCase> {};

TEST_P(StandInMessage, StatusTextsAreJoined) {
  setEnv("KP_STANDIN_FAIL", "attach");
  setEnv("KP_STANDIN_TEXTS", GetParam().texts);
  TIBConfigService s(*binding_);
  configure(s, "x");
  const EIBError e = attachError(s);
  EXPECT_EQ(std::string(e.what()), GetParam().message);
  EXPECT_EQ(e.IBErrorCode, 335544344);
}

INSTANTIATE_TEST_SUITE_P(Texts, StandInMessage,
                         testing::Values(TextsCase{"first text|second text.", "first text\r\nsecond text"},
                                         TextsCase{"one.", "one"}, TextsCase{"ends in LF\n|next", "ends in LF\nnext"},
                                         TextsCase{"a.|b|c..", "a.\r\nb\r\nc."}));

// The texts come from fb_interpret with the buffer's size where the library
// has it, since isc_interprete cannot be told where the buffer ends.
struct InterpretCase {
  const char* label;
  const std::string* library;
  const char* expectedCall;
};

void PrintTo(const InterpretCase& c, std::ostream* os) { *os << c.label; }

class StandInInterpret : public StandIn, public testing::WithParamInterface<InterpretCase> {};

TEST_P(StandInInterpret, TextsComeFromTheBoundedCallWhenPresent) {
  binding_ = bindingTo(*GetParam().library);
  setEnv("KP_STANDIN_FAIL", "attach");
  setEnv("KP_STANDIN_TEXTS", "first|second.");
  TIBConfigService s(*binding_);
  configure(s, "x");
  EXPECT_STREQ(attachError(s).what(), "first\r\nsecond");
  const std::string call = GetParam().expectedCall;
  EXPECT_EQ(interpretCalls(), (std::vector<std::string>{call, call, call}));
}

INSTANTIATE_TEST_SUITE_P(Libraries, StandInInterpret,
                         testing::Values(InterpretCase{"with_fb_interpret", &kStandIn, "fb_interpret 20480"},
                                         InterpretCase{"isc_interprete_only", &kNoFbInterpret, "isc_interprete"}),
                         [](const testing::TestParamInfo<InterpretCase>& param) {
                           return std::string(param.param.label);
                         });

TEST_F(StandIn, OverlongTextIsCutToTheBuffer) {
  setEnv("KP_STANDIN_FAIL", "attach");
  setEnv("KP_STANDIN_TEXTS", std::string(30000, 'w'));
  TIBConfigService s(*binding_);
  configure(s, "x");
  EXPECT_EQ(std::string(attachError(s).what()), std::string(20479, 'w'));
}

// ---- Binding the library --------------------------------------------------

TEST_F(StandIn, MissingLibraryFailsConstructionAndTheNextLoadsAfresh) {
  std::vector<std::string> asked;
  bool available = false;
  ClientBinding binding(
      [&](const std::string& name) -> std::unique_ptr<host::SharedLibrary> {
        asked.push_back(name);
        return available ? host::loadLibrary(name) : nullptr;
      },
      {kStandIn});
  EXPECT_THROW(TIBConfigService{binding}, EIBClientError);
  EXPECT_EQ(asked.size(), 1u);
  available = true;
  {
    TIBConfigService s(binding);
    configure(s, "x");
    s.SetActive(true);
  }
  EXPECT_EQ(asked.size(), 2u);
  // Bound now, for good: later constructions load nothing.
  { TIBConfigService again(binding); }
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(calls(), (std::vector<std::string>{kAttachLine, "detach"}));
}

TEST_F(StandIn, NamesAreTriedInOrderUntilOneLoads) {
  std::vector<std::string> asked;
  const std::string missing = (dir_ / "no-such-client-library").string();
  ClientBinding binding(
      [&](const std::string& name) {
        asked.push_back(name);
        return host::loadLibrary(name);
      },
      {missing, kStandIn, kPre6});
  TIBConfigService s(binding);
  configure(s, "x");
  s.SetActive(true);
  EXPECT_EQ(asked, (std::vector<std::string>{missing, kStandIn}));
  EXPECT_EQ(calls(), (std::vector<std::string>{kAttachLine}));
}

TEST_F(StandIn, NoLoadableNameFailsConstruction) {
  ClientBinding binding([](const std::string& name) { return host::loadLibrary(name); },
                        {(dir_ / "none-1").string(), (dir_ / "none-2").string()});
  EXPECT_THROW(TIBConfigService{binding}, EIBClientError);
  EXPECT_THROW(TIBConfigService{binding}, EIBClientError);
}

// Each service call of a client older than version 6 fails with an error
// that names the call, and nothing reaches the library.
TEST_F(StandIn, ClientOlderThanVersion6FailsEachCallNamingIt) {
  binding_ = bindingTo(kPre6);
  TIBConfigService s(*binding_);
  configure(s, "x");
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"isc_service_attach", [&] { s.SetActive(true); }},
      {"isc_service_start", [&] { s.SetReadOnly(true); }},
  };
  for (const auto& [call, step] : steps) {
    try {
      step();
      ADD_FAILURE() << call << " went through";
    } catch (const EIBClientError& e) {
      EXPECT_NE(std::string(e.what()).find(call), std::string::npos) << e.what();
    }
    EXPECT_FALSE(s.Active());
  }
  EXPECT_TRUE(calls().empty());
}

TEST_F(StandIn, MissingDemandedEntryPointFailsConstructionAndKeepsNothing) {
  int loads = 0;
  ClientBinding binding(
      [&](const std::string&) {
        ++loads;
        return host::loadLibrary(loads < 3 ? kNoSqlCode : kStandIn);
      },
      {"client"});
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      TIBConfigService s(binding);
      ADD_FAILURE() << "constructed without isc_sqlcode";
    } catch (const EOSError& e) {
      EXPECT_NE(e.ErrorCode, 0);
      EXPECT_NE(std::string(e.what()).find("isc_sqlcode"), std::string::npos) << e.what();
    }
  }
  // Nothing of the failed attempts was kept: the next one binds from scratch.
  TIBConfigService s(binding);
  configure(s, "x");
  s.SetActive(true);
  EXPECT_EQ(loads, 3);
  EXPECT_EQ(calls(), (std::vector<std::string>{kAttachLine}));
}

}  // namespace
