// The simulated child's memory and answers.
#include "tools/learner_model.h"

#include <cmath>

namespace sim {

namespace {

constexpr double kNoActivation = -10.0;
constexpr double kMasteredRecall = 0.9;
constexpr double kFluentSeconds = 3.0;

}  // namespace

double FactMemory::Activation(double now) const {
  double sum = 0;
  for (const Trace& trace : traces) {
    const double age = std::max(now - trace.time, 1.0);
    sum += std::pow(age, -trace.decay);
  }
  return sum > 0 ? beta + std::log(sum) : kNoActivation;
}

void FactMemory::Practise(double now, double alpha, double c) {
  const double m = Activation(now);
  traces.push_back({now, c * std::exp(m) + alpha});
}

double RecallProbability(double m, const MemoryParameters& p) {
  return 1.0 / (1.0 + std::exp((p.tau - m) / p.s));
}

Attempt AnswerFact(Child& child, int place, int countSteps, double now, std::mt19937_64& random) {
  FactMemory& fact = child.facts[static_cast<size_t>(place)];
  const double m = fact.Activation(now);
  std::uniform_real_distribution<double> uniform(0, 1);
  std::lognormal_distribution<double> noise(0.0, 0.2);
  Attempt attempt;
  attempt.recalled = uniform(random) < RecallProbability(m, child.p);
  if (attempt.recalled) {
    attempt.seconds = (child.latencyF * std::exp(-m) + child.motorSeconds) * noise(random);
    while (uniform(random) < child.p.slip) {
      ++attempt.wrongTries;
      attempt.seconds += child.motorSeconds * noise(random);
    }
  } else {
    const double counting = child.motorSeconds + child.countSecondsPerUnit * countSteps;
    attempt.seconds = counting * noise(random);
    while (uniform(random) < child.p.countSlip) {
      ++attempt.wrongTries;
      attempt.seconds += counting * 0.5 * noise(random);  // counts again, partly
    }
  }
  fact.Practise(now, child.alpha, child.p.c);
  return attempt;
}

bool TrulyMastered(const Child& child, int place, double now) {
  const double m = child.facts[static_cast<size_t>(place)].Activation(now);
  return RecallProbability(m, child.p) >= kMasteredRecall &&
         child.latencyF * std::exp(-m) + child.motorSeconds <= kFluentSeconds;
}

}  // namespace sim
