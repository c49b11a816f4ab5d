// The program's life: title, main window, results dialog, event loop, shutdown.
#include "app/program.h"

#include "drill/time_text.h"
#include "platform/controls.h"
#include "ui/form1.h"
#include "ui/form2.h"

int RunProgram(const drill::DrillVariant& variant) {
  platform::Application& app = platform::TheApp();
  app.SetTitle(variant.title);
  ReadLocaleSeparators();
  app.OnSettingChange = ReadLocaleSeparators;
  app.CreateForm<TForm1>(variant);
  app.CreateForm<TForm2>();
  app.Run();
  Form1 = nullptr;
  Form2 = nullptr;
  return 0;
}
