#pragma once
#include <string>

#include "window/window.h"

namespace form {

// Tests whether the target exists and, if so, asks the server once to make it
// read-only; shows the outcome in the window's colour and Label1's text.
void PatchRun(const std::string& targetPath, window::Label& label1, window::Form& window);

}  // namespace form
