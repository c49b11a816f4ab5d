// What the driver knows of the drill programs, read from outside: the two builds, the main
// window and the problem it shows, the practice log and the results dialog.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace e2e {

// The texts the programs show, as UTF-16.
namespace text {
inline constexpr wchar_t kDivideTitle[] = L"Divide Quarn";
inline constexpr wchar_t kSubtractTitle[] = L"Subtract Quarn";
inline constexpr wchar_t kTimes[] = L"\u00D7";                      // ×
inline constexpr wchar_t kPlus[] = L"\uFF0B";                       // ＋
inline constexpr wchar_t kEquals[] = L"\uFF1D";                     // ＝
inline constexpr wchar_t kQuit[] = L"\u7D42\u4E86";                 // 終了
inline constexpr wchar_t kResults[] = L"\u7DF4\u7FD2\u7D50\u679C";  // 練習結果
inline constexpr wchar_t kWarning[] = L"\u8B66\u544A";              // 警告
// ﾌｧｲﾙを閉じるときにｴﾗｰが発生しました。
inline constexpr wchar_t kLogFailed[] =
    L"\uFF8C\uFF67\uFF72\uFF99\u3092\u9589\u3058\u308B\u3068\u304D\u306B\uFF74\uFF97\uFF70"
    L"\u304C\u767A\u751F\u3057\u307E\u3057\u305F\u3002";
inline constexpr wchar_t kStartTime[] = L"\u30B9\u30BF\u30FC\u30C8\u6642\u9593";  // スタート時間
inline constexpr wchar_t kTimeTaken[] = L"\u304B\u304B\u3063\u305F\u6642\u9593";  // かかった時間
inline constexpr wchar_t kProblemCount[] = L"\u554F\u984C\u306E\u6570";           // 問題の数
inline constexpr wchar_t kAverageTime[] = L"\u5E73\u5747\u6642\u9593";            // 平均時間
inline constexpr wchar_t kMinutes[] = L"\u5206";                                  // 分
inline constexpr wchar_t kSeconds[] = L"\u79D2";                                  // 秒
// The log's CP932 bytes of the operator glyphs and "＝".
inline constexpr char kTimesCp932[] = "\x81\x7E";
inline constexpr char kPlusCp932[] = "\x81\x7B";
inline constexpr char kEqualsCp932[] = "\x81\x81";
}  // namespace text

enum class Build { kDivision, kSubtraction };

struct BuildInfo {
  Build build = Build::kDivision;
  std::wstring exe;      // Windows path
  std::string name;      // D_Quarn or S_Quarn
  std::wstring caption;  // the main window's caption
  std::string logTitle;
  std::wstring operatorGlyph;
  std::string operatorCp932;
};

BuildInfo MakeBuild(Build build, std::wstring exe);

// ---- Main window -----------------------------------------------------------------------

struct MainView {
  HWND form = nullptr;
  HWND panel = nullptr;
  HWND box = nullptr;     // the answer box: the panel's child that is no STATIC
  HWND button = nullptr;  // the quit button
  // The six labels ordered by their Left: Label1, Label5, Label2, Label6, Label3, Label4.
  std::array<HWND, 6> byLeft{};
  HWND SlotLabel(int slot) const;  // slot 1 to 4
  HWND OperatorLabel() const { return byLeft[1]; }
  HWND EqualsLabel() const { return byLeft[3]; }
};

// Finds the panel, its six labels and the box, and the quit button; why says what is
// missing when it returns nothing.
std::optional<MainView> FindMainView(HWND form, std::string* why);

struct Problem {
  int hidden = 0;               // the slot under the box, 1 to 4
  std::array<int, 5> digits{};  // slots 1 to 4; the hidden slot's entry is -1
  bool operator==(const Problem&) const = default;
};

// The problem on screen: the box's position names the hidden slot, whose label (a stale
// digit) is never read. Nothing while the labels and the box disagree.
std::optional<Problem> ReadProblem(const MainView& view);
// The hidden digit, or -1 when the visible digits are no problem the build can ask.
int HiddenDigit(Build build, const Problem& problem);
std::string Describe(const BuildInfo& build, const Problem& problem);
// The problem as the log writes it: 8 bytes of CP932, "?" for the hidden digit.
std::string LogProblemField(const BuildInfo& build, const Problem& problem);

// ---- Practice log ----------------------------------------------------------------------

struct LogEntry {
  std::string problem;  // CP932 bytes
  std::string answer;
  long long timeMs = 0;
  int misses = 0;
};

struct PracticeLog {
  std::wstring fileName;
  std::string title;
  SYSTEMTIME start{};  // date and time of the header, to the second
  int count = 0;
  std::vector<LogEntry> entries;
};

// What the log's "/" and ":" print under the user's regional settings; 0 for nothing.
struct Separators {
  char date = '/';
  char time = ':';
};
Separators RegionalSeparators();

// The regular files named *.log in dir.
std::vector<std::wstring> LogFiles(const std::wstring& dir);
// Reads and checks the file's format; each fault is reported through Expect.
std::optional<PracticeLog> ReadLog(const std::wstring& dir, const std::wstring& fileName);

// ---- Results dialog --------------------------------------------------------------------

struct ResultsView {
  HWND dialog = nullptr;
  HWND button = nullptr;
  int staticCount = 0;
  // Each row's visible STATIC texts from left to right: label, then value.
  std::vector<std::vector<std::wstring>> rows;
};

ResultsView ReadResults(HWND dialog);
// A duration as the dialog shows it: "nn分 ss秒zzz", the hours kept in the minutes.
std::wstring DialogDuration(long long ms);

}  // namespace e2e
