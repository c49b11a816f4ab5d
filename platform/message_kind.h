// The kinds of message the programs show the user: the drills' message boxes and the report
// program's messages speak the same four.
#pragma once

namespace platform {

enum class MessageKind {
  kNote,     // no icon; the report program prints it only where there is a console
  kNotice,   // information; the report program prints it, or shows a box without a console
  kWarning,  // warning
  kError,    // error
};

}  // namespace platform
