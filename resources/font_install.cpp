// Installing and removing the embedded font; priming the sounds.
#include "resources/font_install.h"

#include <cstdio>
#include <stdexcept>

#include "drill/texts.h"
#include "platform/platform.h"

namespace {

constexpr size_t kTempPathBuffer = 260;

}  // namespace

std::string TempPath() {
  std::string path = platform::SystemTempDirectory();
  // The system reports a longer path by its length alone and leaves the buffer unfilled.
  if (path.size() >= kTempPathBuffer) return {};
  return path;
}

std::string FontFilePath() {
  return TempPath() + texts::kFontFileName;
}

void InstallFont() {
  std::string_view font = platform::OwnResource("MYFONT", "MyFont");
  platform::File file = platform::File::Create(FontFilePath(), platform::FileMode::kFontFile);
  if (!file.IsOpen() || !file.Write(font) || !file.Close()) {
    std::string path = FontFilePath();
    char message[512];
    std::snprintf(message, sizeof message, texts::kCannotCreateFile, path.c_str());
    throw std::runtime_error(message);
  }
  platform::AddFontResource(FontFilePath());
}

void PrimeSounds() {
  platform::PlaySoundResource("#102");
  platform::PlaySoundResource("#101");
}

void RemoveFont() {
  platform::RemoveFontResource(FontFilePath());
  platform::BroadcastFontChange();
  platform::DeleteFile(FontFilePath());
}
