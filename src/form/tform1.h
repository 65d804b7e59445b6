// TForm1, the main form: its components and its three handlers, written once
// for every toolkit against window::Form.
#pragma once
#include <string>

#include "form/ttimer.h"
#include "window/window.h"

namespace form {

using TObject = void;

class TForm1 {
 public:
  // Form1 refers to the instance from here on. Binding Timer1's handler starts it.
  TForm1(window::Form& window, window::Label& label1, window::Label& label2,
         window::TimerDriver& timer1, int storedTimerIntervalMs);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);  // Timer1's tick, not the form's activation
  void Button1Click(TObject* Sender);

  window::Form& Window;
  window::Label& Label1;
  TTimer Timer1;
  window::Label& Label2;
};

extern TForm1* Form1;

}  // namespace form
