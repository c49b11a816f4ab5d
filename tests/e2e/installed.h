// The installed programs as the Start menu starts them: the shortcuts read through the
// shell's own interface, and the division drill run the way its shortcut runs it.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// One Start-menu shortcut of the installed programs.
struct ShippedProgram {
  std::wstring title;      // the shortcut's name
  std::wstring exe;        // file name in the install folder
  std::wstring arguments;  // what the shortcut passes ("/focus" for a focus run)
};

struct InstalledOptions {
  std::vector<ShippedProgram> programs;
  // The folder every shortcut starts in; empty for Documents\Quarn.
  std::wstring practiceDir;
  // Check the shortcuts only: the practice folder need not exist (a share out of reach).
  bool shortcutsOnly = false;
};

// Checks the Start-menu shortcuts against the install and practice folders, runs three
// problems of the division drill from its shortcut and, when it is shipped, the report
// program in the practice folder.
void Installed(const InstalledOptions& options);

}  // namespace e2e
