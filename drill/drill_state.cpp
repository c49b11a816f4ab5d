// The one DrillState of the process and the start of its practice run.
#include "drill/drill_state.h"

#include "drill/random.h"

DrillState Drill;

void StartPracticeRun() {
  Drill.KeyHeld = false;
  Drill.Busy = false;
  Drill.LastClock = ReadClock();
  Drill.StartTime = Drill.LastClock;
  Drill.TotalTime = 0;
  Drill.ProblemNumber = 0;
  Drill.RightCount = 0;
  SeedRandom();
}
