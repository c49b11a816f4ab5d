// Folders and files for the report and for a focus run's history: listing a folder, reading a
// small file whole, a path as text, and writing a file so that a failure leaves the old one as
// it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
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

// A folder held open. What is listed, read and written through it stays in the folder that
// was opened, even when a name on its path is swapped for a link afterwards; on Windows the
// folder cannot be renamed or removed while it is held. Move-only.
class Folder {
 public:
  Folder() = default;
  Folder(intptr_t handle, Path where) : handle(handle), where(std::move(where)) {}
  Folder(Folder&& other) noexcept;
  Folder& operator=(Folder&& other) noexcept;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  ~Folder();

  bool IsOpen() const { return handle != kClosed; }
  intptr_t Handle() const { return handle; }
  // The path it was opened by (on Windows the system's full form of it), for the names in it.
  const Path& Where() const { return where; }

  static constexpr intptr_t kClosed = -1;  // also INVALID_HANDLE_VALUE

 private:
  intptr_t handle = kClosed;
  Path where;
};

// Opens the folder a path names, following the links the path holds: the user named it so.
// "" is the current folder. False when there is no folder there or it cannot be read.
bool OpenFolder(const Path& path, Folder& folder);
// Opens an entry of a folder found by listing it; a link (or junction) there is never
// followed, whatever was listed under the name before.
bool OpenSubfolder(const Folder& parent, const Path& name, Folder& folder);
bool ListFolder(const Folder& folder, std::vector<FolderEntry>& entries);
// ReadSmallFile for an entry of an open folder; a link there is kNotAFile.
ReadStatus ReadSmallFile(const Folder& folder, const Path& name, size_t maxBytes,
                         std::string& bytes, FileIdentity& identity);
// The folder's own identity, and that of what a name in it holds (a link's own, unfollowed).
bool IdentityOf(const Folder& folder, FileIdentity& identity);
bool IdentityOf(const Folder& folder, const Path& name, FileIdentity& identity);

// A path as its folder and its last name: "out.html" is "" and "out.html", "a/" is "a" and "".
void SplitPath(const Path& path, Path& folder, Path& name);
// Whether two names in one folder name the same entry: case-insensitively on Windows.
bool SameName(const Path& x, const Path& y);

enum class WriteError {
  kNone,
  kNotAFile,       // what the path names is a link, a folder, a FIFO or a device
  kReadOnly,       // the old file is marked read-only: someone keeps it as it is
  kCannotCreate,   // no new file can be made in the folder
  kCannotWrite,    // writing failed part-way (a full disk)
  kCannotReplace,  // the new file cannot take the old one's place (in use)
};

struct WriteOutcome {
  WriteError error = WriteError::kNone;
  std::string systemText;  // the system's own words on the failure, UTF-8; may be empty
};

// Whether a name in a folder may be replaced: nothing there, or a regular file that is not
// read-only.
WriteError CheckReplaceable(const Folder& folder, const Path& name);

// A file written whole under a temporary name beside the one it replaces, then put in its
// place, so that the name holds either the old contents or all of the new ones. The new file
// keeps the old one's permissions (on Windows its attributes and security too). What was not
// committed is removed when this ends. The folder must outlive it. Move-only.
class ReplacingWrite {
 public:
  ReplacingWrite() = default;
  ReplacingWrite(ReplacingWrite&& other) noexcept
      : folder(std::exchange(other.folder, nullptr)),
        name(std::move(other.name)),
        temporary(std::exchange(other.temporary, Path())),
        kept(std::exchange(other.kept, Path())),
        committed(std::exchange(other.committed, false)),
        replacedOld(other.replacedOld) {}
  ReplacingWrite& operator=(ReplacingWrite&&) = delete;
  ReplacingWrite(const ReplacingWrite&) = delete;
  ReplacingWrite& operator=(const ReplacingWrite&) = delete;
  ~ReplacingWrite();

  // Checks the name (CheckReplaceable) and writes bytes to the temporary file.
  WriteOutcome Prepare(const Folder& folder, const Path& name, std::string_view bytes);
  // Renames the written file over the name. The old file stays aside under a second name
  // until this ends, so that Undo can put it back.
  WriteOutcome Commit();
  // After Commit: the old file back in its place, or the new one removed where there was none.
  // False when that failed.
  bool Undo();

 private:
  const Folder* folder = nullptr;
  Path name;
  Path temporary;  // the new file; empty once committed or removed
  Path kept;       // the old file after Commit, where there was one and it could be kept
  bool committed = false;
  bool replacedOld = false;  // Commit put the new file in the place of an old one
};

// Prepare and Commit for a path, in the folder the path names.
WriteOutcome WriteFileReplacing(const Path& path, std::string_view bytes);

// The longest temporary name ReplacingWrite makes (for the new file and for the old one kept
// aside), in the system's units: shorter than many final names, so that it fits wherever the
// final name fits.
inline constexpr size_t kMaxTemporaryName = 20;

// For the tests of what a swap of folders does: called between the checks and the listing or
// the rename they lead to. Empty outside the tests.
struct FileSystemHooks {
  std::function<void()> afterListing;   // once a folder has been listed
  std::function<void()> beforeReplace;  // before the rename of a committed write
};
FileSystemHooks& TestHooks();

}  // namespace platform
