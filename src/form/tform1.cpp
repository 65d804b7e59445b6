#include "form/tform1.h"

#include "core/layout.h"
#include "core/target_path.h"
#include "form/handler_guard.h"
#include "form/patch_run.h"
#include "host/host.h"

namespace form {

TForm1* Form1 = nullptr;

TForm1::TForm1(window::Form& window, window::Label& label1, window::Label& label2,
               window::TimerDriver& timer1, int storedTimerIntervalMs)
    : Window((Form1 = this, window)), Label1(label1), Timer1(timer1), Label2(label2) {
  Timer1.SetInterval(storedTimerIntervalMs);
  Timer1.SetOnTimer([this] { runGuarded(Window, [this] { FormActivate(&Timer1); }); });
  Window.setButtonClickHandler([this] { runGuarded(Window, [this] { Button1Click(nullptr); }); });
}

TForm1::~TForm1() {
  Timer1.SetEnabled(false);
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate(TObject* /*Sender*/) {
  window::Form& w = Form1->Window;
  const core::Point at = core::placeWindow(w.screenWidth(), w.screenHeight(), w.width(), w.height());
  w.setLeft(at.x);
  w.setTop(at.y);
  w.setCaption(std::string(core::kWindowCaption));

  const core::TargetChoice target = core::chooseTarget(host::commandLineTokens());
  if (target.fromCommandLine) Timer1.SetInterval(core::kCloseTimerArgumentMs);
  const core::PathParts parts = core::splitTargetPath(target.path, host::pathRules());
  Label1.setCaption(parts.fileName);
  Label2.setCaption(parts.directory);

  PatchRun(target.path, Label1, Form1->Window);
}

void TForm1::FormActivate(TObject* /*Sender*/) {
  Timer1.SetEnabled(false);
  if (Form1->Window.color() == core::clGreen) Form1->Window.postClose();
}

void TForm1::Button1Click(TObject* /*Sender*/) { Window.close(); }

}  // namespace form
