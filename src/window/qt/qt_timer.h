#pragma once
#include <QTimer>
#include <functional>

#include "window/window.h"

namespace window::qt {

class QtTimerDriver final : public window::TimerDriver {
 public:
  QtTimerDriver();
  void start(int intervalMs) override { timer_.start(intervalMs); }
  void stop() override { timer_.stop(); }
  void setTickHandler(std::function<void()> onTick) override;

 private:
  QTimer timer_;
  std::function<void()> onTick_;
};

}  // namespace window::qt
