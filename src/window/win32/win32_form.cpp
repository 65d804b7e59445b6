#include "window/win32/win32_form.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace window::win32 {

namespace {

constexpr const char* kClassName = "KestrumPatchForm";
constexpr int kLabel1Id = 101;
constexpr int kLabel2Id = 102;
constexpr int kButtonId = 103;
constexpr UINT_PTR kTimerId = 1;
constexpr int kScrollLine = 8;

// The Win32 resource and cursor ids are small integers passed as pointers.
LPCSTR resourceId(WORD id) { return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(id)); }

std::string systemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string message = length > 0 && text != nullptr ? std::string(text, length) : std::string();
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  if (message.empty()) message = "Systemfehler " + std::to_string(code);
  return message;
}

[[noreturn]] void raiseLastError() { throw std::runtime_error(systemMessage(GetLastError())); }

// A colour as Windows stores it; a system colour is looked up whenever it is drawn.
COLORREF resolveColor(core::TColor color) {
  if (core::isSystemColor(color)) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color);
}

HFONT createFont(const core::FontSpec& spec) {
  const std::string face(spec.name);
  return CreateFontA(spec.height, 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH, face.c_str());
}

// The height of "0" in a font on the screen; for a GDI font this is its tmHeight.
int measureZeroHeight(const core::FontSpec& spec) {
  const HDC screen = GetDC(nullptr);
  const HFONT font = createFont(spec);
  const HGDIOBJ previous = SelectObject(screen, font);
  SIZE size{};
  GetTextExtentPoint32A(screen, "0", 1, &size);
  SelectObject(screen, previous);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  return size.cy;
}

int screenPixelsPerInch() {
  const HDC screen = GetDC(nullptr);
  const int perInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return perInch;
}

void registerClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(instance, kClassName, &wc)) return;
  wc = WNDCLASSEXA{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, "MAINICON");
  wc.hIconSm = static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorA(nullptr, resourceId(32512));  // IDC_ARROW
  wc.hbrBackground = nullptr;  // the form paints its own colour
  wc.lpszClassName = kClassName;
  if (RegisterClassExA(&wc) == 0) raiseLastError();
}

}  // namespace

std::string applicationTitle() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, length);
  const std::size_t slash = name.find_last_of("\\/:");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

// ---------------------------------------------------------------- Win32Label

