#include "form/handler_guard.h"

#include <exception>

namespace form {

std::string errorBoxText(const std::string& message) {
  if (!message.empty() && message.back() == '.') return message;
  return message + ".";
}

void runGuarded(window::Form& window, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    window.showErrorBox(errorBoxText(e.what()));
  } catch (...) {
    window.showErrorBox(errorBoxText("Unbekannter Fehler"));
  }
}

}  // namespace form
