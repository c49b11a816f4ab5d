// Installing and removing the embedded font; priming the sounds.
#include "resources/font_install.h"

#include <cstdio>
#include <stdexcept>

#include "drill/texts.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace {

constexpr size_t kTempPathBuffer = 260;

// Whether InstallFont left something for RemoveFont to undo: a registration of the font file
// and the file itself. RemoveFont undoes nothing else, so that it never takes away another
// process's registration of the same file.
bool fontInstalled = false;

// Shown here rather than thrown: the window's set-up after InstallFont must still run, and the
// drill then goes on in the window system's substitute face.
void ReportCannotCreate() {
  std::string path = platform::DisplayText(FontFilePath());
  int length = std::snprintf(nullptr, 0, texts::kCannotCreateFile, path.c_str());
  std::string message(static_cast<size_t>(length), '\0');
  std::snprintf(message.data(), message.size() + 1, texts::kCannotCreateFile, path.c_str());
  platform::TheApp().ShowException(std::runtime_error(message));
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

void InstallFont() {
  fontInstalled = false;
  std::string_view font = platform::OwnResource("MYFONT", "MyFont");
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
    platform::AddFontResource(FontFilePath());
    fontInstalled = true;
  } else if (error == platform::FileError::kInUse) {
    // Another instance has this file registered: the system keeps a registered font file open.
    // Registering it for this process too keeps "Tavimo" for the whole run, also after the
    // other instance has gone; whichever ends last deletes the file. If the file cannot be
    // registered (still being written, say), there is nothing to undo.
    fontInstalled = platform::AddFontResource(FontFilePath());
  } else {
    ReportCannotCreate();
  }
}

void PrimeSounds() {
  platform::PlaySoundResource("#102");
  platform::PlaySoundResource("#101");
}

void RemoveFont() {
  if (!fontInstalled) return;
  fontInstalled = false;
  platform::RemoveFontResource(FontFilePath());
  platform::BroadcastFontChange();
  // The labels still hold font objects of the face, and the system keeps the file open for
  // them: without this the delete fails and the file outlives the program.
  platform::ReleaseFontObjects(texts::kDigitFace);
  platform::DeleteFile(FontFilePath());
}
