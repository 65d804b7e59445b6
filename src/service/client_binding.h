// Binding of the client library's entry points, once per process.
#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/host.h"
#include "service/client_api.h"

namespace service {

struct ClientApi {
  isc_service_attach_fn isc_service_attach = nullptr;
  isc_service_start_fn isc_service_start = nullptr;
  isc_service_detach_fn isc_service_detach = nullptr;
  isc_sqlcode_fn isc_sqlcode = nullptr;
  isc_interprete_fn isc_interprete = nullptr;
  fb_interpret_fn fb_interpret = nullptr;  // optional; bounded by the buffer's size
};

using LibraryLoader = std::function<std::unique_ptr<host::SharedLibrary>(const std::string&)>;

class ClientBinding {
 public:
  ClientBinding(LibraryLoader loader, std::vector<std::string> names);
  // Loads and binds at the first call; a failure leaves nothing bound, so the
  // next call tries again. Throws EIBClientError or EOSError.
  const ClientApi& bind();

 private:
  LibraryLoader loader_;
  std::vector<std::string> names_;
  std::unique_ptr<host::SharedLibrary> library_;
  ClientApi api_;
  std::mutex mutex_;
};

// The process's binding: the host's loader and client library names. Released at exit.
ClientBinding& processClientBinding();

}  // namespace service
