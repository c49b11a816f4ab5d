// Whole runs of both drills on the in-memory backend, start-up to exit, compared line by line
// with recordings in tests/unit/recordings/; QUARN_RECORD=1 rewrites the recordings instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/variants.h"
#include "drill_harness.h"

namespace {

enum class Build { kDivision, kSubtraction };

// What the results dialog shows: its four value texts and whether the average row is visible.
struct ResultsTexts {
  std::string startTime, totalTime, problemCount, averageTime;
  bool averageVisible = false;
};

// The only functions that know the drill's internal names; a restructuring rewrites these.

// A new process on a fresh in-memory machine, with no run state left from an earlier one.
void ResetProcess() {
  testing_support::FreshProcess();
}

// Runs the build's program from start-up to exit and returns its exit code.
int RunWholeProgram(Build build) {
  return app::RunProgram(build == Build::kDivision ? app::kDivisionVariant
                                                   : app::kSubtractionVariant);
}

// The digit hidden in the open problem.
char RightDigit() {
  return testing_support::ExpectedKey();
}

// A digit that is not the one hidden in the open problem.
char WrongDigit() {
  return testing_support::WrongKey();
}

// Whether the results dialog is on screen.
bool ResultsShowing() {
  return testing_support::Results() && testing_support::Results()->Showing();
}

// The results dialog's value texts as shown now.
ResultsTexts ReadResults() {
  const ui::ResultsDialog& d = *testing_support::Results();
  return {d.startTime.value->Caption(), d.timeTaken.value->Caption(),
          d.problemCount.value->Caption(), d.averageTime.value->Caption(),
          d.averageTime.value->Visible()};
}

// The main window as the learner sees it: the six labels left to right, the answer box's
// place, the panel's bounds and the quit button's place and state.
std::string DescribeMainWindow() {
  const ui::MainWindow& w = testing_support::Main();
  std::string text = "screen";
  for (const platform::Label* label : {w.digitPlaces[0], w.operatorSign, w.digitPlaces[1],
                                       w.equalsSign, w.digitPlaces[2], w.digitPlaces[3]})
    text += " " + label->Caption();
  char places[128];
  std::snprintf(places, sizeof places, " | box %d,%d | panel %d,%d %dx%d | quit %d,%d %s",
                w.answerBox->Left(), w.answerBox->Top(), w.problemPanel->Left(),
                w.problemPanel->Top(), w.problemPanel->Width(), w.problemPanel->Height(),
                w.quitButton->Left(), w.quitButton->Top(),
                w.quitButton->Enabled() ? "enabled" : "disabled");
  return text + places;
}

// Everything below speaks only of keys, windows-system events and recorded output.

enum class Setup {
  kPlain,
  kEmptySeparators,  // the regional date and time separators are set to nothing
  kLogCannotOpen,    // creating the practice log fails
  kLogWriteFails,    // the practice log's second write fails (the first is the font file's)
};

// The script, tokens separated by spaces, run one token whenever the program waits for input:
//   +N        advance the clock N ms (and take the next token at once)
//   R, W      press the right digit, a wrong digit; it is released after the feedback
//   H         hold the right digit: three auto-repeats after the feedback, then the release
//   ~X        (after R, W or H) X arrives during that key's feedback; ~U is the key's release
//   S<w>x<h>  the main window's client area becomes w by h pixels
//   C         the close box
//   Q         Tab to the quit button and Enter
//   L         log-off
//   D         Enter (dismisses the results dialog)
// When the script runs out, a showing dialog is dismissed and the main window closed.
struct Scenario {
  const char* name;
  Build build;
  const char* seed;  // the UTC time of day at start-up, hh:mm:ss.zzz; also the local time
  Setup setup;
  std::string script;
};

std::string Repeat(const std::string& part, int times) {
  std::string out;
  for (int i = 0; i < times; ++i)
    out += part;
  return out;
}

const std::vector<Scenario>& Scenarios() {
  static const std::vector<Scenario> scenarios = {
      {"DivisionRightAndWrong", Build::kDivision, "00:07:02.345", Setup::kPlain,
       "+3125 R +2000 W +3000 R +2004 R +1500 W +700 W +900 R +400 C"},
      {"SubtractionHeldKeyAndReleaseInFeedback", Build::kSubtraction, "13:45:09.007", Setup::kPlain,
       "+1200 H +800 R +1000 R ~U +600 R +900 W ~U +500 R +700 R +300 Q"},
      {"DivisionResizeAndCloseInFeedback", Build::kDivision, "06:30:00.999", Setup::kPlain,
       "+1000 R +1500 S800x600 +700 R +400 W ~S1024x711 +900 R +1000 R ~C"},
      {"SubtractionLogOffMidRun", Build::kSubtraction, "23:59:58.500", Setup::kPlain,
       "+1000 R +2000 W +1500 R +800 L"},
      {"DivisionLogOffInFeedback", Build::kDivision, "04:04:04.044", Setup::kPlain,
       "+1300 R +1100 R ~L"},
      {"DivisionLogOffInResults", Build::kDivision, "11:22:33.456", Setup::kPlain,
       "+1100 R +1300 R +500 C L"},
      {"SubtractionHundredAnswers", Build::kSubtraction, "09:00:00.001", Setup::kPlain,
       Repeat("+1234 R +800 W +650 R ", 49) + "+1000 H +999 R"},
      {"DivisionEmptySeparators", Build::kDivision, "18:05:30.250", Setup::kEmptySeparators,
       "+1000 R +1000 R +1000 W +500 R +200 C"},
      {"SubtractionLogCannotOpen", Build::kSubtraction, "02:03:04.005", Setup::kLogCannotOpen,
       "+1000 R +1000 W +1000 R +200 C"},
      {"DivisionLogWriteFails", Build::kDivision, "15:16:17.180", Setup::kLogWriteFails,
       Repeat("+1500 R ", 8) + "+100 Q"},
      {"SubtractionCloseBeforeAnyRightAnswer", Build::kSubtraction, "07:08:09.010", Setup::kPlain,
       "+700 W +900 W C"},
  };
  return scenarios;
}

std::string TwoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

struct TimeOfDay {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

TimeOfDay ParseSeed(const char* seed) {
  TimeOfDay t;
  EXPECT_EQ(std::sscanf(seed, "%d:%d:%d.%d", &t.hour, &t.minute, &t.second, &t.millisecond), 4)
      << seed;
  return t;
}

// The practice log is named after the start of the run, which is the seed's local time.
std::string LogFileName(const TimeOfDay& t) {
  return "20240305" + TwoDigits(t.hour) + TwoDigits(t.minute) + TwoDigits(t.second) + ".log";
}

// Printable ASCII as it is, the backslash doubled, every other byte as \xNN.
std::string Escaped(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b == '\\') {
      out += "\\\\";
    } else if (b >= 0x20 && b < 0x7F) {
      out += c;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", b);
      out += hex;
    }
  }
  return out;
}