Win32Label::Win32Label(Win32Form& form, const core::ControlSpec& spec, int id)
    : form_(form), fontSpec_(spec.font), bounds_(spec.bounds), caption_(spec.caption) {
  font_ = form_.createControlFont(spec.font);
  const POINT offset = form_.scrollOffset();
  // No SS_NOPREFIX: '&' underlines the next character and "&&" shows one '&'.
  // SS_LEFTNOWORDWRAP: a label never wraps; it grows to the right instead.
  control_ = CreateWindowExA(0, "STATIC", caption_.c_str(),
                             WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP,
                             bounds_.left - offset.x, bounds_.top - offset.y, bounds_.width,
                             bounds_.height, form_.handle(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(form_.handle(), GWLP_HINSTANCE)),
                             nullptr);
  if (control_ == nullptr) raiseLastError();
  SendMessageA(control_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  fitToText();
}

std::string Win32Label::caption() const { return caption_; }

void Win32Label::setCaption(const std::string& text) {
  caption_ = text;
  SetWindowTextA(control_, caption_.c_str());
  fitToText();
}

COLORREF Win32Label::textColor() const { return resolveColor(fontSpec_.color); }

// Width and height of the caption on one line in the label's own font. An empty
// caption, or a lone mark, is measured as a blank so the label keeps a line's height.
void Win32Label::fitToText() {
  std::string measured = caption_;
  if (measured.empty() || measured == "&") measured += ' ';
  const HDC dc = GetDC(control_);
  const HGDIOBJ previous = SelectObject(dc, font_);
  RECT rect{0, 0, 0, 0};
  DrawTextA(dc, measured.c_str(), static_cast<int>(measured.size()), &rect,
            DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
  SelectObject(dc, previous);
  ReleaseDC(control_, dc);
  bounds_.width = rect.right - rect.left;
  bounds_.height = rect.bottom - rect.top;
  SetWindowPos(control_, nullptr, 0, 0, bounds_.width, bounds_.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(control_, nullptr, TRUE);
  form_.controlResized();
}

// ---------------------------------------------------------------- Win32Timer

void Win32Timer::start(int intervalMs) {
  if (SetTimer(form_.handle(), kTimerId, static_cast<UINT>(intervalMs), nullptr) == 0)
    throw std::runtime_error("Nicht gen\xFCgend Timer verf\xFCgbar");
}

void Win32Timer::stop() { KillTimer(form_.handle(), kTimerId); }

void Win32Timer::tick() const {
  if (onTick_) onTick_();
}

// ---------------------------------------------------------------- Win32Form

Win32Form::Win32Form(HINSTANCE instance, const core::FormLayout& stored)
    : instance_(instance),
      layout_(core::adaptToResolution(stored, screenPixelsPerInch(), measureZeroHeight)),
      color_(stored.color) {
  try {
    registerClass(instance_, &Win32Form::windowProc);
    // Created hidden: the creation handler places it and gives it its caption
    // before anyone sees it. The outer size is never scaled.
    window_ = CreateWindowExA(0, kClassName, std::string(layout_.caption).c_str(),
                              WS_OVERLAPPEDWINDOW, layout_.bounds.left, layout_.bounds.top,
                              layout_.bounds.width, layout_.bounds.height, nullptr, nullptr,
                              instance_, this);
    if (window_ == nullptr) raiseLastError();

    label1_ = std::make_unique<Win32Label>(*this, layout_.label1, kLabel1Id);
    label2_ = std::make_unique<Win32Label>(*this, layout_.label2, kLabel2Id);

    buttonBounds_ = layout_.button1.bounds;
    const HFONT buttonFont = createControlFont(layout_.button1.font);
    button_ = CreateWindowExA(0, "BUTTON", std::string(layout_.button1.caption).c_str(),
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, buttonBounds_.left,
                              buttonBounds_.top, buttonBounds_.width, buttonBounds_.height, window_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), instance_,
                              nullptr);
    if (button_ == nullptr) raiseLastError();
    SendMessageA(button_, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont), FALSE);
    updateScrollBars();
  } catch (...) {
    release();
    throw;
  }
}

Win32Form::~Win32Form() { release(); }

void Win32Form::release() {
  if (window_ != nullptr) {
    destroying_ = true;
    KillTimer(window_, kTimerId);
    DestroyWindow(window_);  // takes the controls with it
    window_ = nullptr;
  }
  for (int i = 0; i < fontCount_; ++i) DeleteObject(fonts_[i]);
  fontCount_ = 0;
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_ = nullptr;
}

HFONT Win32Form::createControlFont(const core::FontSpec& spec) {
  if (fontCount_ == static_cast<int>(std::size(fonts_))) throw std::logic_error("too many fonts");
  const HFONT font = createFont(spec);
  if (font == nullptr) raiseLastError();
  fonts_[fontCount_++] = font;
  return font;
}

void Win32Form::show(int showCommand) {
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
}

bool Win32Form::preTranslateMessage(const MSG& message) {
  // A push button answers Space by itself; Enter on the focused button is the
  // dialog convention that a plain window has to provide. Escape stays unbound.
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && message.hwnd == button_) {
    SendMessageA(window_, WM_COMMAND, static_cast<WPARAM>(kButtonId) | (static_cast<WPARAM>(BN_CLICKED) << 16),
                 reinterpret_cast<LPARAM>(button_));
    return true;
  }
  return false;
}

int Win32Form::screenWidth() const { return GetSystemMetrics(SM_CXSCREEN); }
int Win32Form::screenHeight() const { return GetSystemMetrics(SM_CYSCREEN); }

int Win32Form::width() const {
  RECT rect{};
  GetWindowRect(window_, &rect);
  return rect.right - rect.left;
}

int Win32Form::height() const {
  RECT rect{};
  GetWindowRect(window_, &rect);
  return rect.bottom - rect.top;
}

