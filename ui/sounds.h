// The main window's two sounds: the WAVE resources' names and their priming at start.
#pragma once

#include "platform/platform.h"
#include "resources/resource_ids.h"

namespace ui {

// The WAVE resources' names as the sound call takes them: "#101" and "#102".
inline constexpr char kRightSound[] = "#" QUARN_TEXT(QUARN_RIGHT_SOUND);
inline constexpr char kWrongSound[] = "#" QUARN_TEXT(QUARN_WRONG_SOUND);

// Plays the wrong-answer sound and at once the right-answer one, which cuts it off, so that
// the first answer's sound starts without the delay of a first load.
inline void PrimeSounds() {
  platform::PlaySoundResource(kWrongSound);
  platform::PlaySoundResource(kRightSound);
}

}  // namespace ui
