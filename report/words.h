// Every Japanese text of the report's page and CSV, in UTF-8, in one place. The page's parts
// put them between their tags and figures; a constant ending or starting at a figure is named
// for the words it holds.
#pragma once

namespace report::words {

// Punctuation and units that join figures and names.
inline constexpr char kColon[] = "：";
inline constexpr char kComma[] = "、";
inline constexpr char kPeriod[] = "。";
inline constexpr char kOpen[] = "（";
inline constexpr char kClose[] = "）";
inline constexpr char kDash[] = "—";
inline constexpr char kTimes[] = "回";
inline constexpr char kSeconds[] = "秒";
inline constexpr char kProblems[] = "問";
inline constexpr char kPeople[] = "人";
inline constexpr char kFiles[] = "件";
inline constexpr char kFilesClose[] = "件）";
inline constexpr char kNone[] = "ありません";
inline constexpr char kNoneSentence[] = "ありません。";

// Names: the drills in short, the grids, the operators as the child reads them.
inline constexpr char kDivision[] = "わり算";
inline constexpr char kSubtraction[] = "ひき算";
inline constexpr char kMultiplication[] = "かけ算";
inline constexpr char kAddition[] = "たし算";
inline constexpr char kTimesSign[] = "×";
inline constexpr char kPlusSign[] = "＋";
inline constexpr char kDivideSign[] = "÷";
inline constexpr char kMinusSign[] = "−";
inline constexpr char kEqualsSign[] = " ＝ ";

// The fact states: name and mark.
inline constexpr char kFluent[] = "すらすら";
inline constexpr char kFluentMark[] = "◎";
inline constexpr char kGettingThere[] = "もう少し";
inline constexpr char kGettingThereMark[] = "○";
inline constexpr char kSlow[] = "時間がかかる";
inline constexpr char kSlowMark[] = "△";
inline constexpr char kMissed[] = "まちがいあり";
// Not ✕ or ✖: on a page of multiplication they read as the sign ×.
inline constexpr char kMissedMark[] = "！";
inline constexpr char kUnseen[] = "未出題";

// Days: 2024年3月1日〜2024年3月31日, 2024年3月1日から, 2024年3月31日まで.
inline constexpr char kYear[] = "年";
inline constexpr char kMonth[] = "月";
inline constexpr char kDay[] = "日";
inline constexpr char kDaysTo[] = "〜";
inline constexpr char kFromDay[] = "から";
inline constexpr char kUntilDay[] = "まで";

// The page's head.
inline constexpr char kTitle[] = "練習の記録：";
inline constexpr char kHeading[] = "練習の記録：";
inline constexpr char kRangeRecords[] = "の記録";
inline constexpr char kPeopleComma[] = "人、";
inline constexpr char kRunsRecorded[] = "回分の記録";
inline constexpr char kFilesNotRead[] = "使わなかったファイル";
inline constexpr char kOutsideRange[] = "この期間の外の記録";
inline constexpr char kOutsideRangeLeftOut[] = "回は入れていません。";
inline constexpr char kNoRunsInRange[] = "この期間に始めた練習の記録はありません。";
inline constexpr char kNoLogs[] =
    "このフォルダーとその下のフォルダーに、読める練習記録（*.log）はありません。";
inline constexpr char kOverviewHeading[] = "児童ごとの記録";
inline constexpr char kBackToTop[] = "↑ページの先頭へ";
inline constexpr char kTimesComma[] = "回、";

// The overview.
inline constexpr char kOverviewCaption[] = "出席番号順（番号のない名前は五十音順）";
inline constexpr char kOverviewNote[] =
    "ドリルごとに1行。帯は、ドリルの問題を判定ごとに色分けしたもの（まちがいあり・時間がかかる・も"
    "う少し・すらすらの順）です";
inline constexpr char kNotStarted[] = "まだ記録がありません";
inline constexpr char kName[] = "名前";
inline constexpr char kDrill[] = "ドリル";
inline constexpr char kRuns[] = "回数";
inline constexpr char kProblemCount[] = "問題数";
inline constexpr char kLatestRun[] = "最後の練習";
inline constexpr char kWeekDays1[] = "練習した日数（";
inline constexpr char kWeekDays2[] = "週前→今週）";
inline constexpr char kWeekDaysShort[] = "週ごとの練習日数";
inline constexpr char kWeekDaysNote1[] = "。週ごとの練習日数は、";
inline constexpr char kWeekDaysNote2[] = "週前から今週（月曜から日曜）まで、古い順です";
inline constexpr char kWeekSeparator[] = "・";
inline constexpr char kDaysUnit[] = "日";
inline constexpr char kPerProblem[] = "最新回の中央値";
inline constexpr char kChangeFromFirst[] = "最初の3回との差";
inline constexpr char kStatesOfFacts[] = "問題ごとの判定";
inline constexpr char kStatesOfFactsShort[] = "判定";
inline constexpr char kNotYet[] = "未出題";
inline constexpr char kFirstRuns[] = "最初の";
inline constexpr char kSecondsLastRuns[] = "秒、最後の";
inline constexpr char kTimesColon[] = "回：";
inline constexpr char kNoChange[] = "±0.0秒";
inline constexpr char kFaster[] = "（速くなった）";
inline constexpr char kSlower[] = "（遅くなった）";

// The legend and the key line.
inline constexpr char kLegendHeading[] = "色と記号の見かた";
inline constexpr char kRecent[] = "直近";
inline constexpr char kRecentAnswers[] = "回";
inline constexpr char kFluentMeaning1[] = "その日はじめて出たときの答えの";
inline constexpr char kFluentMeaning2[] = "のうち";
inline constexpr char kFluentMeaning3[] = "回以上を、まちがえずに";
inline constexpr char kFluentMeaning4[] =
    "以内で答えた（まちがいや遅れが2回まであっても、すらすらです）";
inline constexpr char kGettingThereMeaning1[] = "中央値が";
inline constexpr char kGettingThereMeaning2[] = "すらすらではなく、中央値が";
inline constexpr char kGettingThereMeaning3[] = "以下";
inline constexpr char kSlowMeaning[] = "より長い";
inline constexpr char kMissedMeaning1[] = "のうち";
inline constexpr char kMissedMeaning2[] =
    "回以上まちがえ（1回しか出ていなければ、その1回で）、すらすらでもない。まだ身についていない"
    "問題です";
inline constexpr char kUnseenMeaning[] = "まだ答えていない";
inline constexpr char kNeverMeaning[] = "灰色：ドリルに出ない組み合わせ";
inline constexpr char kFewMeaning1[] = "点線のわくと＊：その日はじめての答えが";
inline constexpr char kFewMeaning2[] = "回以下で、判定はまだ目安";
inline constexpr char kLongWeakMeaning1[] = "続：";
inline constexpr char kLongWeakMeaning2[] =
    "日前までの記録でも苦手（時間がかかる・まちがいあり）で、その後もその日はじめて出たときの答えが"
    "3回以上あり、一度もすらすらにならずに今も苦手な問題";
inline constexpr char kDueMeaning1[] =
    "↻：復習どき。すらすらだが、最後に出てから日がたった。すらすらが続くほど間をあけます（続けて";
inline constexpr char kDueMeaning2[] = "回までは";
inline constexpr char kDueMeaning3[] = "日、そのあと";
inline constexpr char kDays[] = "日、";
inline constexpr char kDueMeaning4[] = "日、いちばん長くて";
inline constexpr char kDueMeaning5[] = "日）";
inline constexpr char kFirstAsksOnly[] =
    "判定は、問題がその日の練習ではじめて出たときの答えだけで決めます。日をおいても思い出せるか"
    "を見るためです。同じ日に2回目に出た問題や、まちがえたあとのやり直しは練習です。答えた回数"
    "には入りますが、判定には数えません。日付は、いちばん新しい練習の日（--to を指定したときは"
    "その日）を今日として数えます。";
inline constexpr char kCellNumbers1[] = "マスの数字は";
inline constexpr char kCellNumbers2[] =
    "の答えにかかった時間の中央値（秒）です。速さは、表に出る小数第1位の値でくらべています。";
inline constexpr char kFactsAsThought[] =
    "問題は、子どもが考えるとおりに分けて数えています。7 × 8 ＝ 5□ は「7 × 8」、□ × 8 ＝ 56 "
    "は「56 ÷ 8」、8 ＋ 5 ＝ 1□ は「8 ＋ 5」、□ ＋ 8 ＝ 13 は「13 − 8」です。たし算の答えの十の位"
    "はいつも1なので、その問題は□の位置ごとの表にだけ入れ、マスの色には数えません。";
inline constexpr char kChartPoints[] =
    "グラフの点は、その回の答えにかかった時間の中央値です。長く手を止めた問題が1つあっても、ほと"
    "んど動きません。";
inline constexpr char kChange1[] =
    "回との差は、100問やりきった回（集中練習をのぞく）のうち、最初の";
inline constexpr char kChange2[] = "回と最後の";
inline constexpr char kChange3[] = "回の中央値をくらべたものです（やりきった回が";
inline constexpr char kChange4[] = "回になると出ます）。最後の";
inline constexpr char kChange5[] = "回がどれも最初の";
inline constexpr char kChange6[] =
    "回のどれより速いときは緑、どれより遅いときは赤にしています。変わっていない子でも、たまたま"
    "そうなるのは20回に1回です。";
inline constexpr char kPracticeOrder[] =
    "練習したい問題は、まちがいあり、時間がかかる、もう少しの順に、同じなかではまちがえた回の多い"
    "順、時間の長い順に並べています。";
inline constexpr char kKeyFew1[] = "答え";
inline constexpr char kKeyLongWeak[] = "1週間前にも苦手";
inline constexpr char kKeyFew2[] = "回以下";
inline constexpr char kKeyDue[] = "復習どき";
inline constexpr char kDueMark[] = "↻";

// The progress chart.
inline constexpr char kChartHeading[] = "回ごとの時間（中央値）とまちがい";
inline constexpr char kChartLabel[] =
    "回ごとの時間の中央値と、100問あたりのまちがい。下の「表で見る」に同じ値があります";
inline constexpr char kMissesPerProblemAxis[] = "まちがい/100問";
inline constexpr char kFullRun[] = "100問やりきった回";
inline constexpr char kKeySpace[] = "　";
inline constexpr char kShortRun[] = "途中で終えた回";
inline constexpr char kMissesKey[] = "100問あたりのまちがい（右の目もり）";
inline constexpr char kFocusRunKey[] =
    "集中練習の回（苦手な問題を集めた回なので、時間がかかるのはふつうです）";
inline constexpr char kPointsSummary[] = "表で見る（";
inline constexpr char kPointsSummaryEnd[] = "回）";
inline constexpr char kPointsCaption[] = "回ごとの数字";
inline constexpr char kStarted[] = "開始日時";
inline constexpr char kMedianSeconds[] = "中央値（秒）";
inline constexpr char kMissesPerProblem[] = "100問あたりのまちがい";
inline constexpr char kShortRunMark[] = "（途中まで）";
inline constexpr char kFocusRunMark[] = "（集中練習）";

// The fact grids.
inline constexpr char kGridCaption[] = "の表";
inline constexpr char kAnswerDigitHidden[] = "答えの数字がかくれた問題（";
inline constexpr char kDivisionForwardExample[] = "7 × 8 ＝ 5□";
inline constexpr char kSubtractionForwardExample[] = "7 ＋ 8 ＝ 1□";
inline constexpr char kRowAndColumn[] = "は7の行、8の列";
inline constexpr char kDivisionOperandHidden[] = "かけ算の左右どちらかの数がかくれた問題（";
inline constexpr char kSubtractionOperandHidden[] = "たし算の左右どちらかの数がかくれた問題（";
inline constexpr char kDivisionInverseExample[] = "□ × 7 ＝ 56、7 × □ ＝ 56";
inline constexpr char kSubtractionInverseExample[] = "□ ＋ 7 ＝ 15、7 ＋ □ ＝ 15";
inline constexpr char kRowIs[] = "は7の行、8の列。行は";
inline constexpr char kDivisorName[] = "わる数";
inline constexpr char kSubtrahendName[] = "ひく数";
inline constexpr char kColumnIsAnswer[] = "、列は答え";
inline constexpr char kNeverAsked[] = "ドリルに出ない";
inline constexpr char kCellAnswers[] = "、答えた回数";
inline constexpr char kCellRecent[] = "回、その日はじめての答え直近";
inline constexpr char kCellMedian[] = "回の中央値";
inline constexpr char kCellMissed[] = "秒、まちがい";
inline constexpr char kCellFew[] = "（答えが少なく、判定はまだ目安）";
inline constexpr char kCellDue[] = "、復習どき（最後に出てから";
inline constexpr char kCellDueEnd[] = "日）";
inline constexpr char kStateDue[] = "（復習どき）";

// The hidden positions, named without a fact, each with the kind of sum the child works out.
inline constexpr const char* kSlotShapes[2][4] = {
    {"かけ算の左の数", "かけ算の右の数", "答えの十の位", "答えの一の位"},
    {"たし算の左の数", "たし算の右の数", "答えの十の位", "答えの一の位"}};
inline constexpr const char* kSlotThinks[2][4] = {
    {"わり算", "わり算", "かけ算", "かけ算"}, {"ひき算", "ひき算", "なし（いつも1）", "たし算"}};
inline constexpr char kSlotsCaption[] = "□の位置ごと";
inline constexpr char kSlotsNote[] = "これまでのすべての答えです（マスの色は直近の答えだけ）";
inline constexpr char kSlotsTensNote[] = "。答えの十の位はいつも1なので、マスの色には数えません";
inline constexpr char kSlot[] = "かくれた数";
inline constexpr char kThink[] = "考える計算";
inline constexpr char kAnswers[] = "答えた回数";
inline constexpr char kMedian[] = "中央値";
inline constexpr char kMissRate[] = "まちがいの割合";

// The facts to practise.
inline constexpr char kPracticeCaption[] = "次に練習したい問題";
inline constexpr char kNothingToPractise[] = "いまのところありません。";
inline constexpr char kProblem[] = "問題";
inline constexpr char kState[] = "判定";
inline constexpr char kRecentOf1[] = "直近";
inline constexpr char kRecentOf2[] = "回中";
inline constexpr char kMisses[] = "まちがい";

// The class map.
inline constexpr char kClassHeading[] = "学級全体のつまずき";
inline constexpr char kClassMapNote[] =
    "それぞれの問題で「時間がかかる」か「まちがいあり」の児童の数です。色が濃いほど多く、1人・2〜3"
    "人・"
    "4〜6人・7人以上の4段階です。";
inline constexpr char kClassListCaption[] = "苦手な児童が多い問題";
inline constexpr char kPeopleCount[] = "人数";
inline constexpr char kChildren[] = "児童";
inline constexpr char kNoRecordsYet[] = "まだ記録がありません。";

// The files not used.
inline constexpr char kPartlyReadHeading[] = "一部の行を使わなかったファイル";
inline constexpr char kMoreFiles[] = "ほか";
inline constexpr char kEmptyFile[] = "空のファイル";
inline constexpr char kNoHeader[] = "練習記録ではありません（1行目が見出しでない）";
inline constexpr char kBadDate[] = "見出しの日付が正しくありません";
inline constexpr char kBadClock[] = "見出しの時刻が正しくありません";
inline constexpr char kBadCount[] = "見出しの問題数が正しくありません";
inline constexpr char kNoProblemLines[] = "読める問題の行がありません";
inline constexpr char kFieldCount[] = "項目の数が4でない行";
inline constexpr char kMalformedProblem[] = "問題の形が正しくない行";
inline constexpr char kImpossibleProblem[] = "ありえない計算の行";
inline constexpr char kBadSolvingTime[] = "解いた時間が読めない行";
inline constexpr char kBadMisses[] = "まちがいの数が読めない行";
inline constexpr char kCutOff[] = "途中で切れた最後の行";
inline constexpr char kPastLastProblem[] = "問を超えた行";
inline constexpr char kLinesSkipped[] = "行を読み飛ばしました（";
inline constexpr char kHeaderCount[] = "見出しの問題数";
inline constexpr char kAndLines[] = "と行数";
inline constexpr char kDoNotMatch[] = "が合いません";
inline constexpr char kUnreadableLines[] = "読めない行がありました";
inline constexpr char kCountMismatch[] = "見出しの問題数と行数が合いません";
inline constexpr char kFolderUnreadable[] = "フォルダーを読めません";
inline constexpr char kLinkNotFollowed[] = "リンク（ほかの場所を指すもの）はたどりません";
inline constexpr char kNotAFile[] = "ふつうのファイルではありません";
inline constexpr char kCannotRead[] = "読み込めません";
inline constexpr char kTooLarge[] = "練習記録としては大きすぎます";
inline constexpr char kSameRun[] =
    "ほかのファイルと同じ回の記録です（コピーなど。一度だけ数えています）";
inline constexpr char kSameRunAs[] = "と同じ回";

// Learners whose names would show alike, told apart by where their logs are.
inline constexpr char kTopFolderRecords[] = "（フォルダー直下の記録）";
inline constexpr char kInFolder[] = "（フォルダー ";

// The answers table's head row.
inline constexpr char kCsvHead[] =
    "名前,ドリル,開始日時,集中練習,問題番号,問題,考える計算,□の位置,答え,秒,まちがいの数,"
    "判定に数える,"
    "今の判定";
inline constexpr char kCsvFocus[] = "集中練習";
inline constexpr char kCsvTensOfSum[] = "（答えの十の位：いつも1なので判定に数えない）";
// The facts table's head row.
inline constexpr char kCsvFactsHead[] =
    "名前,ドリル,問題,判定,答えが少ない,1週間前にも苦手,答えた回数,直近の回数,直近のまちがい,直近の"
    "中央値（秒）";
inline constexpr char kCsvYes[] = "はい";

// Who needs help now: the first part of the page.
inline constexpr char kNeedHeading[] = "支援が必要な児童";
inline constexpr char kNeedRule1[] = "その日はじめて出たときの答えが";
inline constexpr char kNeedRule2[] =
    "回以上ある問題で「まちがいあり」か「時間がかかる」のものがある児童を、その問題の多い順（同じな"
    "ら「まちがいあり」の多い順）に並べています。「続」は1週間前から苦手なままの問題です。";
inline constexpr char kNeedNone[] = "いま支援が必要な児童はいません。";
inline constexpr char kWeakFacts[] = "苦手な問題（弱い順に3つまで）";
inline constexpr char kWeakCount[] = "苦手な問題の数";
inline constexpr char kDaysAgo[] = "日前";
inline constexpr char kLastDay[] = "最終日";
inline constexpr char kDaysAgoNote1[] = "「日前」は、この記録のいちばん新しい日（";
inline constexpr char kDaysAgoNote2[] = "）から数えています。";
inline constexpr char kLongWeakMark[] = "続";
inline constexpr char kMoreInNeed1[] = "ほかに";
inline constexpr char kMoreInNeed2[] = "人：";
inline constexpr char kMoreInNeed3[] = "（苦手な問題の多い順。くわしくは下の一覧から）";

// Per learner: the facts fluent in each row of the grids.
inline constexpr char kRowsCaption[] = "段ごとのすらすら（◎）の数";
inline constexpr char kDivisionRowsNote[] = "かけ算とわり算の両方。7の段は 7 × □ と □ ÷ 7";
inline constexpr char kSubtractionRowsNote[] = "ひく数ごと。「−8」は □ − 8 の問題";
inline constexpr char kRowSuffix[] = "の段";
inline constexpr char kRowSubtrahend[] = "−";

// Weekdays, Sunday first: 4月13日(月).
inline constexpr const char* kWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"};

}  // namespace report::words
