// The main drill window: six large labels in a centred panel, the answer box over the hidden
// digit, and the quit button.
#pragma once

#include <cstdint>

#include "drill/variant.h"
#include "platform/controls.h"

class TForm1 : public platform::Form {
 public:
  explicit TForm1(const drill::DrillVariant& variant);

  platform::Button* Button1;
  platform::Label* Label1;
  platform::Label* Label2;
  platform::Label* Label3;
  platform::Label* Label4;
  platform::Label* Label5;
  platform::Label* Label6;
  platform::Panel* Panel1;
  platform::Image* Image1;  // the answer box

  void FormCreate(platform::Form& Sender);
  void FormDestroy(platform::Form& Sender);
  void FormResize(platform::Form& Sender);
  void FormClose(platform::Form& Sender, platform::CloseAction& Action);
  void FormKeyDown(platform::Form& Sender, platform::Key& Key);
  void FormKeyUp(platform::Form& Sender, platform::Key& Key);
  void FormKeyPress(platform::Form& Sender, char& Key);
  void Button1Click(platform::Control& Sender);
  // Log-off or shutdown: the run ends as a close ends it, without the results dialog.
  void FormEndSession(platform::Form& Sender);
  void KakeZan();  // the division build's generator: products
  void TasiZan();  // the subtraction build's generator: sums
  void LogOutput();

  const drill::DrillVariant& Variant() const { return variant; }
  // Opens the next problem with this build's generator.
  void Generate();

 private:
  // Greys the quit button and ends the run, counting a right answer still being shown; false
  // when the run had already ended.
  bool EndRun();

  const drill::DrillVariant& variant;
};

extern TForm1* Form1;

// The stored description of the main window for a build.
const platform::FormDescription& Form1Description(const drill::DrillVariant& variant);
