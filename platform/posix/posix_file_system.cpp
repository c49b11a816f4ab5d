// The report's folders and files on a POSIX system (the host build): names are bytes, read
// and written with the system calls, so that no link is followed and no FIFO is opened.
#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

}  // namespace

bool ListFolder(const Path& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  Directory dir(opendir(folder.Native().c_str()));
  if (!dir) return false;
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(dir.get());
    if (!entry) return errno == 0;
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

bool IsFolder(const Path& path) {
  struct stat info;
  return stat(path.Native().c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

ReadStatus ReadSmallFile(const Path& path, size_t maxBytes, std::string& bytes,
                         FileIdentity& identity) {
  bytes.clear();
  // Not blocking: a FIFO would otherwise wait for a writer for ever.
  Descriptor file(open(path.Native().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!file.IsOpen()) return errno == ELOOP ? ReadStatus::kNotAFile : ReadStatus::kCannotRead;
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

WriteOutcome WriteFileReplacing(const Path& path, std::string_view bytes) {
  const std::string& target = path.Native();
  struct stat info;
  if (lstat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    return {WriteError::kNotAFile, {}};
  }

  // The new file goes beside the old one: a rename within one file system is atomic.
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temporary;
  Descriptor file(-1);
  for (int attempt = 0; attempt < 100 && !file.IsOpen(); attempt++) {
    temporary = folder + "." + name + "." + std::to_string(getpid()) + "-" +
                std::to_string(attempt) + ".tmp";
    // O_EXCL: a name someone else placed there, a link above all, is never opened.
    Descriptor created(
        open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!created.IsOpen() && errno != EEXIST) return {WriteError::kCannotCreate, SystemText(errno)};
    file = std::move(created);
  }
  if (!file.IsOpen()) return {WriteError::kCannotCreate, SystemText(EEXIST)};

  // fsync makes a failure the file system defers (a full disk) show before the rename.
  int error = 0;
  if (!WriteAll(file.Get(), bytes) || fsync(file.Get()) != 0) error = errno;
  if (!file.Close() && !error) error = errno;
  if (error) {
    unlink(temporary.c_str());
    return {WriteError::kCannotWrite, SystemText(error)};
  }
  if (rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
    unlink(temporary.c_str());
    return {WriteError::kCannotReplace, SystemText(error)};
  }
  return {};
}

}  // namespace platform