// Spelt as the recordings made before the boxes had kinds spell them: every box has an OK
// button ("ok"), then its icon.
std::string MessageBoxKind(platform::MessageKind kind) {
  switch (kind) {
    case platform::MessageKind::kNote:
      return "ok";
    case platform::MessageKind::kNotice:
      return "ok information";
    case platform::MessageKind::kWarning:
      return "ok warning";
    case platform::MessageKind::kError:
      return "ok error";
  }
  return "?";
}

// Plays a scenario's script from the idle hook, so the program's own loops ask for each step,
// and notes what it typed and saw between the backend's trace entries.
class Typist {
 public:
  // A line of the timeline and the number of trace entries before it.
  struct Note {
    size_t traceSize;
    std::string line;
  };

  explicit Typist(const std::string& script) {
    std::istringstream in(script);
    for (std::string token; in >> token;)
      tokens.push_back(token);
  }

  // One step; false once the program would wait for ever.
  bool Step() {
    Observe();
    if (!later.empty()) {
      later.front()();
      later.pop_front();
      return true;
    }
    while (!tokens.empty() && tokens.front()[0] == '+') {
      AddNote("input " + tokens.front());
      headless::Advance(std::stoi(tokens.front().substr(1)));
      tokens.pop_front();
    }
    if (tokens.empty()) return Finish();
    std::string token = tokens.front();
    tokens.pop_front();
    AddNote("input " + token);
    Post(token);
    return true;
  }

