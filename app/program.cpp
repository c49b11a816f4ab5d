// The program's life: its arguments, title, regional separators, the focus history, the two
// windows, event loop, shutdown.
#include "app/program.h"

#include <optional>
#include <stdexcept>
#include <vector>

#include "drill/focus_history.h"
#include "drill/time_text.h"
#include "platform/ascii.h"
#include "platform/controls.h"
#include "ui/main_window.h"
#include "ui/results_dialog.h"

namespace app {

namespace {

bool IsFocusSwitch(std::string_view argument) {
  for (std::string_view prefix : {"/", "--"}) {
    if (!argument.starts_with(prefix)) continue;
    if (platform::EqualsIgnoringAsciiCase(argument.substr(prefix.size()), "focus")) return true;
  }
  return false;
}

}  // namespace

DrillOptions ParseDrillOptions(std::span<const std::string> arguments) {
  DrillOptions options;
  for (const std::string& argument : arguments)
    options.focus = options.focus || IsFocusSwitch(argument);
  return options;
}

int RunProgram(const drill::DrillVariant& variant) {
  platform::Application& app = platform::TheApp();
  int exitCode = 0;
  const std::vector<std::string> arguments = platform::ProgramArguments();
  const DrillOptions options = ParseDrillOptions(arguments);
  // The history is read before any window exists: the first problem is chosen from it.
  std::optional<drill::FactStates> focusHistory;
  if (options.focus) focusHistory = drill::ReadFocusHistory(variant.kind);
  app.SetTitle(options.focus ? drill::FocusTitle(variant.kind).data() : variant.title);
  drill::TimeTextSeparators separators = drill::ReadTimeTextSeparators();
  app.OnSettingChange = [&separators] { separators = drill::ReadTimeTextSeparators(); };
  try {
    ui::MainWindow& mainWindow =
        app.CreateForm<ui::MainWindow>(variant, separators, std::move(focusHistory));
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
