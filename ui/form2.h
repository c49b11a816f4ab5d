// The results dialog: start time, time taken, number of problems and average time.
#pragma once

#include "platform/controls.h"

class TForm2 : public platform::Form {
 public:
  TForm2();

  platform::Label* Label1;
  platform::Label* Label2;
  platform::Label* Label3;
  platform::Label* Label4;
  platform::StaticText* StaticText1;
  platform::StaticText* StaticText2;
  platform::StaticText* StaticText3;
  platform::StaticText* StaticText4;
  platform::Button* Button1;

  void FormActivate(platform::Form& Sender);
  void Button1Click(platform::Control& Sender);
};

extern TForm2* Form2;
