#include "window/qt/qt_form.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMetaObject>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace window::qt {

namespace {

QString local8Bit(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QFont toQFont(const core::FontSpec& spec) {
  QFont font(QString::fromLatin1(spec.name.data(), static_cast<qsizetype>(spec.name.size())));
  font.setPixelSize(-spec.height);  // a negative height is the em size in pixels
  font.setBold(spec.bold);
  return font;
}

QColor toQColor(core::TColor color) {
  if (color == core::clBtnFace) return QApplication::palette().color(QPalette::Button);
  return {core::redOf(color), core::greenOf(color), core::blueOf(color)};
}

int screenDotsPerInch() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? static_cast<int>(screen->logicalDotsPerInchY() + 0.5) : 96;
}

void place(QWidget& widget, const core::Rect& r) { widget.setGeometry(r.left, r.top, r.width, r.height); }

// A push button with the focus is pressed by Enter as well as by Space.
class EnterPressesButton final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        static_cast<QPushButton*>(watched)->click();
        return true;
      }
    }
    return false;
  }
};

// The stored size is the outer size, frame included. The window manager tells
// its frame only once the window is mapped; then the window is shrunk by it,
// once, so that frame and window together keep the stored size.
class OuterSizeKeeper final : public QObject {
 public:
  OuterSizeKeeper(QWidget* window, QSize outer) : QObject(window), window_(window), outer_(outer) {}
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    const auto type = event->type();
    if (!done_ && (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize ||
                   type == QEvent::WindowActivate)) {
      const QSize frame = window_->frameGeometry().size() - window_->size();
      if (!frame.isNull()) {
        done_ = true;
        window_->resize(outer_ - frame);
      }
    }
    return false;
  }

 private:
  QWidget* window_;
  QSize outer_;
  bool done_ = false;
};

}  // namespace

QtForm::QtForm(const core::FormLayout& stored) : color_(stored.color) {
  const core::FormLayout layout =
      core::adaptToResolution(stored, screenDotsPerInch(),
                              [](const core::FontSpec& font) { return QFontMetrics(toQFont(font)).height(); });

  window_ = std::make_unique<QWidget>();
  window_->setWindowTitle(QString::fromLatin1(layout.caption.data(), static_cast<qsizetype>(layout.caption.size())));
  window_->setFont(toQFont(layout.font));
  window_->setWindowIcon(QIcon(QStringLiteral(":/MAINICON")));  // the program's main icon, if it has one
  window_->move(layout.bounds.left, layout.bounds.top);
  window_->resize(layout.bounds.width, layout.bounds.height);
  window_->installEventFilter(
      new OuterSizeKeeper(window_.get(), QSize(layout.bounds.width, layout.bounds.height)));

  // The scroll area fills the window whatever its size; the controls keep
  // their places relative to the client area's top-left corner.
  auto* fill = new QVBoxLayout(window_.get());
  fill->setContentsMargins(0, 0, 0, 0);
  scrollArea_ = new QScrollArea;
  scrollArea_->setFrameShape(QFrame::NoFrame);
  scrollArea_->setWidgetResizable(true);
  fill->addWidget(scrollArea_);
  client_ = new QWidget;
  client_->setAutoFillBackground(true);
  scrollArea_->setWidget(client_);

  const auto relayout = [this] { updateScrollExtent(); };
  label1_ = new QtLabel(client_, relayout);
  label2_ = new QtLabel(client_, relayout);
  button1_ = new QPushButton(client_);
  for (auto [label, spec] : {std::pair{label1_, &layout.label1}, std::pair{label2_, &layout.label2}}) {
    label->setFont(toQFont(spec->font));
    label->move(spec->bounds.left, spec->bounds.top);
    label->setCaption(std::string(spec->caption));
  }
  button1_->setFont(toQFont(layout.button1.font));
  place(*button1_, layout.button1.bounds);
  button1_->setText(local8Bit(std::string(layout.button1.caption)));
  button1_->setFocusPolicy(Qt::StrongFocus);
  button1_->installEventFilter(new EnterPressesButton(button1_));
  QObject::connect(button1_, &QPushButton::clicked, [this] {
    if (onClick_) onClick_();
  });

  setColor(color_);
}

QtForm::~QtForm() { timer1_.stop(); }

void QtForm::show() {
  window_->show();
  window_->activateWindow();
  button1_->setFocus(Qt::ActiveWindowFocusReason);
}

int QtForm::screenWidth() const { return QGuiApplication::primaryScreen()->geometry().width(); }
int QtForm::screenHeight() const { return QGuiApplication::primaryScreen()->geometry().height(); }
int QtForm::width() const { return window_->frameGeometry().width(); }
int QtForm::height() const { return window_->frameGeometry().height(); }
void QtForm::setLeft(int left) { window_->move(left, window_->frameGeometry().top()); }
void QtForm::setTop(int top) { window_->move(window_->frameGeometry().left(), top); }
void QtForm::setCaption(const std::string& caption) { window_->setWindowTitle(local8Bit(caption)); }

void QtForm::setColor(core::TColor color) {
  color_ = color;
  QPalette palette = client_->palette();
  palette.setColor(QPalette::Window, toQColor(color));
  client_->setPalette(palette);
}

void QtForm::postClose() { QMetaObject::invokeMethod(window_.get(), &QWidget::close, Qt::QueuedConnection); }

void QtForm::close() { window_->close(); }

void QtForm::showErrorBox(const std::string& message) {
  QMessageBox::critical(window_.get(), QCoreApplication::applicationName(), local8Bit(message));
}

void QtForm::setButtonClickHandler(std::function<void()> onClick) { onClick_ = std::move(onClick); }

void QtForm::updateScrollExtent() {
  if (client_ == nullptr) return;
  int right = 0;
  int bottom = 0;
  for (const QWidget* control : {static_cast<QWidget*>(label1_), static_cast<QWidget*>(label2_),
                                 static_cast<QWidget*>(button1_)}) {
    if (control == nullptr) continue;
    right = std::max(right, control->geometry().right() + 1);
    bottom = std::max(bottom, control->geometry().bottom() + 1);
  }
  client_->setMinimumSize(right, bottom);
}

}  // namespace window::qt
