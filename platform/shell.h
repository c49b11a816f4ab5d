// What the report program asks of the system: telling the user something, and opening a
// file in the default browser. No Windows types here.
#pragma once

#include <string_view>

#include "platform/message_kind.h"
#include "platform/platform.h"

namespace platform {

// text is UTF-8. Errors and warnings go to the error stream; a note is dropped where there
// is no console, the other kinds are then shown in a message box.
void ShowMessage(std::string_view text, MessageKind kind);

// Hands the file to the system's default browser; false when that could not be started.
bool OpenInBrowser(const Path& file);

}  // namespace platform
