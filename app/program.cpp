// The program's life: title, regional separators, the two windows, event loop, shutdown.
#include "app/program.h"

#include <stdexcept>

#include "drill/time_text.h"
#include "platform/controls.h"
#include "ui/main_window.h"
#include "ui/results_dialog.h"

namespace app {

int RunProgram(const drill::DrillVariant& variant) {
  platform::Application& app = platform::TheApp();
  int exitCode = 0;
  app.SetTitle(variant.title);
  TimeTextSeparators separators = ReadTimeTextSeparators();
  app.OnSettingChange = [&separators] { separators = ReadTimeTextSeparators(); };
  try {
    ui::MainWindow& mainWindow = app.CreateForm<ui::MainWindow>(variant, separators);
    mainWindow.ShowResultsIn(app.CreateForm<ui::ResultsDialog>());
    app.Run();
  } catch (const std::exception& error) {
    // Only the windows themselves can fail to come into being (no window station, out of
    // handles); there is no drill without them, so say why and end.
    app.ShowException(error);
    app.DestroyForms();
    exitCode = 1;
  }
  // The windows are gone, and with them everyone who read the separators.
  app.OnSettingChange = nullptr;
  return exitCode;
}

}  // namespace app
