#include "form/ttimer.h"

#include <utility>

namespace form {

TTimer::TTimer(window::TimerDriver& driver) : driver_(driver) {
  driver_.setTickHandler([this] {
    if (onTimer_) onTimer_();
  });
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  update();
}

void TTimer::SetInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  update();
}

void TTimer::SetOnTimer(std::function<void()> handler) {
  onTimer_ = std::move(handler);
  update();
}

void TTimer::update() {
  driver_.stop();
  if (enabled_ && interval_ != 0 && onTimer_) driver_.start(interval_);
}

}  // namespace form
