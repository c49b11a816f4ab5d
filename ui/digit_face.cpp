// Installing and removing the embedded digit face.
#include "ui/digit_face.h"

#include <cstdio>
#include <string>

#include "drill/texts.h"
#include "platform/controls.h"
#include "resources/resource_ids.h"

namespace ui {

namespace {

constexpr size_t kTempPathBuffer = 260;

// Shown at once rather than thrown: the window's set-up after Install must still run, and the
// drill then goes on in the window system's substitute face.
void ReportCannotCreate() {
  std::string path = platform::DisplayText(FontFilePath());
  int length = std::snprintf(nullptr, 0, texts::kCannotCreateFile, path.c_str());
  std::string message(static_cast<size_t>(length), '\0');
  std::snprintf(message.data(), message.size() + 1, texts::kCannotCreateFile, path.c_str());
  platform::Application& app = platform::TheApp();
  app.MessageBox(platform::ErrorBoxText(message), app.Title(), platform::MessageKind::kError);
}

}  // namespace

platform::Path TempPath() {
  platform::Path path = platform::SystemTempDirectory();
  // A path that does not fit the 260-character buffer is reported by its length alone, with
  // the buffer left unfilled; such a path counts as none.
  if (path.Length() >= kTempPathBuffer) return {};
  return path;
}

platform::Path FontFilePath() {
  return TempPath() + texts::kFontFileName;
}

void FontInstallation::Install() {
  registered = false;
  fileWritten = false;
  unregistered = false;
  std::string_view font =
      platform::OwnResource(QUARN_TEXT(QUARN_FONT_RESOURCE), QUARN_TEXT(QUARN_FONT_RESOURCE));
  platform::FileError error = platform::FileError::kNone;
  platform::File file =
      platform::File::Create(FontFilePath(), platform::FileMode::kFontFile, &error);
  if (file.IsOpen()) {
    bool written = file.Write(font);
    if (!file.Close() || !written) {
      // A truncated font file is of no use to anyone.
      platform::DeleteFile(FontFilePath());
      ReportCannotCreate();
      return;
    }
    fileWritten = true;
    registered = platform::AddFontResource(FontFilePath());
  } else if (error == platform::FileError::kInUse) {
    // Another instance has this file registered: the system keeps a registered font file open.
    // Registering it for this process too keeps "Tavimo" for the whole run, also after the
    // other instance has gone; whichever ends last deletes the file. If the file cannot be
    // registered (still being written, say), there is nothing to undo.
    registered = platform::AddFontResource(FontFilePath());
  } else {
    ReportCannotCreate();
  }
}

void FontInstallation::Remove() {
  if (!registered && !fileWritten) return;
  // The broadcast waits for every top-level window, and a log-off that arrives meanwhile runs
  // this again, after which the system may end the process at any moment. So that inner run
  // still deletes the file, the flags clear only once it is gone, and the file is unregistered
  // and announced once.
  if (registered && !unregistered) {
    unregistered = true;
    platform::RemoveFontResource(FontFilePath());
    platform::BroadcastFontChange();
  }
  // The labels still hold font objects of the face, and the system keeps the file open for
  // them: without this the delete fails and the file outlives the program.
  platform::ReleaseFontObjects(texts::kDigitFace);
  platform::DeleteFile(FontFilePath());
  registered = false;
  fileWritten = false;
}

}  // namespace ui
