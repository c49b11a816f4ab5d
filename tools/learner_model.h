// A simulated child's memory of arithmetic facts, for judging focus mode by what a child truly
// keeps: activation with activation-dependent decay, which gives the spacing effect.
//
// Each practice of a fact leaves a trace; a fact's activation at time t is
//   m(t) = beta + ln( sum_i (t - t_i)^(-d_i) ),   d_i = c * exp(m(t_i)) + alpha,
// so a practice made while the fact is still fresh (high activation) decays fast, and practice
// spread over days lasts (Pavlik & Anderson 2005, "Practice and forgetting effects on
// vocabulary memory: an activation-based model of the spacing effect", Cognitive Science 29).
// Time between sessions counts at the rate h, as in that paper and in Anderson, Fincham &
// Douglass 1999 ("Practice and retention: a unifying analysis"), where psychological time
// slows outside the practice session.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace sim {

// The model's parameters. The memory ones are the fits Pavlik & Anderson 2005 report for
// paired associates (decay scale c, decay intercept alpha, retrieval threshold tau, noise s,
// intersession time scale h). The speed ones are this simulation's own assumptions for
// children's arithmetic, stated here: retrieval latency F * exp(-m) plus the time to read the
// problem and press the key (ACT-R's latency rule, Anderson & Lebiere 1998); a fact not
// retrieved is worked out by counting (Siegler & Shrager 1984: slow, and error-prone).
struct MemoryParameters {
  double c = 0.217;       // decay scale
  double alpha = 0.177;   // decay intercept; each child draws its own around it
  double tau = -0.704;    // retrieval threshold
  double s = 0.255;       // activation noise (logistic scale)
  double h = 0.025;       // share of the time between sessions that counts
  double latencyF = 1.2;  // seconds at activation 0, before reading and typing
  double motorSeconds = 1.0;
  double slip = 0.02;       // a wrong key after a right recall
  double countSlip = 0.15;  // a wrong digit after counting
};

// One fact as one child holds it.
class FactMemory {
 public:
  FactMemory() = default;
  explicit FactMemory(double beta) : beta(beta) {}

  // Activation at `now` (effective seconds); very low before any practice.
  double Activation(double now) const;
  // A practice at `now`: a retrieval attempt or a counted answer, with the right answer seen.
  void Practise(double now, double alpha, double c);
  int Practices() const { return static_cast<int>(traces.size()); }

 private:
  struct Trace {
    double time;
    double decay;
  };
  double beta = 0;
  std::vector<Trace> traces;
};

// The probability of retrieving a fact at activation m.
double RecallProbability(double m, const MemoryParameters& p);

// One child: its own decay intercept, speed and counting speed, and its facts.
struct Child {
  MemoryParameters p;
  double alpha = 0.177;
  double latencyF = 1.2;
  double motorSeconds = 1.0;
  double countSecondsPerUnit = 0.6;  // counting up from the larger operand, per step
  std::vector<FactMemory> facts;     // by fact place
};

// What the child did with one problem: the seconds to the right key and the wrong keys before.
struct Attempt {
  double seconds = 0;
  int wrongTries = 0;
  bool recalled = false;
};

// The child answers the fact at effective time `now`: retrieves it (probability from the
// activation) or counts `countSteps` steps; a slip costs a wrong key and another try. The try
// leaves a trace.
Attempt AnswerFact(Child& child, int place, int countSteps, double now, std::mt19937_64& random);

// Whether the child truly masters the fact at `now`: retrieval at least 90 % likely and its
// expected time within 3.0 s, the report's fluent time.
bool TrulyMastered(const Child& child, int place, double now);

}  // namespace sim