void Win32Form::setLeft(int left) {
  RECT rect{};
  GetWindowRect(window_, &rect);
  SetWindowPos(window_, nullptr, left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::setTop(int top) {
  RECT rect{};
  GetWindowRect(window_, &rect);
  SetWindowPos(window_, nullptr, rect.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::setCaption(const std::string& caption) { SetWindowTextA(window_, caption.c_str()); }

void Win32Form::setColor(core::TColor color) {
  color_ = color;
  RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Win32Form::postClose() { PostMessageA(window_, WM_CLOSE, 0, 0); }

// The main form: closing it ends the message loop; the window stays until
// the program destroys it after the loop.
void Win32Form::close() { PostQuitMessage(0); }

void Win32Form::showErrorBox(const std::string& message) {
  const HWND owner = IsWindowVisible(window_) ? window_ : nullptr;
  MessageBoxA(owner, message.c_str(), applicationTitle().c_str(), MB_ICONSTOP | MB_OK);
}

HBRUSH Win32Form::backgroundBrush() {
  const COLORREF wanted = resolveColor(color_);
  if (brush_ == nullptr || brushColor_ != wanted) {
    const HBRUSH fresh = CreateSolidBrush(wanted);
    if (fresh != nullptr) {
      if (brush_ != nullptr) DeleteObject(brush_);
      brush_ = fresh;
      brushColor_ = wanted;
    }
  }
  return brush_;
}

void Win32Form::controlResized() { updateScrollBars(); }

// AutoScroll: the content reaches to the right and bottom edges of the
// farthest control; a scroll bar appears for a direction in which the content
// is larger than the client area. Showing one bar narrows the client area for
// the other, so the sizes are settled in a few rounds.
void Win32Form::updateScrollBars() {
  if (window_ == nullptr || updatingScrollBars_) return;
  updatingScrollBars_ = true;
  int extentX = 0;
  int extentY = 0;
  auto reach = [&](const core::Rect& r) {
    extentX = std::max(extentX, r.left + r.width);
    extentY = std::max(extentY, r.top + r.height);
  };
  if (label1_) reach(label1_->bounds());
  if (label2_) reach(label2_->bounds());
  if (button_ != nullptr) reach(buttonBounds_);

  for (int round = 0; round < 3; ++round) {
    RECT client{};
    GetClientRect(window_, &client);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = std::max(extentX - 1, 0);
    info.nPage = static_cast<UINT>(std::max(client.right - client.left, 0L));
    SetScrollInfo(window_, SB_HORZ, &info, TRUE);
    GetClientRect(window_, &client);
    info.nMax = std::max(extentY - 1, 0);
    info.nPage = static_cast<UINT>(std::max(client.bottom - client.top, 0L));
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
  }
  updatingScrollBars_ = false;

  // A range that shrank may have pulled the position back.
  SCROLLINFO position{};
  position.cbSize = sizeof position;
  position.fMask = SIF_POS;
  GetScrollInfo(window_, SB_HORZ, &position);
  const int x = position.nPos;
  GetScrollInfo(window_, SB_VERT, &position);
  scrollTo(x, position.nPos);
}

void Win32Form::scrollTo(int x, int y) {
  const int dx = scrollX_ - x;
  const int dy = scrollY_ - y;
  if (dx == 0 && dy == 0) return;
  scrollX_ = x;
  scrollY_ = y;
  ScrollWindowEx(window_, dx, dy, nullptr, nullptr, nullptr, nullptr,
                 SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

void Win32Form::scroll(int bar, WORD request) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(window_, bar, &info);
  int target = info.nPos;
  const int page = static_cast<int>(info.nPage);
  switch (request) {
    case SB_LINEUP: target -= kScrollLine; break;
    case SB_LINEDOWN: target += kScrollLine; break;
    case SB_PAGEUP: target -= page; break;
    case SB_PAGEDOWN: target += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = info.nTrackPos; break;
    case SB_TOP: target = info.nMin; break;
    case SB_BOTTOM: target = info.nMax; break;
    default: return;
  }
  info.fMask = SIF_POS;
  info.nPos = target;
  SetScrollInfo(window_, bar, &info, TRUE);
  GetScrollInfo(window_, bar, &info);  // clamped by the system
  if (bar == SB_HORZ)
    scrollTo(info.nPos, scrollY_);
  else
    scrollTo(scrollX_, info.nPos);
}

LRESULT CALLBACK Win32Form::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    auto* self = static_cast<Win32Form*>(create->lpCreateParams);
    self->window_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  return self->handleMessage(message, wParam, lParam);
}

LRESULT Win32Form::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush());
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      const auto control = reinterpret_cast<HWND>(lParam);
      const Win32Label* label = nullptr;
      if (label1_ && control == label1_->handle()) label = label1_.get();
      if (label2_ && control == label2_->handle()) label = label2_.get();
      if (label != nullptr) SetTextColor(dc, label->textColor());
      SetBkColor(dc, resolveColor(color_));
      SetBkMode(dc, OPAQUE);
      return reinterpret_cast<LRESULT>(backgroundBrush());
    }
    case WM_SYSCOLORCHANGE:
      InvalidateRect(window_, nullptr, TRUE);
      return 0;
    case WM_COMMAND:
      if ((wParam & 0xFFFF) == kButtonId && ((wParam >> 16) & 0xFFFF) == BN_CLICKED) {
        // The handlers arrive guarded by the form: a failure ends in the
        // standard error box there and never unwinds through this procedure.
        if (onClick_) onClick_();
        return 0;
      }
      break;
    case WM_TIMER:
      if (wParam == kTimerId) {
        timer_.tick();
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // The button is the only control that takes the focus, and it takes it
      // whenever the window becomes active (unless it comes back minimised).
      if ((wParam & 0xFFFF) != WA_INACTIVE && ((wParam >> 16) & 0xFFFF) == 0 && button_ != nullptr) {
        SetFocus(button_);
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (button_ != nullptr) SetFocus(button_);
      return 0;
    case WM_SIZE:
      updateScrollBars();
      break;
    case WM_HSCROLL:
      scroll(SB_HORZ, static_cast<WORD>(wParam & 0xFFFF));
      return 0;
    case WM_VSCROLL:
      scroll(SB_VERT, static_cast<WORD>(wParam & 0xFFFF));
      return 0;
    case WM_CLOSE:
      close();
      return 0;
    case WM_DESTROY:
      // Destroyed by anything other than the program's own end: stop the loop too.
      if (!destroying_) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace window::win32
