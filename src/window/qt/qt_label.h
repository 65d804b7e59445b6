// A label as the form knows it: one line, sized to its text, '&' marking the
// next character as an underline mnemonic ("&&" is one '&'), and no
// background of its own, so the window's colour shows through.
#pragma once
#include <QWidget>
#include <functional>
#include <string>

#include "window/window.h"

namespace window::qt {

class QtLabel final : public QWidget, public window::Label {
 public:
  QtLabel(QWidget* parent, std::function<void()> onResized);
  std::string caption() const override;
  void setCaption(const std::string& text) override;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static constexpr int kFlags = Qt::TextShowMnemonic | Qt::TextSingleLine | Qt::AlignLeft | Qt::AlignTop;
  std::string text_;
  std::function<void()> onResized_;
};

}  // namespace window::qt
