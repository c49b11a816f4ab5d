// A regression run of focus mode over a kept corpus of awkward logs (copies, renamed, cut,
// flipped, the other drill's, a byte order mark, junk) and seeded mutations of them: each folder
// goes through the reader, the history and a whole planner run, and every planner rule that
// holds whatever the history is checked on every problem.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "drill/focus_history.h"
#include "drill/focus_plan.h"
#include "drill/log_folder.h"
#include "drill/log_format.h"
#include "drill/random.h"
#include "platform/headless/headless.h"

namespace drill {
namespace {

std::map<std::string, std::string> Corpus() {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(QUARN_FOCUS_CORPUS)) {
    const std::string name = entry.path().filename().string();
    if (!IsLogFileName(name)) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    files[name] = bytes.str();
  }
  return files;
}

// One seeded change of a log: a byte changed, a piece cut or doubled, a line end lost.
std::string Mutated(std::string bytes, RandomSource& random) {
  if (bytes.empty()) return "\r\n";
  const size_t at = static_cast<size_t>(random.Draw(static_cast<int>(bytes.size())));
  switch (random.Draw(4)) {
    case 0:
      bytes[at] = static_cast<char>(random.Draw(256));
      break;
    case 1:
      bytes.resize(at);
      break;
    case 2:
      bytes.insert(at, bytes.substr(at, static_cast<size_t>(random.Draw(64))));
      break;
    default:
      if (const size_t end = bytes.find("\r\n", at); end != std::string::npos) bytes.erase(end, 2);
      break;
  }
  return bytes;
}

// A whole run of the planner on the history, the child answering by the seed; checks the
// rules on every problem and returns the problems asked.
std::vector<Problem> PlannerRun(DrillKind kind, const FactStates& history, RandomSource& random) {
  const FocusRules rules;
  FocusPlanner planner(kind, history, rules);
  std::vector<Problem> asked;
  std::array<int, kFactPlaces> lastAsked;
  lastAsked.fill(-rules.gap - 1);
  for (int i = 0; i < kProblemsPerRun; ++i) {
    const Problem p = planner.Next(random);
    const Fact fact = FactOf(p);
    const int place = FactPlace(fact);
    EXPECT_EQ(p.kind, kind);
    EXPECT_TRUE(IsAsked(fact)) << "problem " << i;
    EXPECT_TRUE(SaysSomethingAboutTheFact(p)) << "problem " << i;
    if (planner.HasHistory()) {
      EXPECT_GT(i - lastAsked[static_cast<size_t>(place)], rules.gap) << "problem " << i;
    }
    lastAsked[static_cast<size_t>(place)] = i;
    const int wrongTries = random.Draw(5) == 0 ? 1 : 0;
    planner.Answered(p, static_cast<uint32_t>(800 + random.Draw(9000)), wrongTries);
    asked.push_back(p);
  }
  return asked;
}

TEST(FocusCorpus, AwkwardFoldersGoThroughTheReaderTheHistoryAndAPlannerRun) {
  const std::map<std::string, std::string> corpus = Corpus();
  ASSERT_GE(corpus.size(), 9u);
  RandomSource random(20261210);
  constexpr int kFolders = 60;
  for (int folder = 0; folder < kFolders; ++folder) {
    SCOPED_TRACE("folder " + std::to_string(folder));
    headless::Reset();
    for (const auto& [name, bytes] : corpus) {
      const int changes = folder == 0 ? 0 : random.Draw(3);
      std::string changed = bytes;
      for (int k = 0; k < changes; ++k)
        changed = Mutated(std::move(changed), random);
      headless::Machine().files[name] = std::move(changed);
    }
    for (DrillKind kind : kDrillKinds) {
      // The history read from the folder is the builder's fed in the reading's own order.
      const FactStates read = ReadFocusHistory(kind);
      std::vector<std::string> names;
      for (const auto& [name, bytes] : headless::Machine().files)
        names.push_back(name);
      FocusHistoryBuilder builder(kind);
      for (size_t i : ExaminationOrder(names))
        builder.Add(names[i], headless::Machine().files[names[i]]);
      const FactStates direct = builder.Build();
      for (int place = 0; place < kFactPlaces; ++place) {
        EXPECT_EQ(read.FiguresAt(place).state, direct.FiguresAt(place).state) << place;
        EXPECT_EQ(read.FiguresAt(place).recentAnswers, direct.FiguresAt(place).recentAnswers);
      }
      // The same seed, the same run.
      RandomSource first(static_cast<uint32_t>(folder)), second(static_cast<uint32_t>(folder));
      EXPECT_EQ(PlannerRun(kind, read, first), PlannerRun(kind, read, second));
    }
  }
}

// The kept corpus as it stands: the log and its copy count once, the renamed log counts by the
// start it records, and nothing damaged adds a run.
TEST(FocusCorpus, TheKeptFolderCountsEachRunOnce) {
  const std::map<std::string, std::string> corpus = Corpus();
  FocusHistoryBuilder builder(DrillKind::kDivision);
  int runs = 0;
  std::vector<std::string> names;
  for (const auto& [name, bytes] : corpus)
    names.push_back(name);
  for (size_t i : ExaminationOrder(names))
    runs += builder.Add(names[i], corpus.at(names[i]));
  // 20261208171845.log and renamed.log: the copy, bom.log, cut.log and (where its header
  // survived) flipped.log record the same start and count as that run, by its original's
  // contents.
  EXPECT_EQ(runs, 2);
  const FactStates alone = [&] {
    FocusHistoryBuilder one(DrillKind::kDivision);
    one.Add("renamed.log", corpus.at("renamed.log"));
    one.Add("20261208171845.log", corpus.at("20261208171845.log"));
    return one.Build();
  }();
  const FactStates all = builder.Build();
  for (int place = 0; place < kFactPlaces; ++place)
    EXPECT_EQ(all.FiguresAt(place).recentAnswers, alone.FiguresAt(place).recentAnswers) << place;
}

}  // namespace
}  // namespace drill
