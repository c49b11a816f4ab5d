// The embedded font's life for one run (written to the temp directory and registered at
// start, removed at the end) and the priming of the two sounds.
#pragma once

#include "platform/platform.h"

// The temp directory as read into a 260-byte buffer; empty when there is none or it does
// not fit, so that the font file then lies in the current directory.
platform::Path TempPath();
platform::Path FontFilePath();  // TempPath() + "KORVEN.ttf", computed anew at each use

// Writes the font resource to FontFilePath() and registers it. A file that cannot be written
// is reported in the error box and the run goes on in the substitute face; nothing is thrown.
void InstallFont();
// Plays the wrong-answer sound and at once the right-answer one, which cuts it off.
void PrimeSounds();
// Undoes what InstallFont did: unregisters the file, tells every window, lets go of the
// face's font objects and deletes the file.
void RemoveFont();
