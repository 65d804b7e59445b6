// Byte encodings of the service requests and the assembly of error messages.
// Expected bytes are written out literally, so a wrong tag, order or length
// byte shows up as a difference.
#include "core/service_buffers.h"
#include "support/hex.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using testsupport::hex;

struct SpbCase {
  const char* label;
  std::vector<std::string> params;
  std::string expectedHex;
};

void PrintTo(const SpbCase& c, std::ostream* os) { *os << c.label; }

class ParameterBuffer : public testing::TestWithParam<SpbCase> {};

TEST_P(ParameterBuffer, EncodesEachLineInOrder) {
  EXPECT_EQ(hex(core::buildServiceParameterBuffer(GetParam().params)), GetParam().expectedHex);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParameterBuffer,
    testing::Values(
        SpbCase{"none", {}, "0202"},
        SpbCase{"credentials", {"user_name=sysdba", "password=quillbark"},
                "02021c067379736462611d097175696c6c6261726b"},
        SpbCase{"password first", {"password=pw", "user_name=u"}, "02021d0270771c0175"},
        SpbCase{"empty value", {"user_name="}, "02021c00"},
        SpbCase{"blanks and equals kept", {"password= a=b "}, "02021d0520613d6220"},
        SpbCase{"repeated name", {"user_name=a", "user_name=b"}, "02021c01611c0162"}),
    [](const testing::TestParamInfo<SpbCase>& param) {
      std::string name = param.param.label;
      for (char& c : name)
        if (c == ' ') c = '_';
      return name;
    });

TEST(ParameterBuffer, ValueOf255BytesFitsItsLengthByte) {
  const std::string value(255, 'p');
  EXPECT_EQ(hex(core::buildServiceParameterBuffer({"password=" + value})), "02021dff" + hex(value));
}

TEST(ParameterBuffer, RefusesWhatItCannotEncode) {
  const std::vector<std::vector<std::string>> refused = {
      {"password=" + std::string(256, 'p')},
      {"user_name=sysdba", "role=admin"},
      {"user_name"},
      {"USER_NAME=sysdba"},
      {" user_name=sysdba"},
  };
  for (const auto& params : refused) {
    EXPECT_THROW(core::buildServiceParameterBuffer(params), core::EncodingError) << params.back();
  }
}

struct RequestCase {
  std::size_t nameLength;
  bool readOnly;
  // The bytes between the action byte and the access-mode item.
  std::string nameItemHeadHex;
};

void PrintTo(const RequestCase& c, std::ostream* os) {
  *os << c.nameLength << (c.readOnly ? " read-only" : " read-write");
}

class AccessModeRequest : public testing::TestWithParam<RequestCase> {};

TEST_P(AccessModeRequest, EncodesActionNameAndMode) {
  const RequestCase& c = GetParam();
  std::string name;
  for (std::size_t i = 0; i < c.nameLength; ++i) name += static_cast<char>('A' + i % 26);
  const std::string request = core::buildAccessModeRequest(name, c.readOnly);
  const std::string expected =
      "08" + c.nameItemHeadHex + (c.nameLength ? hex(name) : "") + (c.readOnly ? "0d27" : "0d28");
  EXPECT_EQ(hex(request), expected);
}

INSTANTIATE_TEST_SUITE_P(Names, AccessModeRequest,
                         testing::Values(RequestCase{0, true, ""}, RequestCase{0, false, ""},
                                         RequestCase{14, true, "6a0e00"}, RequestCase{14, false, "6a0e00"},
                                         RequestCase{255, true, "6aff00"}, RequestCase{256, true, "6a0001"},
                                         RequestCase{65529, true, "6af9ff"}));

TEST(AccessModeRequest, FourteenBytesGiveTwentyBytes) {
  EXPECT_EQ(core::buildAccessModeRequest("Kestrum.DAT123", true).size(), 20u);
}

TEST(AccessModeRequest, NameIsTakenByteForByte) {
  const std::string name("C:\\a b\\..\\x.fdb\0z\xE4", 19);
  EXPECT_EQ(hex(core::buildAccessModeRequest(name, true)), "086a1300" + hex(name) + "0d27");
}

// The start call's length is 16 bits: a name whose request would not fit is
// refused rather than sent with a wrapped length.
TEST(AccessModeRequest, RefusesNamesTheRequestCannotHold) {
  for (std::size_t length : {65530u, 65535u, 65536u, 70000u}) {
    EXPECT_THROW(core::buildAccessModeRequest(std::string(length, 'n'), true), core::EncodingError) << length;
  }
}

struct JoinCase {
  std::vector<std::string> texts;
  std::string expected;
};

void PrintTo(const JoinCase& c, std::ostream* os) { *os << c.texts.size() << " texts"; }

class StatusTexts : public testing::TestWithParam<JoinCase> {};

TEST_P(StatusTexts, JoinWithCrLfAndDropOneFinalStop) {
  EXPECT_EQ(core::joinStatusTexts(GetParam().texts), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StatusTexts,
    testing::Values(JoinCase{{}, ""}, JoinCase{{"only"}, "only"}, JoinCase{{"only."}, "only"},
                    JoinCase{{"first", "second."}, "first\r\nsecond"},
                    JoinCase{{"first.", "second"}, "first.\r\nsecond"},
                    JoinCase{{"ends in LF\n", "next"}, "ends in LF\nnext"},
                    JoinCase{{"two stops.."}, "two stops."}, JoinCase{{"a", "b", "c."}, "a\r\nb\r\nc"},
                    JoinCase{{"", "after empty"}, "after empty"}, JoinCase{{"."}, ""}));

}  // namespace