  const std::vector<Note>& Notes() const { return notes; }

 private:
  void AddNote(std::string line) {
    notes.push_back({headless::Machine().trace.size(), std::move(line)});
  }

  // The main window whenever it changed, and each showing of the results dialog once.
  void Observe() {
    std::string screen = DescribeMainWindow();
    if (screen != lastScreen) AddNote(Escaped(screen));
    lastScreen = screen;
    if (!ResultsShowing()) {
      resultsRead = false;
      return;
    }
    if (resultsRead) return;
    resultsRead = true;
    ResultsTexts r = ReadResults();
    AddNote("results start " + Escaped(r.startTime));
    AddNote("results total " + Escaped(r.totalTime));
    AddNote("results count " + Escaped(r.problemCount));
    AddNote("results average " + Escaped(r.averageTime));
    AddNote(std::string("results average visible ") + (r.averageVisible ? "yes" : "no"));
  }

  static void Press(char digit) {
    headless::PostKeyDown(platform::Key::kOther);
    headless::PostChar(digit);
  }

  static void Tap(platform::Key key) {
    headless::PostKeyDown(key);
    headless::PostKeyUp(key);
  }

  void Post(const std::string& token) {
    switch (token[0]) {
      case 'R':
      case 'W':
      case 'H':
        PostKey(token[0]);
        break;
      case 'S': {
        int width = 0, height = 0;
        ASSERT_EQ(std::sscanf(token.c_str(), "S%dx%d", &width, &height), 2) << token;
        headless::PostResize(width, height);
        break;
      }
      case 'C':
        headless::PostClose();
        break;
      case 'Q':
        Tap(platform::Key::kTab);
        Tap(platform::Key::kReturn);
        break;
      case 'L':
        headless::PostEndSession();
        break;
      case 'D':
        Tap(platform::Key::kReturn);
        break;
      default:
        FAIL() << "unknown script token " << token;
    }
  }

  // The press and whatever "~" tokens arrive with it are queued together, so the judging's
  // "process pending messages" runs them while the typed digit is on screen.
  void PostKey(char what) {
    char digit = what == 'W' ? WrongDigit() : RightDigit();
    AddNote(std::string("input digit ") + digit);
    Press(digit);
    bool released = false;
    while (!tokens.empty() && tokens.front()[0] == '~') {
      std::string during = tokens.front().substr(1);
      tokens.pop_front();
      AddNote("input ~" + during);
      if (during == "U") {
        headless::PostKeyUp(platform::Key::kOther);
        released = true;
      } else {
        Post(during);
      }
    }
    if (what == 'H') {
      for (int i = 0; i < 3; ++i) {
        later.push_back([this, digit] {
          AddNote(std::string("input repeat ") + digit);
          Press(digit);
        });
      }
    }
    if (!released) {
      later.push_back([this, digit] {
        AddNote(std::string("input release ") + digit);
        headless::PostKeyUp(platform::Key::kOther);
      });
    }
  }

  bool Finish() {
    // A few rounds suffice to dismiss the dialog and close; more means the program is stuck.
    if (++finishingSteps > 4) return false;
    if (ResultsShowing()) {
      AddNote("input end: Enter");
      Tap(platform::Key::kReturn);
    } else {
      AddNote("input end: close");
      headless::PostClose();
    }
    return true;
  }

  std::deque<std::string> tokens;
  std::deque<std::function<void()>> later;
  std::vector<Note> notes;
  std::string lastScreen;
  bool resultsRead = false;
  int finishingSteps = 0;
};

const char* BuildName(Build build) {
  return build == Build::kDivision ? "division" : "subtraction";
}

const char* SetupName(Setup setup) {
  switch (setup) {
    case Setup::kPlain:
      return "plain";
    case Setup::kEmptySeparators:
      return "empty separators";
    case Setup::kLogCannotOpen:
      return "log cannot open";
    case Setup::kLogWriteFails:
      return "log write fails";
  }
  return "?";
}

