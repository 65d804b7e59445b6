// What the form's handlers need of a window toolkit. A backend implements
// these for its toolkit (window/qt, window/win32) and holds no decision of the
// program: it draws, measures and delivers events.
#pragma once
#include <functional>
#include <string>

#include "core/colors.h"

namespace window {

class Label {
 public:
  virtual ~Label() = default;
  virtual std::string caption() const = 0;
  // Sizes the label to the text on one line; '&' marks the next character.
  virtual void setCaption(const std::string& text) = 0;
};

// The toolkit's clock behind TTimer: start counting afresh, or stop.
class TimerDriver {
 public:
  virtual ~TimerDriver() = default;
  virtual void start(int intervalMs) = 0;  // throws when the system has no timer left
  virtual void stop() = 0;
  virtual void setTickHandler(std::function<void()> onTick) = 0;
};

class Form {
 public:
  virtual ~Form() = default;
  virtual int screenWidth() const = 0;
  virtual int screenHeight() const = 0;
  virtual int width() const = 0;   // outer size, frame included
  virtual int height() const = 0;
  virtual void setLeft(int left) = 0;
  virtual void setTop(int top) = 0;
  virtual void setCaption(const std::string& caption) = 0;
  virtual core::TColor color() const = 0;
  virtual void setColor(core::TColor color) = 0;  // labels follow the window's colour
  virtual void postClose() = 0;                   // a WM_CLOSE through the message loop
  virtual void close() = 0;                       // close now; closing the main form ends the loop
  virtual void showErrorBox(const std::string& message) = 0;
  virtual void setButtonClickHandler(std::function<void()> onClick) = 0;
};

}  // namespace window
