// Binding of the client library: load it by name, look up the entry points
// the service layer calls, and keep it until the process ends. A binding that
// fails keeps nothing, so the next attempt starts from scratch and never
// calls an entry point that an earlier attempt found missing.
#include "service/client_binding.h"

#include <utility>

#include "service/errors.h"

namespace service {

namespace {

// ERROR_PROC_NOT_FOUND: reported when the system keeps no code for a missing entry point.
constexpr int kEntryPointNotFound = 127;

// A client older than version 6 has no Services API. Its service calls are
// replaced by these, so the first one reached fails with a readable reason
// instead of jumping through a null pointer.
[[noreturn]] void unsupported(const char* call) {
  throw EIBClientError(std::string(call) + ": nicht unterstützt in dieser Client-Version");
}

ISC_STATUS KP_CLIENT_CALL attachSubstitute(ISC_STATUS*, unsigned short, const char*, isc_svc_handle*,
                                           unsigned short, const char*) {
  unsupported("isc_service_attach");
}

ISC_STATUS KP_CLIENT_CALL startSubstitute(ISC_STATUS*, isc_svc_handle*, isc_svc_handle*, unsigned short,
                                          const char*) {
  unsupported("isc_service_start");
}

ISC_STATUS KP_CLIENT_CALL detachSubstitute(ISC_STATUS*, isc_svc_handle*) {
  unsupported("isc_service_detach");
}

template <typename Fn>
Fn lookUp(const host::SharedLibrary& library, const char* name) {
  return reinterpret_cast<Fn>(library.symbol(name));
}

template <typename Fn>
Fn demand(const host::SharedLibrary& library, const char* name) {
  Fn fn = lookUp<Fn>(library, name);
  if (fn == nullptr) {
    const int code = host::lastSystemError();
    throw EOSError(code != 0 ? code : kEntryPointNotFound,
                   std::string("Einsprungpunkt ") + name + " fehlt in der Client-Bibliothek");
  }
  return fn;
}

}  // namespace

ClientBinding::ClientBinding(LibraryLoader loader, std::vector<std::string> names)
    : loader_(std::move(loader)), names_(std::move(names)) {}

const ClientApi& ClientBinding::bind() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (library_) return api_;

  std::unique_ptr<host::SharedLibrary> library;
  std::string tried;
  for (const std::string& name : names_) {
    library = loader_(name);
    if (library) break;
    tried += (tried.empty() ? "" : ", ") + name;
  }
  if (!library) throw EIBClientError("Client-Bibliothek nicht ladbar: " + tried);

  // Filled completely before anything is kept: a throw here drops the library.
  ClientApi api;
  api.isc_sqlcode = demand<isc_sqlcode_fn>(*library, "isc_sqlcode");
  api.isc_interprete = demand<isc_interprete_fn>(*library, "isc_interprete");
  api.fb_interpret = lookUp<fb_interpret_fn>(*library, "fb_interpret");
  if (library->symbol("isc_rollback_retaining") == nullptr) {
    api.isc_service_attach = attachSubstitute;
    api.isc_service_start = startSubstitute;
    api.isc_service_detach = detachSubstitute;
  } else {
    api.isc_service_attach = demand<isc_service_attach_fn>(*library, "isc_service_attach");
    api.isc_service_start = demand<isc_service_start_fn>(*library, "isc_service_start");
    api.isc_service_detach = demand<isc_service_detach_fn>(*library, "isc_service_detach");
  }

  api_ = api;
  library_ = std::move(library);
  return api_;
}

ClientBinding& processClientBinding() {
  static ClientBinding binding([](const std::string& name) { return host::loadLibrary(name); },
                               host::clientLibraryNames());
  return binding;
}

}  // namespace service
