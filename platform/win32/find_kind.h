// What the folder walk makes of an entry from the attributes and reparse tag Windows reports
// for it. Free of <windows.h>, so that the host's tests check it too.
#pragma once

#include <cstdint>

#include "platform/file_system.h"

namespace win32 {

// The values of FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DEVICE, FILE_ATTRIBUTE_REPARSE_POINT
// and of the bit IsReparseTagNameSurrogate tests; win32_file_system.cpp checks them.
inline constexpr uint32_t kAttributeDirectory = 0x10;
inline constexpr uint32_t kAttributeDevice = 0x40;
inline constexpr uint32_t kAttributeReparsePoint = 0x400;
inline constexpr uint32_t kReparseTagNameSurrogate = 0x20000000;

// A junction, a mount point or a symbolic link stands for another place: its reparse tag is a
// name surrogate. Other reparse points (a cloud drive's placeholders, deduplicated files) are
// ordinary files and folders to whoever reads them, and a class folder may well be on such a
// drive.
constexpr platform::EntryKind KindFromAttributes(uint32_t attributes, uint32_t reparseTag) {
  if ((attributes & kAttributeReparsePoint) && (reparseTag & kReparseTagNameSurrogate)) {
    return platform::EntryKind::kLink;
  }
  if (attributes & kAttributeDevice) return platform::EntryKind::kOther;
  if (attributes & kAttributeDirectory) return platform::EntryKind::kFolder;
  return platform::EntryKind::kFile;
}

}  // namespace win32
