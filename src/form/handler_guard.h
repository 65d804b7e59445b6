#pragma once
#include <functional>
#include <string>

#include "window/window.h"

namespace form {

// The text of the standard error box: the failure's message with a full stop
// added unless it already ends in one.
std::string errorBoxText(const std::string& message);

// Runs a handler the way the toolkit runs event handlers: a failure that
// escapes it is shown in the standard error box, and the program goes on.
void runGuarded(window::Form& window, const std::function<void()>& handler);

}  // namespace form
