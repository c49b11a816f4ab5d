// The in-memory backend's controls for tests: a fake clock, files that can be made to fail,
// a queue of window-system events, and a trace of everything the program asked of the OS.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/platform.h"

namespace headless {

struct MessageBoxRecord {
  std::string text;
  std::string caption;
  platform::MessageKind kind;
};

// What an image's off-screen bitmap shows: the last text drawn on it since the last
// rectangle, and in which colour.
struct CanvasContent {
  platform::Size size;
  bool framed = false;
  std::string text;
  platform::Color color = platform::kBlack;
};

struct State {
  // Clocks: local milliseconds since 1970-01-01 and the zone offset; the monotonic clock
  // advances with them.
  int64_t localMs = 0;
  int utcOffsetMinutes = 9 * 60;
  int64_t monotonicMicros = 1'000'000;

  int pixelsPerInch = 96;
  bool failWindowCreation = false;  // CreateNative fails, as without a window station
  platform::Size maximizedClient{1024, 711};

  std::map<std::string, std::string> files;  // path (UTF-8) -> contents
  std::set<std::string> failOpen;            // creating these paths fails
  std::set<std::string> lockedFiles;         // held by another process: creating them fails
  int failWriteCall = 0;                     // the n-th File::Write fails (1-based; 0: never)
  bool failClose = false;                    // File::Close fails
  int writeCalls = 0;
  std::string tempDirectory = "C:\\Temp\\";  // UTF-8
  // Whether a file may not be deleted now, as the system refuses for a font file that a
  // live font object still maps.
  std::function<bool(const std::string& path)> refuseDelete;

  std::multiset<std::string> registeredFonts;  // paths passed to AddFontResource
  std::set<std::string> unusableFonts;         // AddFontResource refuses these paths
  std::set<std::string> fontObjects;           // faces the windowing layer made fonts of
  int fontBroadcasts = 0;
  std::function<void()> duringFontBroadcast;     // runs while the broadcast waits for the windows
  std::map<std::string, std::string> resources;  // "TYPE/NAME" in upper case -> bytes
  // The regional settings; nothing stands for a setting the system cannot report.
  std::optional<char> dateSeparator = '/';
  std::optional<char> timeSeparator = ':';
  std::vector<std::string> arguments;  // the command line after the program's name

  std::vector<MessageBoxRecord> messageBoxes;
  std::function<void(const MessageBoxRecord&)> onMessageBox;  // runs while the box "is shown"
  std::vector<std::string> trace;
  std::deque<std::function<void()>> queue;
  // Asked for more events when the queue runs dry; returning false ends a loop that would
  // otherwise wait for ever (the loop then records "stalled").
  std::function<bool()> idle;
  bool stalled = false;
  std::string title;
  bool shiftDown = false;
  platform::Form* modal = nullptr;             // the form whose modal loop runs, if any
  std::map<uintptr_t, std::string> openFiles;  // an open File's handle -> its path (UTF-8)
};

// The one in-memory machine the program runs on.
State& Machine();
// Adds an entry to the trace (the backend's files record every call into the system).
void Trace(std::string entry);
// Paths as the tests name them: UTF-8.
std::string Utf8(const platform::Path& path);
platform::Path PathFromUtf8(std::string_view utf8);

// A fresh machine: clears the state, restarts the application object.
void Reset();
void SetLocalTime(const platform::DateTime& t);
void Advance(int milliseconds);

// Window-system events, delivered by the event loop or by "process pending messages".
void PostKeyDown(platform::Key key);
void PostChar(char ch);
void PostKeyUp(platform::Key key);
// The key that types the character: Return, Tab, Space and Escape by name, any other kOther.
platform::Key KeyOfChar(char ch);
void PostKey(char ch);  // down, character, up, as one typed key
void PostResize(int clientWidth, int clientHeight);
void PostClose();  // the close box of the main form
void PostClick(platform::Control& control);
// The user logs off: the system's query and then its word that the session ends.
void PostEndSession();
void PostSettingChange(std::optional<char> dateSeparator, std::optional<char> timeSeparator);
// Delivers every queued event, as the event loop would; unlike "process pending messages"
// it leaves no trace entry.
void DeliverPending();

const CanvasContent& CanvasOf(platform::Image& image);
bool HasFocus(platform::Control& control);
// A colour as the trace writes it: "rrggbb" in hex, or the name of its role.
std::string ColorText(platform::Color color);

// Trace entries whose text starts with one of the prefixes, in order.
std::vector<std::string> TraceOf(std::initializer_list<const char*> prefixes);

}  // namespace headless
