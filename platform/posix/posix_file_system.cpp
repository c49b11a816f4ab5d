// The report's folders and files on a POSIX system (the host build): names are bytes, read
// and written with the system calls, so that no link is followed and no FIFO is opened.
#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <utility>

#include "platform/utf8.h"

namespace platform {
namespace {

// Owns a file descriptor; move-only.
class Descriptor {
 public:
  explicit Descriptor(int descriptor) : fd(descriptor) {}
  Descriptor(Descriptor&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      if (fd >= 0) ::close(fd);
      fd = std::exchange(other.fd, -1);
    }
    return *this;
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  int Get() const { return fd; }
  bool IsOpen() const { return fd >= 0; }
  // Closes now; false when the system reports a failure (a write it had deferred).
  bool Close() { return ::close(std::exchange(fd, -1)) == 0; }

 private:
  int fd;
};

struct DirectoryCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};
using Directory = std::unique_ptr<DIR, DirectoryCloser>;

struct IconvCloser {
  void operator()(iconv_t cd) const { iconv_close(cd); }
};

// The bytes as CP932 text in UTF-8; empty when they are not CP932.
std::string Cp932ToUtf8(std::string_view bytes) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::unique_ptr<void, IconvCloser> owner(cd);
  std::string in(bytes);
  std::string out(bytes.size() * 3 + 4, '\0');
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft) {
    return {};
  }
  out.resize(out.size() - outLeft);
  return out;
}

// Keeps each well-formed UTF-8 sequence and writes every other byte with replace().
template <class Replace>
std::string MendUtf8(std::string_view bytes, Replace replace) {
  std::string out;
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = Utf8SequenceLength(bytes.substr(i));
    if (n) {
      out += bytes.substr(i, n);
      i += n;
    } else {
      out += replace(static_cast<unsigned char>(bytes[i]));
      i++;
    }
  }
  return out;
}

std::string DisplayName(std::string_view name) {
  if (IsUtf8(name)) return std::string(name);
  std::string converted = Cp932ToUtf8(name);
  if (!converted.empty()) return converted;
  return MendUtf8(name, [](unsigned char) { return std::string("\xEF\xBF\xBD"); });  // U+FFFD
}

std::string SystemText(int error) {
  return DisplayName(std::strerror(error));
}

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::kFile;
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  if (S_ISLNK(mode)) return EntryKind::kLink;
  return EntryKind::kOther;
}

// Writes all of bytes; false with errno set when the system refused.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Lists the folder open as fd. readdir reads through a descriptor of its own, so the folder
// can be listed again.
bool ListOpenFolder(int fd, std::vector<FolderEntry>& entries) {
  entries.clear();
  const int own = openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (own < 0) return false;
  Directory dir(fdopendir(own));
  if (!dir) {
    ::close(own);
    return false;
  }
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(dir.get());
    if (!entry) {
      if (errno != 0) return false;
      if (TestHooks().afterListing) TestHooks().afterListing();
      return true;
    }
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    EntryKind kind = EntryKind::kOther;
    switch (entry->d_type) {
      case DT_REG:
        kind = EntryKind::kFile;
        break;
      case DT_DIR:
        kind = EntryKind::kFolder;
        break;
      case DT_LNK:
        kind = EntryKind::kLink;
        break;
      case DT_UNKNOWN: {
        // Some file systems do not say; ask without following a link.
        struct stat info;
        kind = fstatat(dirfd(dir.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0
                   ? KindOfMode(info.st_mode)
                   : EntryKind::kUnreadable;
        break;
      }
      default:
        break;
    }
    entries.push_back({Path(std::move(name)), kind});
  }
}

// Reads an open descriptor whole, but never more than maxBytes + 1 bytes of it.
ReadStatus ReadOpened(const Descriptor& file, size_t maxBytes, std::string& bytes,
                      FileIdentity& identity) {
  struct stat info;
  if (fstat(file.Get(), &info) != 0) return ReadStatus::kCannotRead;
  identity = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
  if (!S_ISREG(info.st_mode)) return ReadStatus::kNotAFile;
  // Small pieces: a practice log is about 3 KB, the cap tens of kilobytes.
  char piece[8192];
  while (bytes.size() <= maxBytes) {
    ssize_t n = ::read(file.Get(), piece, sizeof piece);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return ReadStatus::kCannotRead;
    if (n == 0) break;
    bytes.append(piece, static_cast<size_t>(n));
  }
  if (bytes.size() > maxBytes) {
    bytes.resize(maxBytes + 1);
    return ReadStatus::kTooLarge;
  }
  return ReadStatus::kRead;
}

// Not blocking: a FIFO would otherwise wait for a writer for ever. Never through a link.
constexpr int kReadFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

int FolderFd(const Folder& folder) {
  return static_cast<int>(folder.Handle());
}

}  // namespace

Folder::Folder(Folder&& other) noexcept
    : handle(std::exchange(other.handle, kClosed)), where(std::move(other.where)) {}

