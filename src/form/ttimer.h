// TTimer: the close timer's rules on top of a toolkit clock. It counts only
// while enabled, with a non-zero interval and a bound handler; a change of any
// of these restarts it, setting a value it already holds does nothing.
#pragma once
#include <functional>

#include "window/window.h"

namespace form {

class TTimer {
 public:
  explicit TTimer(window::TimerDriver& driver);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  void SetOnTimer(std::function<void()> handler);

 private:
  void update();

  window::TimerDriver& driver_;
  bool enabled_ = true;
  int interval_ = 1000;
  std::function<void()> onTimer_;
};

}  // namespace form
