#include "window/qt/qt_timer.h"

#include <utility>

namespace window::qt {

QtTimerDriver::QtTimerDriver() {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (onTick_) onTick_();
  });
}

void QtTimerDriver::setTickHandler(std::function<void()> onTick) { onTick_ = std::move(onTick); }

}  // namespace window::qt
