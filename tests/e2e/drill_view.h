// What the driver knows of the drill programs, read from outside: the two builds, the main
// window and the problem it shows, the practice log and the results dialog.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "drill/log_reader.h"
#include "drill/practice.h"
#include "tests/e2e/harness.h"

namespace e2e {

// The texts the programs show, as UTF-16.
namespace text {
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
}  // namespace text

struct BuildInfo {
  drill::DrillKind kind = drill::DrillKind::kDivision;
  std::wstring exe;      // Windows path
  std::string name;      // D_Quarn or S_Quarn
  std::wstring caption;  // the main window's caption
  std::wstring operatorGlyph;
  bool focus = false;      // started for a focus run
  std::wstring arguments;  // the command line after the program's name
};

BuildInfo MakeBuild(drill::DrillKind kind, std::wstring exe);
// The same program started for a focus run: with /focus, under its focus caption.
BuildInfo FocusBuild(const BuildInfo& build);

// ---- Main window -----------------------------------------------------------------------

struct MainView {
  HWND form = nullptr;
  HWND panel = nullptr;
  HWND box = nullptr;     // the answer box: the panel's child that is no STATIC
  HWND button = nullptr;  // the quit button
  // The six labels ordered by their Left: digitPlace1, operatorSign, digitPlace2, equalsSign,
  // digitPlace3, digitPlace4 (ui/main_window.cpp names them).
  std::array<HWND, 6> byLeft{};
  HWND SlotLabel(int slot) const;  // slot 1 to 4
  HWND OperatorLabel() const { return byLeft[1]; }
  HWND EqualsLabel() const { return byLeft[3]; }
};

// Finds the panel, its six labels and the box, and the quit button; why says what is
// missing when it returns nothing.
std::optional<MainView> FindMainView(HWND form, std::string* why);

// What the screen shows of a problem.
struct ScreenProblem {
  int hidden = 0;               // the slot under the box, 1 to 4
  std::array<int, 5> digits{};  // slots 1 to 4; the hidden slot's entry is -1
  bool operator==(const ScreenProblem&) const = default;
};

// The problem on screen: the box's position names the hidden slot, whose label (a stale
// digit) is never read. Nothing while the labels and the box disagree.
std::optional<ScreenProblem> ReadProblem(const MainView& view);
// The problem the drill asks that the screen shows; nothing when the visible digits are no
// problem this drill can ask.
std::optional<drill::Problem> AskedProblem(drill::DrillKind kind, const ScreenProblem& shown);
std::string Describe(const BuildInfo& build, const ScreenProblem& problem);

// ---- Practice log ----------------------------------------------------------------------

// A log the program wrote, as the product's reader reads it, with its lines as written.
struct PracticeLog {
  std::wstring fileName;
  std::vector<std::string> lines;  // CP932 bytes, without their CR LF
  drill::LoggedRun run;
};

// The regular files named *.log in dir.
std::vector<std::wstring> LogFiles(const std::wstring& dir);
// Reads the file with the product's reader and checks what a reader forgives: the file's
// name, CR LF after every line, no line skipped. Each fault is reported through Expect;
// nothing when the reader cannot use the file.
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
