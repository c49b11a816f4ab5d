// The digit face's life for one run of the main window: the embedded font written to the temp
// directory and registered at start, removed at the end.
#pragma once

#include "platform/platform.h"

namespace ui {

// The temp directory as read into a 260-byte buffer; empty when there is none or it does
// not fit, so that the font file then lies in the current directory.
platform::Path TempPath();
platform::Path FontFilePath();  // TempPath() + "KORVEN.ttf", computed anew at each use

// The digit face for one window's life. What Install did, Remove undoes, and nothing else:
// it never takes away another process's registration of the same file.
class FontInstallation {
 public:
  FontInstallation() = default;
  FontInstallation(const FontInstallation&) = delete;
  FontInstallation& operator=(const FontInstallation&) = delete;

  // Writes the font resource to FontFilePath() and registers it for this process. A file
  // that cannot be written is reported in the error box and the run goes on in the
  // substitute face; nothing is thrown.
  void Install();
  // Unregisters the file, tells every window, lets go of the face's font objects and
  // deletes the file; a file this process wrote goes even if it was never registered.
  void Remove();

 private:
  bool registered = false;    // AddFontResource succeeded
  bool fileWritten = false;   // this process wrote the file
  bool unregistered = false;  // Remove has unregistered the file and announced it
};

}  // namespace ui
