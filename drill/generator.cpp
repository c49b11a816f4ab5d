// The problem generator behind KakeZan and TasiZan.
#include "drill/generator.h"

#include <string>

#include "drill/drill_state.h"
#include "drill/random.h"
#include "platform/controls.h"

namespace drill {

void OpenProblem(Operation op, platform::Image& answerBox) {
  if (Drill.RunEnded) return;
  // An open problem that was never solved is given up: it frees its record and its
  // combination, so the table holds only solved problems and can never overflow. It is not
  // drawn again straight away: the learner would see the same problem come back.
  int index = Drill.ProblemNumber;
  int abandonedA = 0, abandonedB = 0, abandonedH = 0;
  if (index > 0 && !Drill.ProblemTable[index].Solved) {
    const TLogRec& abandoned = Drill.ProblemTable[index];
    abandonedA = abandoned.SlotText[1][0] - '0';
    abandonedB = abandoned.SlotText[2][0] - '0';
    abandonedH = abandoned.HiddenSlotText[0] - '0';
    Drill.UsedCombinations(abandonedA, abandonedB, abandonedH) = 0;
    --index;
  }
  if (index >= kProblemsPerRun) return;  // all records solved: the run is over

  // At most 99 answered combinations and the abandoned one are excluded, of at least 180, so
  // the drawing always ends.
  int a, b, h, r;
  do {
    a = DrawRandom(9) + 1;
    b = DrawRandom(9) + 1;
    h = DrawRandom(4) + 1;
    r = Combine(op, a, b);
  } while (r < 10 || Drill.UsedCombinations(a, b, h) ||
           (a == abandonedA && b == abandonedB && h == abandonedH));
  Drill.UsedCombinations(a, b, h) = 1;
  ++Drill.ProblemsOpened;

  Drill.ProblemNumber = index + 1;
  TLogRec& record = Drill.ProblemTable[Drill.ProblemNumber];
  std::string result = std::to_string(r);
  record.SlotText[1] = std::to_string(a);
  record.SlotText[2] = std::to_string(b);
  record.SlotText[3] = result.substr(0, 1);
  record.SlotText[4] = result.substr(result.size() - 1);
  record.HiddenSlotText = std::to_string(h);
  record.Time = ReadClock();
  record.Opened = ReadMonotonicClock();
  record.Misses = 0;
  record.Solved = false;

  for (int i = 1; i <= 4; ++i) {
    if (i == h) {
      Drill.ExpectedAnswer = record.SlotText[i][0] - '0';
    } else {
      Drill.LabelArray[static_cast<size_t>(i - 1)]->SetCaption(record.SlotText[i]);
    }
  }
  answerBox.SetLeft(Drill.LabelArray[static_cast<size_t>(h - 1)]->Left() - 4);
}

}  // namespace drill
