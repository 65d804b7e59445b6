// The main window on Qt Widgets: the stored layout adapted to the screen, two
// labels and the "OK" button on a client area that scrolls when a control
// reaches beyond it, and the close timer's clock.
#pragma once
#include <QPushButton>
#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <memory>

#include "core/layout.h"
#include "window/qt/qt_label.h"
#include "window/qt/qt_timer.h"
#include "window/window.h"

namespace window::qt {

class QtForm final : public window::Form {
 public:
  explicit QtForm(const core::FormLayout& stored);
  ~QtForm() override;
  QtForm(const QtForm&) = delete;
  QtForm& operator=(const QtForm&) = delete;

  window::Label& label1() { return *label1_; }
  window::Label& label2() { return *label2_; }
  window::TimerDriver& timer1() { return timer1_; }
  void show();

  int screenWidth() const override;
  int screenHeight() const override;
  int width() const override;
  int height() const override;
  void setLeft(int left) override;
  void setTop(int top) override;
  void setCaption(const std::string& caption) override;
  core::TColor color() const override { return color_; }
  void setColor(core::TColor color) override;
  void postClose() override;
  void close() override;
  void showErrorBox(const std::string& message) override;
  void setButtonClickHandler(std::function<void()> onClick) override;

 private:
  void updateScrollExtent();

  std::unique_ptr<QWidget> window_;
  QScrollArea* scrollArea_ = nullptr;
  QWidget* client_ = nullptr;
  QtLabel* label1_ = nullptr;
  QtLabel* label2_ = nullptr;
  QPushButton* button1_ = nullptr;
  QtTimerDriver timer1_;
  core::TColor color_;
  std::function<void()> onClick_;
};

}  // namespace window::qt
