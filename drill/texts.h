// The drills' Japanese texts, as code page 932 bytes, and the faces they are shown in. Written
// as byte escapes so nothing depends on the compiler's execution character set. The report's
// texts are UTF-8 and live in report/.
#pragma once

#include "resources/resource_ids.h"

namespace texts {

inline constexpr char kQuit[] = "\x8f\x49\x97\xb9";     // 終了
inline constexpr char kTimes[] = "\x81\x7e";            // ×
inline constexpr char kPlus[] = "\x81\x7b";             // ＋
inline constexpr char kEquals[] = "\x81\x81";           // ＝
inline constexpr char kWarning[] = "\x8c\x78\x8d\x90";  // 警告
// ﾌｧｲﾙを閉じるときにｴﾗｰが発生しました。 (half-width katakana in ﾌｧｲﾙ and ｴﾗｰ; 37 bytes)
inline constexpr char kLogFailed[] =
    "\xcc\xa7\xb2\xd9\x82\xf0\x95\xc2\x82\xb6\x82\xe9\x82\xc6\x82\xab\x82\xc9\xb4\xd7\xb0\x82"
    "\xaa\x94\xad\x90\xb6\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";
inline constexpr char kResults[] = "\x97\xfb\x8f\x4b\x8c\x8b\x89\xca";  // 練習結果
inline constexpr char kStartTime[] =
    "\x83\x58\x83\x5e\x81\x5b\x83\x67\x8e\x9e\x8a\xd4";  // スタート時間
inline constexpr char kTimeTaken[] =
    "\x82\xa9\x82\xa9\x82\xc1\x82\xbd\x8e\x9e\x8a\xd4";                      // かかった時間
inline constexpr char kProblemCount[] = "\x96\xe2\x91\xe8\x82\xcc\x90\x94";  // 問題の数
inline constexpr char kAverageTime[] = "\x95\xbd\x8b\xcf\x8e\x9e\x8a\xd4";   // 平均時間
// ＭＳ Ｐゴシック
inline constexpr char kUiFace[] = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
inline constexpr char kMinutes[] = "\x95\xaa";  // 分
inline constexpr char kSeconds[] = "\x95\x62";  // 秒
// ファイル %s を作成できません
inline constexpr char kCannotCreateFile[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8b %s \x82\xf0\x8d\xec\x90\xac\x82\xc5\x82\xab\x82\xdc\x82"
    "\xb9\x82\xf1";

// The face of the embedded font, and the file it is installed from.
inline constexpr char kDigitFace[] = QUARN_DIGIT_FACE;
inline constexpr char kFontFileName[] = "KORVEN.ttf";

}  // namespace texts
