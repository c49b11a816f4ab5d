// The results dialog: start time, time taken, number of problems and average time.
#pragma once

#include "platform/controls.h"

class TForm2 : public platform::Form {
 public:
  TForm2();
};

extern TForm2* Form2;
