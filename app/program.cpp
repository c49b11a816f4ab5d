// The program's life: title, main window, results dialog, event loop, shutdown.
#include "app/program.h"

#include <stdexcept>

#include "drill/time_text.h"
#include "platform/controls.h"
#include "ui/form1.h"
#include "ui/form2.h"

int RunProgram(const drill::DrillVariant& variant) {
  platform::Application& app = platform::TheApp();
  int exitCode = 0;
  app.SetTitle(variant.title);
  ReadLocaleSeparators();
  app.OnSettingChange = ReadLocaleSeparators;
  try {
    app.CreateForm<TForm1>(variant);
    app.CreateForm<TForm2>();
    app.Run();
  } catch (const std::exception& error) {
    // Only the windows themselves can fail to come into being (no window station, out of
    // handles); there is no drill without them, so say why and end.
    app.ShowException(error);
    app.DestroyForms();
    exitCode = 1;
  }
  Form1 = nullptr;
  Form2 = nullptr;
  return exitCode;
}
