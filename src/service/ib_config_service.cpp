// TIBConfigService: one connection to the server's service manager, held in
// a service handle. The handle is the whole state: Active reads it, and every
// failed call leaves it 0, so the object never believes in a connection that
// the client library has given up.
#include "service/ib_config_service.h"

#include <string>
#include <utility>

#include "core/service_buffers.h"
#include "service/errors.h"

namespace service {

namespace {

// The client library writes the outcome of each call here; one per thread,
// as the library's calls block the thread that makes them.
thread_local StatusVector statusVector{};

// fb_interpret and isc_interprete both write into a buffer of this size.
constexpr unsigned int kMessageBufferSize = 20480;

// Runs at scope exit whatever the outcome: the cleanup that must happen
// whether a call succeeded, failed, or threw from a substitute.
template <typename F>
class AtExit {
 public:
  explicit AtExit(F f) : f_(std::move(f)) {}
  ~AtExit() { f_(); }
  AtExit(const AtExit&) = delete;
  AtExit& operator=(const AtExit&) = delete;

 private:
  F f_;
};

std::string serviceName(TProtocol protocol, const std::string& server) {
  switch (protocol) {
    case TProtocol::TCP:
      return server + ":service_mgr";
    case TProtocol::NamedPipe:
      return "\\\\" + server + "\\service_mgr";
    case TProtocol::SPX:
      return server + "@service_mgr";
    case TProtocol::Local:
      break;
  }
  return "service_mgr";
}

}  // namespace

TIBConfigService::TIBConfigService(void* /*owner*/) : TIBConfigService(processClientBinding()) {}

TIBConfigService::TIBConfigService(ClientBinding& binding) : api_(binding.bind()) {}

TIBConfigService::~TIBConfigService() {
  if (handle_ == 0) return;
  try {
    detach();
  } catch (...) {
    // Releasing cannot report; the handle is gone either way.
  }
}

void TIBConfigService::SetActive(bool value) {
  if (value == Active()) return;
  if (value) {
    attach();
  } else {
    detach();
  }
}

void TIBConfigService::attach() {
  if (LoginPrompt) {
    throw EIBClientError("Anmeldung abgelehnt: LoginPrompt ist gesetzt, aber kein Anmeldedialog vorhanden");
  }
  if (!spbBuilt_ || spbParams_ != Params) {
    try {
      spb_ = core::buildServiceParameterBuffer(Params);
    } catch (const core::EncodingError& e) {
      throw EIBClientError(e.what());
    }
    spbParams_ = Params;
    spbBuilt_ = true;
  }
  const std::string name = serviceName(Protocol, ServerName);
  if (name.size() > 0xFFFF) {
    throw EIBClientError("Dienstname ist länger als 65535 Bytes");
  }

  handle_ = 0;
  const ISC_STATUS result =
      api_.isc_service_attach(statusVector, static_cast<unsigned short>(name.size()), name.c_str(), &handle_,
                              static_cast<unsigned short>(spb_.size()), spb_.data());
  if (result > 0) {
    handle_ = 0;
    raiseFromStatus();
  }
}

void TIBConfigService::detach() {
  AtExit dropHandle([this] { handle_ = 0; });
  if (api_.isc_service_detach(statusVector, &handle_) > 0) raiseFromStatus();
}

void TIBConfigService::SetReadOnly(bool value) {
  try {
    startRequest_ = core::buildAccessModeRequest(DatabaseName, value);
  } catch (const core::EncodingError& e) {
    throw EIBClientError(e.what());
  }
  AtExit emptyRequest([this] { startRequest_.clear(); });
  bool failed = true;
  AtExit dropHandleOnFailure([this, &failed] {
    if (failed) handle_ = 0;
  });
  const std::string buffer = startRequest_;
  failed = api_.isc_service_start(statusVector, &handle_, nullptr, static_cast<unsigned short>(buffer.size()),
                                  buffer.data()) > 0;
  if (failed) raiseFromStatus();
}

void TIBConfigService::raiseFromStatus() {
  const ISC_STATUS* status = statusVector;
  const long sqlCode = api_.isc_sqlcode(status);
  const long errorCode = static_cast<long>(status[1]);

  std::vector<std::string> texts;
  std::string buffer(kMessageBufferSize, '\0');
  const ISC_STATUS* cursor = status;
  // Each text consumes at least one entry of the vector, so a library that
  // never reports the end cannot keep this loop going.
  for (int i = 0; i < kStatusLength; ++i) {
    const ISC_LONG length = api_.fb_interpret != nullptr
                                ? api_.fb_interpret(buffer.data(), kMessageBufferSize, &cursor)
                                : api_.isc_interprete(buffer.data(), &cursor);
    if (length <= 0) break;
    texts.emplace_back(buffer.c_str());
  }
  throw EIBError(sqlCode, errorCode, core::joinStatusTexts(texts));
}

}  // namespace service
