// TIBConfigService: the configuration-service component. Talks to the
// server's service manager through the bound client library; every failed
// step raises.
#pragma once
#include <string>
#include <vector>

#include "service/client_api.h"
#include "service/client_binding.h"

namespace service {

enum class TProtocol { TCP, SPX, NamedPipe, Local };

class TIBConfigService {
 public:
  // Binds the process's client library on first use; throws if it cannot.
  explicit TIBConfigService(void* owner = nullptr);
  explicit TIBConfigService(ClientBinding& binding);
  ~TIBConfigService();
  TIBConfigService(const TIBConfigService&) = delete;
  TIBConfigService& operator=(const TIBConfigService&) = delete;

  std::string DatabaseName;
  std::vector<std::string> Params;
  bool LoginPrompt = true;
  TProtocol Protocol = TProtocol::Local;
  std::string ServerName;

  bool Active() const { return handle_ != 0; }
  void SetActive(bool value);  // true: attach; false: detach

  // The access-mode request: read-only when true, read-write when false.
  void SetReadOnly(bool value);

 private:
  void attach();
  void detach();
  [[noreturn]] void raiseFromStatus();

  const ClientApi& api_;
  isc_svc_handle handle_ = 0;
  std::string spb_;
  std::vector<std::string> spbParams_;
  bool spbBuilt_ = false;
  std::string startRequest_;
};

}  // namespace service
