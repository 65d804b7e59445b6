#include "form/patch_run.h"

#include <memory>

#include "core/colors.h"
#include "host/host.h"
#include "service/ib_config_service.h"

namespace form {

namespace {
constexpr const char* kSuccessSuffix = " korrigiert";
constexpr const char* kFailureSuffix = " NICHT KORRIGIERT";
}  // namespace

void PatchRun(const std::string& targetPath, window::Label& label1, window::Form& window) {
  if (!host::fileExists(targetPath)) return;

  // The service object lives for this one attempt; releasing it closes a
  // connection that a failed step left open.
  std::unique_ptr<service::TIBConfigService> configService;
  try {
    configService = std::make_unique<service::TIBConfigService>(nullptr);
    configService->DatabaseName = targetPath;
    configService->Params.clear();
    configService->Params.emplace_back("user_name=sysdba");
    configService->Params.emplace_back("password=quillbark");
    configService->LoginPrompt = false;
    configService->SetActive(true);
    configService->SetReadOnly(true);
    configService->SetActive(false);
    // The label first: the window turns green only once everything else went through.
    label1.setCaption(label1.caption() + kSuccessSuffix);
    window.setColor(core::clGreen);
  } catch (...) {
    window.setColor(core::clRed);
    label1.setCaption(label1.caption() + kFailureSuffix);
  }
  configService.reset();
}

}  // namespace form
