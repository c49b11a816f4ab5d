// The embedded font's life for one run (written to the temp directory and registered at
// start, removed at the end) and the priming of the two sounds.
#pragma once

#include <string>

// The temp directory as read into a 260-byte buffer; empty when there is none or it does
// not fit, so that the font file then lies in the current directory.
std::string TempPath();
std::string FontFilePath();  // TempPath() + "KORVEN.ttf", computed anew at each use

void InstallFont();
void PrimeSounds();
void RemoveFont();
