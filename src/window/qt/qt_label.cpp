#include "window/qt/qt_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <utility>

namespace window::qt {

QtLabel::QtLabel(QWidget* parent, std::function<void()> onResized)
    : QWidget(parent), onResized_(std::move(onResized)) {
  setFocusPolicy(Qt::NoFocus);
}

std::string QtLabel::caption() const { return text_; }

void QtLabel::setCaption(const std::string& text) {
  text_ = text;
  resize(sizeHint());
  update();
  if (onResized_) onResized_();
}

QSize QtLabel::sizeHint() const {
  const QFontMetrics metrics(font());
  const QString shown = QString::fromLocal8Bit(text_.data(), static_cast<qsizetype>(text_.size()));
  // An empty label still keeps the height of one line of its font.
  return {metrics.size(kFlags, shown).width(), metrics.height()};
}

void QtLabel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(rect(), kFlags,
                   QString::fromLocal8Bit(text_.data(), static_cast<qsizetype>(text_.size())));
}

}  // namespace window::qt
