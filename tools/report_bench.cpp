// Measures the report program on a class-sized folder: 40 learners with a year of daily
// runs (10,000 logs, about a million problem lines), or with --empty a folder of that many
// empty logs, made here in a temporary directory. Prints the wall time, the peak memory and
// the page's size; checks nothing.
//
// Usage: quarn_report_bench [QUARN_REPORT] [LEARNERS] [RUNS_PER_LEARNER] [--keep]
//        quarn_report_bench [QUARN_REPORT] --empty COUNT [--keep]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "drill/log_format.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// One run of the drill as it would write it, with the regional "/" and ":".
std::string MakeLog(std::mt19937& random, drill::DrillKind kind, int day, int problems) {
  char date[32], time[32];
  std::snprintf(date, sizeof date, "%04d/%02d/%02d", 2025 + (day + 90) / 365,
                1 + (day % 365) / 31 % 12, 1 + day % 28);
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", 8 + day % 9, day % 60, day * 7 % 60);
  std::string log = drill::LogHeaderLine(kind, date, time, problems);
  for (int i = 0; i < problems; i++) {
    int a, b;
    do {
      a = 1 + static_cast<int>(random() % 9);
      b = 1 + static_cast<int>(random() % 9);
    } while (!drill::IsAsked(kind, a, b));
    const drill::Problem problem{kind, a, b, 1 + static_cast<int>(random() % 4)};
    int ms = 800 + static_cast<int>(random() % 9000);
    int misses = random() % 10 == 0 ? 1 + static_cast<int>(random() % 3) : 0;
    char solvingTime[32];
    std::snprintf(solvingTime, sizeof solvingTime, "%02d:%02d.%03d", ms / 60000, ms / 1000 % 60,
                  ms % 1000);
    log += drill::LogProblemLine(problem, solvingTime, misses);
  }
  return log;
}

constexpr char kUsage[] =
    "usage: quarn_report_bench [QUARN_REPORT] [LEARNERS] [RUNS_PER_LEARNER] [--keep]\n"
    "       quarn_report_bench [QUARN_REPORT] --empty COUNT [--keep]\n";

// The most logs the bench makes, so that a mistyped count cannot fill the disk: a whole run's
// log is about 3 KB.
constexpr int kMostLogs = 1000000;

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

// A count of 1 to kMostLogs written in digits; 0 for anything else.
int Count(const std::string& text) {
  if (text.empty() || text.size() > 7 || text.find_first_not_of("0123456789") != std::string::npos)
    return 0;
  const int n = std::stoi(text);
  return n <= kMostLogs ? n : 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  bool keep = false;
  int empty = 0;
  for (size_t i = 0; i < arguments.size();) {
    if (arguments[i] == "--keep") {
      keep = true;
      arguments.erase(arguments.begin() + i);
    } else if (arguments[i] == "--empty") {
      if (i + 1 == arguments.size() || !(empty = Count(arguments[i + 1]))) return Usage();
      arguments.erase(arguments.begin() + i, arguments.begin() + i + 2);
    } else {
      i++;
    }
  }
  if (arguments.size() > (empty ? 1u : 3u)) return Usage();
  fs::path program = arguments.size() > 0 ? fs::path(arguments[0])
                                          : fs::path(argv[0]).parent_path() / "quarn-report";
  // Before anything is written: a count given where the program belongs must not start a
  // folder of millions of logs.
  if (!fs::is_regular_file(program)) {
    std::fprintf(stderr, "no report program at %s\n", program.c_str());
    return Usage();
  }
  int learners = arguments.size() > 1 ? Count(arguments[1]) : 40;
  int runs = arguments.size() > 2 ? Count(arguments[2]) : 250;
  if (!learners || !runs || int64_t{learners} * runs > kMostLogs) return Usage();
  if (empty) learners = 0;

  fs::path folder = fs::temp_directory_path() / ("quarn-report-bench-" + std::to_string(getpid()));
  fs::path output = folder.string() + ".html";
  fs::create_directories(folder);
  for (int i = 0; i < empty; i++) {
    char name[32];
    std::snprintf(name, sizeof name, "%08d.log", i + 1);
    std::ofstream(folder / name, std::ios::binary);
  }
  if (empty) std::printf("folder: %d empty logs\n", empty);
  std::mt19937 random(12345);
  long lines = 0;
  for (int l = 0; l < learners; l++) {
    fs::path dir = folder / ("learner" + std::to_string(l + 1));
    fs::create_directories(dir);
    for (int r = 0; r < runs; r++) {
      const drill::DrillKind kind =
          (l + r) % 3 != 0 ? drill::DrillKind::kDivision : drill::DrillKind::kSubtraction;
      int problems = r % 10 == 9 ? 1 + static_cast<int>(random() % 99) : 100;
      char name[32];
      std::snprintf(name, sizeof name, "%08d%06d.log", 20250101 + r, 80000 + l);
      std::ofstream(dir / name, std::ios::binary) << MakeLog(random, kind, r, problems);
      lines += problems + 1;
    }
  }
  if (!empty) {
    std::printf("folder: %d learners, %d logs, %ld lines\n", learners, learners * runs, lines);
  }

  std::string programText = program.string(), folderText = folder.string(),
              outputText = output.string();
  char* args[] = {programText.data(),
                  folderText.data(),
                  const_cast<char*>("-o"),
                  outputText.data(),
                  const_cast<char*>("--no-open"),
                  nullptr};
  auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, programText.c_str(), nullptr, nullptr, args, environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", programText.c_str());
    return 1;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  std::error_code ec;
  auto size = fs::file_size(output, ec);
  std::printf(
      "exit %d, %.2f s wall, %.2f s user, %.2f s system, peak RSS %.1f MiB, HTML %.2f MiB "
      "(%ju bytes)\n",
      WIFEXITED(status) ? WEXITSTATUS(status) : -1, seconds,
      usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6,
      usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6, usage.ru_maxrss / 1024.0,
      ec ? 0.0 : size / 1048576.0, static_cast<uintmax_t>(ec ? 0 : size));
  if (keep) {
    std::printf("kept %s and %s\n", folderText.c_str(), outputText.c_str());
  } else {
    fs::remove_all(folder, ec);
    fs::remove(output, ec);
  }
  return 0;
}