Folder& Folder::operator=(Folder&& other) noexcept {
  if (this != &other) {
    if (handle != kClosed) ::close(static_cast<int>(handle));
    handle = std::exchange(other.handle, kClosed);
    where = std::move(other.where);
  }
  return *this;
}

Folder::~Folder() {
  if (handle != kClosed) ::close(static_cast<int>(handle));
}

bool OpenFolder(const Path& path, Folder& folder) {
  const std::string& text = path.Native();
  const int fd = open(text.empty() ? "." : text.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  folder = Folder(fd, path);
  return true;
}

bool OpenSubfolder(const Folder& parent, const Path& name, Folder& folder) {
  const int fd = openat(FolderFd(parent), name.Native().c_str(),
                        O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  folder = Folder(fd, Join(parent.Where(), name));
  return true;
}

bool ListFolder(const Folder& folder, std::vector<FolderEntry>& entries) {
  return ListOpenFolder(FolderFd(folder), entries);
}

bool ListFolder(const Path& path, std::vector<FolderEntry>& entries) {
  entries.clear();
  Folder folder;
  return OpenFolder(path.Empty() ? Path(".") : path, folder) && ListFolder(folder, entries);
}

ReadStatus ReadSmallFile(const Folder& folder, const Path& name, size_t maxBytes,
                         std::string& bytes, FileIdentity& identity) {
  bytes.clear();
  Descriptor file(openat(FolderFd(folder), name.Native().c_str(), kReadFlags));
  if (!file.IsOpen()) return errno == ELOOP ? ReadStatus::kNotAFile : ReadStatus::kCannotRead;
  return ReadOpened(file, maxBytes, bytes, identity);
}

bool IdentityOf(const Folder& folder, FileIdentity& identity) {
  struct stat info;
  if (fstat(FolderFd(folder), &info) != 0) return false;
  identity = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
  return true;
}

bool IdentityOf(const Folder& folder, const Path& name, FileIdentity& identity) {
  struct stat info;
  if (fstatat(FolderFd(folder), name.Native().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
    return false;
  identity = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
  return true;
}

bool IsFolder(const Path& path) {
  struct stat info;
  return stat(path.Native().c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

ReadStatus ReadSmallFile(const Path& path, size_t maxBytes, std::string& bytes,
                         FileIdentity& identity) {
  bytes.clear();
  Descriptor file(open(path.Native().c_str(), kReadFlags));
  if (!file.IsOpen()) return errno == ELOOP ? ReadStatus::kNotAFile : ReadStatus::kCannotRead;
  return ReadOpened(file, maxBytes, bytes, identity);
}

// Here the identity comes with the check for a regular file at no cost.
ReadStatus ReadSmallFile(const Path& path, size_t maxBytes, std::string& bytes) {
  FileIdentity ignored;
  return ReadSmallFile(path, maxBytes, bytes, ignored);
}

bool IdentityOf(const Path& path, FileIdentity& identity) {
  struct stat info;
  if (stat(path.Native().c_str(), &info) != 0) return false;
  identity = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
  return true;
}

std::string DisplayUtf8(const Path& path) {
  // Each name on its own: a CP932 folder may sit in a UTF-8 one.
  const std::string& bytes = path.Native();
  std::string out;
  size_t start = 0;
  for (;;) {
    const size_t slash = bytes.find('/', start);
    out += DisplayName(std::string_view(bytes).substr(start, slash - start));
    if (slash == std::string::npos) return out;
    out += '/';
    start = slash + 1;
  }
}

std::string EscapedUtf8(const Path& path) {
  return MendUtf8(path.Native(), [](unsigned char byte) {
    constexpr char kHex[] = "0123456789ABCDEF";
    return std::string{'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
  });
}

Path PathFromUtf8(std::string_view utf8) {
  return Path(std::string(utf8));
}

Path Join(const Path& folder, const Path& name) {
  const std::string& text = folder.Native();
  if (text.empty()) return name;
  if (text.back() == '/') return Path(text + name.Native());
  return Path(text + '/' + name.Native());
}

Path FolderName(const Path& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path absolute = fs::absolute(fs::path(folder.Native()), ec).lexically_normal();
  if (!absolute.has_filename()) absolute = absolute.parent_path();  // "x/" or "x/."
  return Path(absolute.has_filename() ? absolute.filename().native() : absolute.native());
}

void SplitPath(const Path& path, Path& folder, Path& name) {
  const std::string& text = path.Native();
  const size_t slash = text.rfind('/');
  if (slash == std::string::npos) {
    folder = Path();
    name = path;
    return;
  }
  // "/x" is in the root, whose name keeps its slash.
  folder = Path(text.substr(0, slash == 0 ? 1 : slash));
  name = Path(text.substr(slash + 1));
}

bool SameName(const Path& x, const Path& y) {
  return x == y;
}

WriteError CheckReplaceable(const Folder& folder, const Path& name) {
  struct stat info;
  if (fstatat(FolderFd(folder), name.Native().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
    return WriteError::kNone;
  if (!S_ISREG(info.st_mode)) return WriteError::kNotAFile;
  // No one may write it: its owner made it so (the owner and root could still rename over it).
  if ((info.st_mode & 0222) == 0) return WriteError::kReadOnly;
  return WriteError::kNone;
}

ReplacingWrite::~ReplacingWrite() {
  if (!folder) return;
  if (!temporary.Empty()) unlinkat(FolderFd(*folder), temporary.Native().c_str(), 0);
  if (!kept.Empty()) unlinkat(FolderFd(*folder), kept.Native().c_str(), 0);
}

WriteOutcome ReplacingWrite::Prepare(const Folder& into, const Path& target,
                                     std::string_view bytes) {
  folder = &into;
  name = target;
  const int dir = FolderFd(into);
  if (WriteError check = CheckReplaceable(into, target); check != WriteError::kNone) {
    return {check, {}};
  }
  struct stat old;
  const bool replacing =
      fstatat(dir, target.Native().c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode);

  // A short name of its own beside the old file: a rename within one folder is atomic, and a
  // name no longer than kMaxTemporaryName fits wherever the page's own name does.
  Descriptor file(-1);
  std::string candidate;
  for (unsigned attempt = 0; attempt < 100 && !file.IsOpen(); attempt++) {
    char text[kMaxTemporaryName + 1];
    std::snprintf(text, sizeof text, ".q%x-%u.tmp", static_cast<unsigned>(getpid()) & 0xFFFFFFu,
                  attempt);
    candidate = text;
    // O_EXCL: a name someone else placed there, a link above all, is never opened.
    Descriptor created(
        openat(dir, text, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!created.IsOpen() && errno != EEXIST) return {WriteError::kCannotCreate, SystemText(errno)};
    file = std::move(created);
  }
  if (!file.IsOpen()) return {WriteError::kCannotCreate, SystemText(EEXIST)};
  temporary = Path(candidate);

  int error = 0;
  if (replacing) {
    // The old file's permissions, which the umask would otherwise have cut; its owner and
    // group too where the system lets this user give them.
    if (fchmod(file.Get(), old.st_mode & 07777) != 0) error = errno;
    if (fchown(file.Get(), old.st_uid, old.st_gid) != 0 &&
        fchown(file.Get(), -1, old.st_gid) != 0) {
      // Another user's file in a shared folder: the new one is this user's.
    }
  }
  // fsync makes a failure the file system defers (a full disk) show before the rename.
  if (!error && (!WriteAll(file.Get(), bytes) || fsync(file.Get()) != 0)) error = errno;
  if (!file.Close() && !error) error = errno;
  if (error) return {WriteError::kCannotWrite, SystemText(error)};
  return {};
}

WriteOutcome ReplacingWrite::Commit() {
  if (!folder || temporary.Empty()) return {WriteError::kCannotWrite, {}};
  if (TestHooks().beforeReplace) TestHooks().beforeReplace();
  const int dir = FolderFd(*folder);
  // A second name for the old file (a hard link, which costs nothing), for Undo. Where the
  // file system has none, the write goes on without one.
  for (unsigned attempt = 0; attempt < 100; attempt++) {
    char text[kMaxTemporaryName + 1];
    std::snprintf(text, sizeof text, ".q%x-k%u.tmp", static_cast<unsigned>(getpid()) & 0xFFFFFFu,
                  attempt);
    if (linkat(dir, name.Native().c_str(), dir, text, 0) == 0) {
      kept = Path(text);
      break;
    }
    if (errno != EEXIST) break;
  }
  struct stat old;
  replacedOld = fstatat(dir, name.Native().c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (renameat(dir, temporary.Native().c_str(), dir, name.Native().c_str()) != 0) {
    return {WriteError::kCannotReplace, SystemText(errno)};
  }
  temporary = Path();
  committed = true;
  return {};
}

bool ReplacingWrite::Undo() {
  if (!committed) return true;
  committed = false;
  const int dir = FolderFd(*folder);
  if (kept.Empty()) return !replacedOld && unlinkat(dir, name.Native().c_str(), 0) == 0;
  if (renameat(dir, kept.Native().c_str(), dir, name.Native().c_str()) != 0) return false;
  kept = Path();
  return true;
}

WriteOutcome WriteFileReplacing(const Path& path, std::string_view bytes) {
  Path folderPath, name;
  SplitPath(path, folderPath, name);
  Folder folder;
  if (name.Empty()) return {WriteError::kNotAFile, {}};
  if (!OpenFolder(folderPath, folder)) return {WriteError::kCannotCreate, SystemText(errno)};
  ReplacingWrite write;
  WriteOutcome outcome = write.Prepare(folder, name, bytes);
  return outcome.error == WriteError::kNone ? write.Commit() : outcome;
}

FileSystemHooks& TestHooks() {
  static FileSystemHooks hooks;
  return hooks;
}

}  // namespace platform
