// Writes a realistic class's folder of practice logs, to look at the report a teacher gets:
// 28 children (most folders with 出席番号, kana and kanji names), 18 school days, both drills,
// a few planted weak facts (56 ÷ 7, 13 − 8, 7 × 8), a child with no log yet, a child who
// joined late, one who stopped a week ago, and a copy of a log beside its original.
//
// Usage: quarn_make_class FOLDER   (the folder must not exist yet)
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "drill/log_format.h"
#include "platform/calendar.h"

namespace fs = std::filesystem;
using drill::DrillKind;

namespace {

struct Weakness {
  DrillKind drill;
  int a, b;        // the forward fact: a × b or a ＋ b
  bool inverse;    // the weakness is in working back: 56 ÷ 7 rather than 7 × 8
  double slower;   // factor on the solving time
  double missing;  // chance of a wrong try
  int known = 0;   // working back: the number shown beside the hidden one (7 in 56 ÷ 7)
};

struct Child {
  const char* folder;
  double seconds;            // typical solving time on day one
  double missRate;           // chance of a wrong try on any problem
  int firstDay = 0;          // joined later
  int lastDay = 17;          // stopped practising
  double subtraction = 0.6;  // chance of a subtraction run on a day
  std::vector<Weakness> weak;
};

const Weakness k56div7{DrillKind::kDivision, 7, 8, true, 3.4, 0.30, 7};
const Weakness k7x8{DrillKind::kDivision, 7, 8, false, 4.0, 0.15};
const Weakness k13minus8{DrillKind::kSubtraction, 5, 8, true, 3.0, 0.40, 8};
const Weakness k54div6{DrillKind::kDivision, 9, 6, true, 2.6, 0.2, 6};
const Weakness k63div7{DrillKind::kDivision, 9, 7, true, 2.8, 0.2, 7};
const Weakness k15minus7{DrillKind::kSubtraction, 8, 7, true, 2.6, 0.3, 7};

std::vector<Child> Class() {
  return {
      {"01_相田 はると", 2.4, 0.008, 0, 17, 0.7, {k56div7}},
      {"02_いしかわ さくら", 2.0, 0.005, 0, 17, 0.7, {}},
      {"03_上野 ゆい", 3.1, 0.012, 0, 17, 0.5, {k56div7, k13minus8}},
      {"04_江藤 そうた", 2.2, 0.008, 0, 17, 0.7, {}},
      {"05_大西 りん", 3.8, 0.02, 0, 17, 0.7, {k56div7, k54div6, k63div7, k7x8}},
      {"06_加藤 ひなた", 2.6, 0.008, 0, 17, 0.7, {k13minus8}},
      {"07_きむら ゆうと", 2.0, 0.005, 0, 17, 0.7, {}},
      {"08_久保 めい", 2.8, 0.008, 0, 10, 0.7, {k56div7, k15minus7}},
      {"09_小林 そら", 2.3, 0.008, 0, 17, 0.7, {}},
      {"10_さいとう こはる", 4.2, 0.02, 0, 17, 0.5, {k56div7, k7x8, k13minus8, k15minus7}},
      {"11_佐野 いつき", 2.1, 0.005, 0, 17, 0.7, {}},
      {"12_清水 あおい", 2.5, 0.008, 0, 17, 0.7, {k56div7}},
      {"13_すずき れん", 2.9, 0.012, 0, 17, 0.7, {k7x8}},
      {"14_高橋 ゆな", 2.2, 0.005, 0, 17, 0.7, {}},
      {"15_田中 だいき", 3.3, 0.015, 0, 17, 0.7, {k13minus8, k56div7}},
      {"16_つじ みお", 2.4, 0.008, 0, 17, 0.7, {}},
      {"17_中村 こうき", 2.7, 0.008, 12, 17, 0.7, {k54div6}},
      {"18_西田 えま", 2.0, 0.005, 0, 17, 0.7, {}},
      {"19_のだ かいと", 2.6, 0.008, 0, 17, 0.7, {k13minus8}},
      {"20_林 ひまり", 2.3, 0.008, 0, 17, 0.7, {}},
      {"21_藤井 りく", 3.0, 0.012, 0, 17, 0.7, {k56div7, k63div7}},
      {"22_まえだ ののか", 2.1, 0.005, 0, 17, 0.7, {}},
      {"松本 ゆうま", 2.5, 0.008, 0, 17, 0.7, {k13minus8}},
      {"やまぐち あんな", 2.2, 0.008, 0, 17, 0.7, {}},
      {"ワタナベ ケンタ", 3.4, 0.015, 0, 17, 0.7, {k56div7, k15minus7}},
      {"森 ことね", 2.4, 0.008, 0, 17, 0.7, {}},
      {"あべ しょう", 2.0, 0.008, 0, 17, 0.7, {}},
      {"吉田 はな", 0, 0, 0, -1, 0, {}},  // has not started
  };
}

// 18 school days from Thursday 2026-03-19 to Monday 2026-04-13.
std::vector<int64_t> SchoolDays() {
  std::vector<int64_t> days;
  for (int64_t d = platform::DaysFromCivil(2026, 3, 19); days.size() < 18; d++) {
    const int64_t weekday = (d + 4) % 7;  // 0 Sunday
    if (weekday != 0 && weekday != 6) days.push_back(d);
  }
  return days;
}

std::string LogFor(std::mt19937& random, const Child& child, DrillKind kind, int day, bool focus,
                   int problems, const std::string& date, const std::string& time) {
  std::string log = drill::LogHeaderLine(kind, date, time, problems, focus);
  std::uniform_real_distribution<double> unit(0, 1);
  std::lognormal_distribution<double> noise(0, 0.35);
  const double practised = std::pow(0.97, day);  // a little faster each day
  for (int i = 0; i < problems; i++) {
    int a, b;
    do {
      a = 1 + static_cast<int>(random() % 9);
      b = 1 + static_cast<int>(random() % 9);
    } while (!drill::IsAsked(kind, a, b));
    int slot = 1 + static_cast<int>(random() % 4);
    // A focus run asks the child's weak facts often.
    if (focus && !child.weak.empty() && unit(random) < 0.4) {
      const Weakness& w = child.weak[random() % child.weak.size()];
      if (w.drill == kind) {
        a = w.a;
        b = w.b;
        slot = 3 + static_cast<int>(random() % 2);
        if (w.inverse) {
          // The known number shown, the other hidden: □ × 7 or 7 × □.
          slot = random() % 2 ? 1 : 2;
          const int other = w.a == w.known ? w.b : w.a;
          a = slot == 1 ? other : w.known;
          b = slot == 1 ? w.known : other;
        }
      }
    }
    drill::Problem problem{kind, a, b, slot};
    double seconds = child.seconds * practised * noise(random);
    double miss = child.missRate;
    // Harder facts take everyone longer: the larger operands, the subtraction across ten.
    seconds *= 1 + 0.05 * (a + b - 10);
    for (const Weakness& w : child.weak) {
      const bool inverse = slot <= 2;
      const int known = slot == 1 ? b : a;
      const bool same = (a == w.a && b == w.b) || (a == w.b && b == w.a);
      const bool forwardSame = kind == DrillKind::kDivision ? same : a == w.a && b == w.b;
      if (w.drill == kind && inverse == w.inverse &&
          (inverse ? same && known == w.known : forwardSame)) {
        seconds *= w.slower;
        miss = w.missing;
      }
    }
    int misses = 0;
    while (misses < 3 && unit(random) < miss)
      misses++;
    seconds = std::max(0.6, seconds + misses * 2.0);
    const int ms = static_cast<int>(seconds * 1000);
    char solvingTime[32];
    std::snprintf(solvingTime, sizeof solvingTime, "%02d:%02d.%03d", ms / 60000, ms / 1000 % 60,
                  ms % 1000);
    log += drill::LogProblemLine(problem, solvingTime, misses);
  }
  return log;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: quarn_make_class FOLDER\n", stderr);
    return 2;
  }
  const fs::path folder = argv[1];
  if (fs::exists(folder)) {
    std::fprintf(stderr, "%s exists already\n", argv[1]);
    return 2;
  }
  std::mt19937 random(20260413);
  std::uniform_real_distribution<double> unit(0, 1);
  const std::vector<int64_t> days = SchoolDays();
  int logs = 0;
  std::string copied;
  for (const Child& child : Class()) {
    const fs::path dir = folder / fs::u8path(child.folder);
    fs::create_directories(dir);
    for (int day = child.firstDay; day <= child.lastDay; day++) {
      const platform::CivilDate date = platform::CivilFromDays(days[day]);
      int minute = 40 + static_cast<int>(random() % 15);
      for (DrillKind kind : drill::kDrillKinds) {
        const double chance = kind == DrillKind::kDivision ? 0.9 : child.subtraction;
        if (unit(random) >= chance) continue;
        const bool focus = !child.weak.empty() && day >= 8 && unit(random) < 0.2;
        const int problems = unit(random) < 0.06 ? 20 + static_cast<int>(random() % 70) : 100;
        char dateText[16], timeText[16], name[32];
        std::snprintf(dateText, sizeof dateText, "%04d/%02d/%02d", static_cast<int>(date.year),
                      date.month, date.day);
        const int second = static_cast<int>(random() % 60);
        std::snprintf(timeText, sizeof timeText, "08:%02d:%02d", minute, second);
        std::snprintf(name, sizeof name, "%04d%02d%02d08%02d%02d.log", static_cast<int>(date.year),
                      date.month, date.day, minute, second);
        std::ofstream(dir / name, std::ios::binary)
            << LogFor(random, child, kind, day, focus, problems, dateText, timeText);
        logs++;
        minute += 5;
        if (copied.empty() && day == 17) copied = (dir / name).string();
      }
    }
  }
  // A copy made beside its original, as Explorer names it.
  if (!copied.empty()) {
    fs::path original = copied;
    fs::copy_file(original,
                  original.parent_path() /
                      (original.stem().string() + " - \xE3\x82\xB3\xE3\x83\x94\xE3\x83\xBC.log"));
  }
  std::printf("%s: 28 children, %d logs and a copy of %s\n", argv[1], logs, copied.c_str());
  return 0;
}
