// Byte encodings of the two Services API requests that the read-only switch
// sends, and the message assembled from the client library's status texts.
// Every length field here is narrower than the text it describes, so each
// encoder refuses what its field cannot hold instead of letting it wrap.
#include "core/service_buffers.h"

#include <cstddef>
#include <cstdint>

namespace core {

namespace {

constexpr char kSpbVersion = 0x02;         // isc_spb_version
constexpr char kSpbCurrentVersion = 0x02;  // isc_spb_current_version
constexpr char kSpbUserName = 0x1C;        // isc_spb_user_name
constexpr char kSpbPassword = 0x1D;        // isc_spb_password

constexpr char kActionProperties = 0x08;  // isc_action_svc_properties
constexpr char kSpbDbName = 0x6A;         // isc_spb_dbname
constexpr char kPrpAccessMode = 0x0D;     // isc_spb_prp_access_mode
constexpr char kPrpReadOnly = 0x27;       // isc_spb_prp_am_readonly
constexpr char kPrpReadWrite = 0x28;      // isc_spb_prp_am_readwrite

// The attach takes the buffer's length as a signed 16-bit value.
constexpr std::size_t kMaxParameterBuffer = 0x7FFF;
// The start call takes the request's length as an unsigned 16-bit value.
constexpr std::size_t kMaxStartRequest = 0xFFFF;
constexpr std::size_t kMaxItemValue = 0xFF;

}  // namespace

std::string buildServiceParameterBuffer(const std::vector<std::string>& params) {
  std::string spb{kSpbVersion, kSpbCurrentVersion};
  for (const std::string& line : params) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
      throw EncodingError("Dienstparameter \"" + line + "\" hat kein \"=\"");
    }
    const std::string_view name = std::string_view(line).substr(0, eq);
    const std::string_view value = std::string_view(line).substr(eq + 1);
    char tag = 0;
    if (name == "user_name") {
      tag = kSpbUserName;
    } else if (name == "password") {
      tag = kSpbPassword;
    } else {
      throw EncodingError("Dienstparameter \"" + std::string(name) +
                          "\" wird nicht unterstützt (nur user_name und password)");
    }
    if (value.size() > kMaxItemValue) {
      throw EncodingError("Dienstparameter \"" + std::string(name) + "\" ist " +
                          std::to_string(value.size()) + " Bytes lang; höchstens 255 passen");
    }
    spb.push_back(tag);
    spb.push_back(static_cast<char>(static_cast<unsigned char>(value.size())));
    spb.append(value);
  }
  if (spb.size() > kMaxParameterBuffer) {
    throw EncodingError("Dienstparameterpuffer mit " + std::to_string(spb.size()) +
                        " Bytes ist länger als 32767 Bytes");
  }
  return spb;
}

std::string buildAccessModeRequest(std::string_view databaseName, bool readOnly) {
  std::string request(1, kActionProperties);
  if (!databaseName.empty()) {
    // The name's own field holds 65535, but the whole request must fit the
    // start call's 16-bit length too: tag, two length bytes and the two
    // access-mode bytes leave 65529 bytes for the name.
    constexpr std::size_t kOverhead = 1 + 1 + 2 + 2;
    if (databaseName.size() > kMaxStartRequest - kOverhead) {
      throw EncodingError("Datenbankname ist " + std::to_string(databaseName.size()) +
                          " Bytes lang; die Dienstanforderung fasst höchstens " +
                          std::to_string(kMaxStartRequest - kOverhead));
    }
    const auto length = static_cast<std::uint16_t>(databaseName.size());
    request.push_back(kSpbDbName);
    request.push_back(static_cast<char>(length & 0xFFu));
    request.push_back(static_cast<char>(length >> 8));
    request.append(databaseName);
  }
  request.push_back(kPrpAccessMode);
  request.push_back(readOnly ? kPrpReadOnly : kPrpReadWrite);
  return request;
}

std::string joinStatusTexts(const std::vector<std::string>& texts) {
  std::string message;
  for (const std::string& text : texts) {
    if (!message.empty() && message.back() != '\n') message += "\r\n";
    message += text;
  }
  if (!message.empty() && message.back() == '.') message.pop_back();
  return message;
}

}  // namespace core
