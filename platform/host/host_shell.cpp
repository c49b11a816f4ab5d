// The report program's system services on Linux and macOS: standard streams and xdg-open or
// open.
#include <spawn.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/shell.h"

extern char** environ;

namespace platform {

void ShowMessage(std::string_view text, MessageKind kind) {
  bool trouble = kind == MessageKind::kError || kind == MessageKind::kWarning;
  std::FILE* stream = trouble ? stderr : stdout;
  std::fwrite(text.data(), 1, text.size(), stream);
  if (!text.ends_with('\n')) std::fputc('\n', stream);
  std::fflush(stream);
}

bool OpenInBrowser(const Path& file) {
#if defined(__APPLE__)
  const char* opener = "open";
#else
  const char* opener = "xdg-open";
#endif
  std::error_code ec;
  std::string target = std::filesystem::absolute(std::filesystem::path(file.Native()), ec).native();
  char* argv[] = {const_cast<char*>(opener), target.data(), nullptr};
  pid_t pid = 0;
  // Not waited for: some openers stay until the browser closes. The child is reaped by
  // the system when this short-lived program exits.
  return posix_spawnp(&pid, opener, nullptr, nullptr, argv, environ) == 0;
}

}  // namespace platform
