// What the report program asks of the system: telling the user something, and opening a
// file in the default browser. No Windows types here.
#pragma once

#include <string_view>

#include "platform/platform.h"

namespace platform {

enum class MessageKind {
  kNote,    // printed where there is a console, dropped otherwise
  kNotice,  // printed, or shown in a message box when started without a console
  kError,   // the same, as an error
};

// text is UTF-8.
void ShowMessage(std::string_view text, MessageKind kind);

// Hands the file to the system's default browser; false when that could not be started.
bool OpenInBrowser(const Path& file);

}  // namespace platform
