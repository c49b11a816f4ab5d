// The installed programs as the Start menu starts them: the shortcuts read through the
// shell's own interface, and the division drill run the way its shortcut runs it.
#pragma once

#include <string>
#include <vector>

namespace e2e {

struct ShippedProgram {
  std::wstring title;  // the shortcut's name
  std::wstring exe;    // file name in the install folder
};

// Checks the shortcuts of every shipped program against the install and practice folders,
// runs three problems of the division drill from its shortcut and, when it is shipped, the
// report program in the practice folder.
void Installed(const std::vector<ShippedProgram>& programs);

}  // namespace e2e
