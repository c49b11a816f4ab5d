// The simulated child's memory on its own: recall fades, and spaced practice outlasts packed
// practice while packed practice wins a minute later, the crossover its source reports.
#include <gtest/gtest.h>

#include "tools/learner_model.h"

namespace sim {
namespace {

TEST(LearnerModel, SpacingBeatsPackingOnceTheDayIsOverAndRecallFades) {
  const MemoryParameters p;
  const double day = 86400 * p.h;  // a day between sessions, as it counts
  FactMemory packed, spaced;
  for (int i = 0; i < 4; ++i) {
    packed.Practise(30.0 * i, p.alpha, p.c);  // four asks half a minute apart
    spaced.Practise(day * i, p.alpha, p.c);   // one a day for four days
  }
  auto recall = [&](const FactMemory& fact, double last, double later) {
    return RecallProbability(fact.Activation(last + later), p);
  };
  const double packedLast = 90, spacedLast = 3 * day;
  EXPECT_GT(recall(packed, packedLast, 60), recall(spaced, spacedLast, 60));
  EXPECT_GT(recall(spaced, spacedLast, day), recall(packed, packedLast, day));
  EXPECT_GT(recall(spaced, spacedLast, 7 * day), 2 * recall(packed, packedLast, 7 * day));
  double before = 1;
  for (double later : {60.0, day, 7 * day, 30 * day}) {
    const double now = recall(spaced, spacedLast, later);
    EXPECT_LT(now, before) << later;
    before = now;
  }
}

}  // namespace
}  // namespace sim
