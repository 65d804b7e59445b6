// window/win32: the main form as a plain Win32 window, for the Windows build.
//
// Implements window::Form, window::Label and window::TimerDriver with one
// window class, one window procedure, two STATIC controls, one push button and
// a SetTimer timer on the form's own window. It builds the window from a
// stored layout fitted to the screen's resolution, paints the form's colour
// behind everything, sizes the labels to their text, scrolls the client area
// when a control reaches beyond it, and delivers button clicks and timer ticks
// to the handlers it is given.
//
// It decides nothing for the program: no colour, no text, no moment to close
// is chosen here. Not implemented: menus, resizing of controls with the
// window, visual styles, resolution awareness.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "core/layout.h"
#include "window/window.h"

namespace window::win32 {

class Win32Form;

// The application title: the executable's file name without its extension.
std::string applicationTitle();

// A label: a STATIC control that takes the width and height of its caption on
// one line, draws '&' as an underline mark and shows the form's colour behind it.
class Win32Label final : public window::Label {
 public:
  Win32Label(Win32Form& form, const core::ControlSpec& spec, int id);
  std::string caption() const override;
  void setCaption(const std::string& text) override;

  HWND handle() const { return control_; }
  COLORREF textColor() const;
  const core::Rect& bounds() const { return bounds_; }

 private:
  void fitToText();

  Win32Form& form_;
  core::FontSpec fontSpec_;
  HFONT font_ = nullptr;  // owned by the form, which outlives every label
  HWND control_ = nullptr;
  core::Rect bounds_;  // in client coordinates of the unscrolled content
  std::string caption_;
};

// The close timer's clock: WM_TIMER on the form's window, one timer id.
class Win32Timer final : public window::TimerDriver {
 public:
  explicit Win32Timer(Win32Form& form) : form_(form) {}
  void start(int intervalMs) override;
  void stop() override;
  void setTickHandler(std::function<void()> onTick) override { onTick_ = std::move(onTick); }

  void tick() const;

 private:
  Win32Form& form_;
  std::function<void()> onTick_;
};

class Win32Form final : public window::Form {
 public:
  // Builds the hidden window from the stored layout, adapted to the screen's
  // pixels per inch, at the stored position. Throws std::runtime_error with
  // the system's message when the window or a control cannot be created.
  Win32Form(HINSTANCE instance, const core::FormLayout& stored);
  ~Win32Form() override;
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;

  window::Label& label1() { return *label1_; }
  window::Label& label2() { return *label2_; }
  window::TimerDriver& timer1() { return timer_; }
  HWND handle() const { return window_; }

  // Shows the window with the start-up show command and paints it.
  void show(int showCommand);

  // Keys the window handles before the message is translated: Enter on the
  // focused button presses it. True when the message was consumed.
  bool preTranslateMessage(const MSG& message);

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
  void setButtonClickHandler(std::function<void()> onClick) override {
    onClick_ = std::move(onClick);
  }

  // For the controls: fonts live as long as the form.
  HFONT createControlFont(const core::FontSpec& spec);
  void controlResized();
  POINT scrollOffset() const { return {scrollX_, scrollY_}; }

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  HBRUSH backgroundBrush();
  void updateScrollBars();
  void scrollTo(int x, int y);
  void scroll(int bar, WORD request);
  void release();

  HINSTANCE instance_;
  core::FormLayout layout_;
  core::TColor color_;
  HFONT fonts_[4] = {};
  int fontCount_ = 0;
  HBRUSH brush_ = nullptr;
  COLORREF brushColor_ = 0;
  HWND window_ = nullptr;
  HWND button_ = nullptr;
  std::unique_ptr<Win32Label> label1_;
  std::unique_ptr<Win32Label> label2_;
  Win32Timer timer_{*this};
  std::function<void()> onClick_;
  int scrollX_ = 0;
  int scrollY_ = 0;
  bool updatingScrollBars_ = false;
  bool destroying_ = false;
  core::Rect buttonBounds_{};
};

}  // namespace window::win32
