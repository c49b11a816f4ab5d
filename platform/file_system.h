// Folders and files for the report and for a focus run's history: listing a folder, reading a
// small file whole, a path as text, and writing a file so that a failure leaves the old one as
// it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace platform {

enum class EntryKind {
  kFile,
  kFolder,
  // A symbolic link, or on Windows a junction or another reparse point that names another
  // place; never followed, so that no walk can loop or leave the folder.
  kLink,
  kOther,       // a FIFO, a socket, a device
  kUnreadable,  // the system would not say what it is
};

struct FolderEntry {
  Path name;  // the entry's own name, without the folder
  EntryKind kind = EntryKind::kOther;
};

// The entries of a folder, in no order, without "." and "..". False when the folder cannot
// be read (it is missing, not a folder, or its permissions forbid it).
bool ListFolder(const Path& folder, std::vector<FolderEntry>& entries);
// Whether the path names a folder, following a link the user named.
bool IsFolder(const Path& path);

// Tells files apart whatever names lead to them (hard links, case, short names).
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;
  auto operator<=>(const FileIdentity&) const = default;
};

enum class ReadStatus {
  kRead,
  kTooLarge,    // more than the cap; bytes holds the first cap + 1 of them
  kNotAFile,    // a link, a folder, a FIFO or a device: nothing was read from it
  kCannotRead,  // the system refused to open or read it
};

// Reads a regular file whole, but never more than maxBytes + 1 bytes of it. identity is set
// whenever the file could be opened.
ReadStatus ReadSmallFile(const Path& path, size_t maxBytes, std::string& bytes,
                         FileIdentity& identity);
// The same without the identity, which costs a volume query per file on some systems (two
// milliseconds a file under Wine): for reading many files where none can be met twice. A
// folder is kCannotRead here.
ReadStatus ReadSmallFile(const Path& path, size_t maxBytes, std::string& bytes);
// The identity of the file the path names; false when there is none.
bool IdentityOf(const Path& path, FileIdentity& identity);

// The path as UTF-8 for the page or a message. Windows names are UTF-16 and convert (a lone
// surrogate becomes U+FFFD); names elsewhere are taken as UTF-8 when they are, else as CP932
// when they are, else with U+FFFD for each byte that does not decode.
std::string DisplayUtf8(const Path& path);
// Like DisplayUtf8, but what does not decode is written as \xFF (a byte) or \uD800 (a lone
// surrogate), so that two names which DisplayUtf8 shows alike can be told apart.
std::string EscapedUtf8(const Path& path);
Path PathFromUtf8(std::string_view utf8);

// folder and name with one separator between them.
Path Join(const Path& folder, const Path& name);
// The name of the folder itself, from its absolute form: "class" for "class/", for "." in
// it, and for "/x/class/../class".
Path FolderName(const Path& folder);

enum class WriteError {
  kNone,
  kNotAFile,       // what the path names is a link, a folder, a FIFO or a device
  kCannotCreate,   // no new file can be made in the folder
  kCannotWrite,    // writing failed part-way (a full disk)
  kCannotReplace,  // the new file cannot take the old one's place (in use, read-only)
};

struct WriteOutcome {
  WriteError error = WriteError::kNone;
  std::string systemText;  // the system's own words on the failure, UTF-8; may be empty
};

// Writes bytes to a new file beside path and renames it over path, so that path holds either
// the old contents or all of the new ones. Refuses a path that names anything but a regular
// file, and removes the new file when anything fails.
WriteOutcome WriteFileReplacing(const Path& path, std::string_view bytes);

}  // namespace platform