// Runs a scenario and returns what it did, one fact per line.
std::vector<std::string> Record(const Scenario& s) {
  ResetProcess();
  const TimeOfDay start = ParseSeed(s.seed);
  testing_support::SetUtcTimeOfDay(start.hour, start.minute, start.second, start.millisecond);
  headless::State& machine = headless::Machine();
  switch (s.setup) {
    case Setup::kPlain:
      break;
    case Setup::kEmptySeparators:
      machine.dateSeparator = '\0';
      machine.timeSeparator = '\0';
      break;
    case Setup::kLogCannotOpen:
      machine.failOpen.insert(LogFileName(start));
      break;
    case Setup::kLogWriteFails:
      machine.failWriteCall = 3;
      break;
  }
  Typist typist(s.script);
  machine.idle = [&typist] { return typist.Step(); };
  int exitCode = RunWholeProgram(s.build);
  machine.idle = nullptr;

  std::vector<std::string> lines;
  lines.push_back(std::string("build ") + BuildName(s.build));
  lines.push_back(std::string("seed ") + s.seed);
  lines.push_back(std::string("setup ") + SetupName(s.setup));
  lines.push_back("script " + s.script);
  lines.push_back("exit code " + std::to_string(exitCode));
  for (const headless::MessageBoxRecord& box : machine.messageBoxes) {
    lines.push_back("messagebox caption " + Escaped(box.caption));
    lines.push_back("messagebox text " + Escaped(box.text));
    lines.push_back("messagebox kind " + MessageBoxKind(box.kind));
  }
  for (const auto& [path, bytes] : machine.files) {
    lines.push_back("file " + Escaped(path) + " " + std::to_string(bytes.size()) + " bytes");
    for (size_t begin = 0; begin < bytes.size();) {
      size_t end = bytes.find('\n', begin);
      end = end == std::string::npos ? bytes.size() : end + 1;
      lines.push_back("file line " + Escaped(std::string_view(bytes).substr(begin, end - begin)));
      begin = end;
    }
  }
  // The timeline: the backend's trace with the typist's notes where they happened.
  auto note = typist.Notes().begin();
  for (size_t i = 0; i <= machine.trace.size(); ++i) {
    for (; note != typist.Notes().end() && note->traceSize == i; ++note)
      lines.push_back(note->line);
    if (i < machine.trace.size()) lines.push_back("trace " + Escaped(machine.trace[i]));
  }
  return lines;
}

std::string RecordingPath(const Scenario& s) {
  return std::string(QUARN_RECORDINGS) + "/" + s.name + ".txt";
}

// Names the scenario in test output instead of dumping its bytes.
void PrintTo(const Scenario& s, std::ostream* out) {
  *out << s.name;
}

class RecordedBehaviour : public testing::TestWithParam<Scenario> {};

TEST_P(RecordedBehaviour, MatchesTheRecording) {
  const Scenario& s = GetParam();
  std::vector<std::string> actual = Record(s);
  const char* record = std::getenv("QUARN_RECORD");
  if (record && std::string(record) == "1") {
    std::ofstream out(RecordingPath(s), std::ios::binary);
    ASSERT_TRUE(out) << "cannot write " << RecordingPath(s);
    for (const std::string& line : actual)
      out << line << '\n';
    return;
  }
  std::ifstream in(RecordingPath(s), std::ios::binary);
  ASSERT_TRUE(in) << "no recording " << RecordingPath(s) << "; run with QUARN_RECORD=1 to make it";
  std::vector<std::string> expected;
  for (std::string line; std::getline(in, line);)
    expected.push_back(line);
  for (size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
    const std::string want = i < expected.size() ? expected[i] : "(end of recording)";
    const std::string got = i < actual.size() ? actual[i] : "(end of run)";
    ASSERT_EQ(got, want) << RecordingPath(s) << ":" << i + 1 << " is the first difference";
  }
}

INSTANTIATE_TEST_SUITE_P(WholeRuns, RecordedBehaviour, testing::ValuesIn(Scenarios()),
                         [](const testing::TestParamInfo<Scenario>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
