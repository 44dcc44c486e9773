// The program itself, run as a user runs it: exit codes, what it prints and
// the files it leaves.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "lice/lice.h"
#include "tests/ProgramRun.h"
#include "tests/ScratchFolder.h"
#include "tests/tools/AudioFiles.h"

namespace {

RunResult RunBrimlow(const std::vector<std::string>& args, const std::string& cwd) {
  return RunProgram(BRIMLOW_PROGRAM, args, cwd);
}

// What follows "input meter: " up to the end of the line.
std::string AfterPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const std::string& line : lines) {
    if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
  }
  return "(no line " + prefix + ")";
}

TEST(BrimlowProgram, ProcessPrintsLatencyAndMetersAndWritesOut) {
  ScratchFolder folder;
  const Channels input = MakeNoise(2, 6000);
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), input, 48000));
  const RunResult r = RunBrimlow({"process", "in.wav", "out.wav", "--bits", "24", "--block", "256", "--set",
                                  "Type 3=D - Peak", "--set", "Freq 3=1200", "--state-out", "s.state"},
                                 folder.Path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  EXPECT_EQ(lines[0].rfind("latency: ", 0), 0u);
  EXPECT_EQ(lines[1].rfind("input meter: ", 0), 0u);
  EXPECT_EQ(lines[2].rfind("output meter: ", 0), 0u);
  // Nothing clips: the 24-bit file holds every sample as it came.
  EXPECT_EQ(r.err, "");
  int bits = 0;
  const Channels output = ReadAudio(folder.PathOf("out.wav"), nullptr, &bits);
  EXPECT_EQ(bits, 24);
  ASSERT_EQ(output.size(), 2u);
  EXPECT_EQ(output[0].size(), input[0].size());

  // The state it saved restores to the same bytes.
  const RunResult again =
      RunBrimlow({"process", "in.wav", "again.wav", "--state-in", "s.state", "--state-out", "t.state"}, folder.Path());
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(ReadText(folder.PathOf("t.state")), ReadText(folder.PathOf("s.state")));
}

struct FailingRun {
  std::vector<std::string> args;
  int exitCode;
  const char* message;
};

class BrimlowProgramFailures : public ::testing::TestWithParam<FailingRun> {};

// One line on standard error, nothing on standard output, and no file left
// behind: neither OUT nor the state nor a temporary file.
TEST_P(BrimlowProgramFailures, SayWhyInOneLineAndWriteNothing) {
  const FailingRun& c = GetParam();
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 3000), 48000));
  {
    std::ofstream junk(folder.PathOf("junk.wav"), std::ios::binary);
    junk << "RIFF\x10\0\0\0WAVEjunk";
  }
  const RunResult r = RunBrimlow(c.args, folder.Path());
  EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
  EXPECT_EQ(r.out, "");
  const std::vector<std::string> lines = Lines(r.err);
  ASSERT_EQ(lines.size(), 1u) << r.err;
  EXPECT_EQ(lines[0].rfind("brimlow: ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find(c.message), std::string::npos) << lines[0];
  std::vector<std::string> files = folder.FileNames();
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"in.wav", "junk.wav"}));
}

const std::vector<std::string> kProcess = {"process", "in.wav", "out.wav", "--state-out", "s.state"};

std::vector<std::string> With(std::vector<std::string> extra) {
  std::vector<std::string> args = kProcess;
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BrimlowProgramFailures,
    ::testing::Values(
        FailingRun{{}, 2, "no command"}, FailingRun{{"mix"}, 2, "unknown command"},
        FailingRun{With({"--bits", "12"}), 2, "--bits needs 16, 24 or 32"},
        FailingRun{With({"--bits", "16", "--bits", "24"}), 2, "--bits given twice"},
        FailingRun{{"demo", "x.png"}, 2, "OUT and the editor's picture name the same file"},
        FailingRun{With({"--frobnicate"}), 2, "unknown option --frobnicate"},
        FailingRun{{"process", "in.wav"}, 2, "usage: brimlow process IN OUT"},
        FailingRun{{"process", "missing.wav", "out.wav"}, 1, "missing.wav: cannot open"},
        FailingRun{{"process", "junk.wav", "out.wav"}, 1, "junk.wav: "},
        FailingRun{With({"--set", "Freq 3=48001"}), 1, "Freq 3: 48001 is out of range"},
        FailingRun{With({"--set", "Type 3=E - Peak"}), 1, "Type 3: \"E - Peak\" is not a value"},
        FailingRun{With({"--set", "Frequency 3=100"}), 1, "unknown parameter \"Frequency 3\""},
        FailingRun{With({"--preset", "Nope"}), 1, "preset"},
        FailingRun{With({"--preset-file", "none.tps"}), 1, "none.tps: cannot open"},
        FailingRun{With({"--preset-file", "in.wav"}), 1, "in.wav: not a Brimlow preset file"},
        FailingRun{With({"--state-in", "in.wav"}), 1, "in.wav: not a Brimlow state"},
        FailingRun{{"process", "in.wav", "no-folder/out.wav"}, 1, "no-folder/out.wav: cannot write"},
        FailingRun{{"capture", "junk.wav", "x.ref"}, 1, "junk.wav: "},
        FailingRun{{"capture", "in.wav", "no-folder/x.ref"}, 1, "no-folder/x.ref: cannot write"},
        FailingRun{{"screenshot", "e.png", "--scale", "90"}, 2, "--scale needs 50, 75"},
        FailingRun{{"screenshot", "e.png", "--input", "missing.wav"}, 1, "missing.wav: cannot open"},
        FailingRun{{"screenshot", "e.png", "--input", "junk.wav"}, 1, "junk.wav: "},
        FailingRun{{"screenshot", "e.png", "--set", "Frequency 3=100"}, 1, "unknown parameter \"Frequency 3\""}));

// Every file in a folder and its sub-folders, with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string name = entry.path().string().substr(root.size());
    files[name] = entry.is_directory() ? "(folder)" : ReadText(entry.path().string());
  }
  return files;
}

struct OutputCase {
  const char* name;
  std::vector<std::string> args;  // "T" stands for the target
};

struct TargetCase {
  const char* name;
  std::string target;
  std::string message;  // after "brimlow: "
};

void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name; }
void PrintTo(const TargetCase& c, std::ostream* os) { *os << c.target; }

class UnwritableOutputs : public ::testing::TestWithParam<std::tuple<OutputCase, TargetCase>> {};

// Each output of each command against a target it cannot write: the run
// fails before any file changes, the other outputs included (an OUT that
// could be written is not left behind by a --state-out that cannot), and
// the message names the target as it was typed.
TEST_P(UnwritableOutputs, FailAndChangeNoFile) {
  const OutputCase& output = std::get<0>(GetParam());
  const TargetCase& target = std::get<1>(GetParam());
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 3000), 48000));
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("old.wav"), MakeNoise(1, 100), 8000));
  ASSERT_TRUE(std::filesystem::create_directory(folder.PathOf("adir")));
  ASSERT_TRUE(std::filesystem::create_directory(folder.PathOf("ro")));
  ASSERT_EQ(chmod(folder.PathOf("ro").c_str(), 0555), 0);
  const bool readOnlyWritable = access(folder.PathOf("ro").c_str(), W_OK) == 0;
  if (target.target.rfind("ro/", 0) == 0 && readOnlyWritable) {
    chmod(folder.PathOf("ro").c_str(), 0755);
    GTEST_SKIP() << "a read-only folder is writable here (running as root)";
  }
  std::vector<std::string> args = output.args;
  for (std::string& a : args) {
    if (a == "T") a = target.target;
  }
  const std::map<std::string, std::string> before = Snapshot(folder.Path());
  const RunResult r = RunBrimlow(args, folder.Path());
  chmod(folder.PathOf("ro").c_str(), 0755);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "brimlow: " + target.message + "\n");
  EXPECT_EQ(Snapshot(folder.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnwritableOutputs,
    ::testing::Combine(
        ::testing::Values(OutputCase{"ProcessOut", {"process", "in.wav", "T"}},
                          OutputCase{"ProcessOutWithState", {"process", "in.wav", "T", "--state-out", "s.state"}},
                          OutputCase{"StateOut", {"process", "in.wav", "out.wav", "--state-out", "T"}},
                          OutputCase{"StateOutOverOldOut", {"process", "in.wav", "old.wav", "--state-out", "T"}},
                          OutputCase{"DemoOut", {"demo", "T"}}, OutputCase{"CaptureOut", {"capture", "in.wav", "T"}},
                          OutputCase{"ScreenshotOut", {"screenshot", "T", "--input", "in.wav"}},
                          OutputCase{"ScreenshotState",
                                     {"screenshot", "out.png", "--input", "in.wav", "--state-out", "T"}}),
        ::testing::Values(TargetCase{"Folder", "adir", "adir: is a directory"},
                          TargetCase{"FolderWithSlash", "adir/", "adir/: is a directory"},
                          TargetCase{"MissingFolder", "nodir/x", "nodir/x: cannot write (no such folder)"},
                          TargetCase{"ReadOnlyFolder", "ro/x", "ro/x: cannot write (Permission denied)"})),
    [](const ::testing::TestParamInfo<std::tuple<OutputCase, TargetCase>>& info) {
      return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
    });

// The program started in cwd with its standard output and error in files
// of `capture`; returns its process id.
pid_t SpawnBrimlow(const std::vector<std::string>& args, const std::string& cwd, const ScratchFolder& capture) {
  return SpawnProgram(BRIMLOW_PROGRAM, args, cwd, capture.PathOf("stdout"), capture.PathOf("stderr"));
}

// Ctrl-C while a long file is being processed: the program ends by the
// signal, as the shell expects, and leaves no file, temporary or other.
TEST(BrimlowProgram, AnInterruptedRunLeavesNoFile) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 48000 * 30), 48000));
  ScratchFolder capture;
  const pid_t pid = SpawnBrimlow({"process", "in.wav", "out.wav", "--state-out", "s.state", "--set", "OS Mode=4x",
                                  "--set", "Filter Mode=6", "--block", "64"},
                                 folder.Path(), capture);
  ASSERT_GT(pid, 0);
  // The render has begun once OUT's temporary file is there.
  bool started = false;
  for (int wait = 0; wait < 20000 && !started; ++wait) {
    for (const std::string& name : folder.FileNames()) started = started || name.rfind("out.wav.", 0) == 0;
    if (!started) usleep(1000);
  }
  EXPECT_TRUE(started);
  kill(pid, SIGINT);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  EXPECT_EQ(WTERMSIG(status), SIGINT);
  EXPECT_EQ(ReadText(capture.PathOf("stderr")), "brimlow: interrupted\n");
  EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"in.wav"});
}

bool CatchesSigint(pid_t pid) { return CatchesSignal(pid, SIGINT); }

class InterruptedCommands : public ::testing::TestWithParam<std::vector<std::string>> {};

// Ctrl-C as soon as the program listens for it, before its work is done:
// every command that writes files ends by the signal with one line and
// leaves no file, whatever part of its work could not stop midway.
TEST_P(InterruptedCommands, EndByTheSignalAndWriteNothing) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 48000 * 30), 48000));
  ScratchFolder capture;
  const pid_t pid = SpawnBrimlow(GetParam(), folder.Path(), capture);
  ASSERT_GT(pid, 0);
  int status = 0;
  bool listening = false;
  while (!listening && waitpid(pid, &status, WNOHANG) == 0) listening = CatchesSigint(pid);
  ASSERT_TRUE(listening) << "the program ended first: " << ReadText(capture.PathOf("stderr"));
  kill(pid, SIGINT);
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT)
      << status << " " << ReadText(capture.PathOf("stdout")) << ReadText(capture.PathOf("stderr"));
  EXPECT_EQ(ReadText(capture.PathOf("stderr")), "brimlow: interrupted\n");
  EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"in.wav"});
}

INSTANTIATE_TEST_SUITE_P(
    EveryWritingCommand, InterruptedCommands,
    ::testing::Values(std::vector<std::string>{"process", "in.wav", "out.wav", "--state-out", "s.state"},
                      std::vector<std::string>{"capture", "in.wav", "in.ref"},
                      std::vector<std::string>{"demo", "demo.wav"},
                      std::vector<std::string>{"screenshot", "e.png", "--input", "in.wav"}),
    [](const ::testing::TestParamInfo<std::vector<std::string>>& info) { return info.param[0]; });

TEST(BrimlowProgram, DemoWritesIntoTheCurrentFolderByDefault) {
  ScratchFolder folder;
  const RunResult r = RunBrimlow({"demo"}, folder.Path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("\nlatency: "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\ninput meter: "), std::string::npos);
  EXPECT_NE(r.out.find("\noutput meter: "), std::string::npos);
  const std::string outputMeter = AfterPrefix(Lines(r.out), "output meter: ");
  EXPECT_EQ(outputMeter.substr(outputMeter.find(' ') + 1), "dBFS peak") << r.out;
  uint32_t rate = 0;
  const Channels output = ReadAudio(folder.PathOf("brimlow-demo.wav"), &rate);
  EXPECT_EQ(rate, 48000u);
  ASSERT_EQ(output.size(), 2u);
  EXPECT_EQ(output[0].size(), 96000u);
  // Beside it the editor as the run left it, at the editor's size.
  EXPECT_NE(r.out.find("\neditor: brimlow-demo.png (PNG)\n"), std::string::npos) << r.out;
  std::unique_ptr<LICE_IBitmap> picture(LICE_LoadPNG(folder.PathOf("brimlow-demo.png").c_str(), nullptr));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->getWidth(), 872);
  EXPECT_EQ(picture->getHeight(), 632);
  EXPECT_EQ(folder.FileCount(), 2u);

  const RunResult named = RunBrimlow({"demo", "other.wav"}, folder.Path());
  ASSERT_EQ(named.exitCode, 0) << named.err;
  EXPECT_EQ(ReadAudio(folder.PathOf("other.wav")).size(), 2u);
  EXPECT_TRUE(std::filesystem::exists(folder.PathOf("other.png")));
}

struct NoDisplayCase {
  const char* display;  // null: DISPLAY unset
  const char* message;
};

class EditWithoutADisplay : public ::testing::TestWithParam<NoDisplayCase> {};

// A user who set DISPLAY is told which display failed, not to set it.
TEST_P(EditWithoutADisplay, FailsWithOneLineNamingWhatToMend) {
  const NoDisplayCase& c = GetParam();
  ScratchFolder folder;
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  if (c.display) setenv("DISPLAY", c.display, 1);
  else unsetenv("DISPLAY");
  const RunResult r = RunBrimlow({"edit", "--state-out", "s.state"}, folder.Path());
  if (display) setenv("DISPLAY", saved.c_str(), 1);
  else unsetenv("DISPLAY");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, std::string("brimlow: ") + c.message + "\n");
  EXPECT_EQ(folder.FileCount(), 0u);
}

// No server listens on display 7391: its socket is not there.
INSTANTIATE_TEST_SUITE_P(
    Table, EditWithoutADisplay,
    ::testing::Values(NoDisplayCase{nullptr, "cannot open the editor: no X display (set DISPLAY)"},
                      NoDisplayCase{"", "cannot open the editor: no X display (set DISPLAY)"},
                      NoDisplayCase{":7391", "cannot open the editor on X display :7391"},
                      NoDisplayCase{":7391.0", "cannot open the editor on X display :7391.0"}));

// The largest magnitude in a file, and how many samples pass full scale.
struct FloatPeak {
  double peak = 0.0;
  uint64_t beyondFullScale = 0;
};

FloatPeak PeakOf(const Channels& s) {
  FloatPeak p;
  for (const auto& ch : s) {
    for (const float v : ch) {
      p.peak = std::max(p.peak, static_cast<double>(std::fabs(v)));
      if (std::fabs(v) > 1.0f) ++p.beyondFullScale;
    }
  }
  return p;
}

// An integer file clips what passes full scale; the run says how much, in
// one line, and still succeeds. The float file of the same run holds the
// samples unclipped, so it tells how many there should be.
TEST(BrimlowProgram, IntegerOutputSaysHowManySamplesClipped) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 9000), 48000));
  const RunResult flt = RunBrimlow({"process", "in.wav", "f.wav", "--set", "Output Gain=6"}, folder.Path());
  ASSERT_EQ(flt.exitCode, 0) << flt.err;
  EXPECT_EQ(flt.err, "");  // a float file clips nothing
  const FloatPeak expected = PeakOf(ReadAudio(folder.PathOf("f.wav")));
  ASSERT_GT(expected.beyondFullScale, 0u);
  ASSERT_LT(expected.beyondFullScale, 2u * 9000u);

  for (const char* bits : {"16", "24"}) {
    const RunResult r =
        RunBrimlow({"process", "in.wav", "i.wav", "--set", "Output Gain=6", "--bits", bits}, folder.Path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, flt.out);
    unsigned long long count = 0;
    int printedBits = 0;
    double peakDb = 0.0;
    char tail[8] = {};
    ASSERT_EQ(std::sscanf(r.err.c_str(), "brimlow: warning: %llu samples clipped at %d bits (peak %lf dBFS%7s",
                          &count, &printedBits, &peakDb, tail),
              4)
        << r.err;
    EXPECT_EQ(std::string(tail), ")");
    EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
    EXPECT_EQ(count, expected.beyondFullScale) << bits;
    EXPECT_EQ(printedBits, std::stoi(bits));
    EXPECT_NEAR(peakDb, 20.0 * std::log10(expected.peak), 0.051);
    EXPECT_NE(r.err.find("(peak +"), std::string::npos) << r.err;
  }

  // The same file 12 dB lower passes full scale nowhere.
  const RunResult quiet =
      RunBrimlow({"process", "in.wav", "q.wav", "--set", "Output Gain=-6", "--bits", "16"}, folder.Path());
  ASSERT_EQ(quiet.exitCode, 0) << quiet.err;
  EXPECT_EQ(quiet.err, "");
}

struct MeterModeCase {
  const char* mode;  // "Main Meter Mode"
  const char* unit;
};

class MeterUnits : public ::testing::TestWithParam<MeterModeCase> {};

// The number stays where it was, right after the prefix; the unit of the
// meter mode follows it, in process and screenshot alike.
TEST_P(MeterUnits, FollowTheReadoutInEveryCommand) {
  const MeterModeCase& c = GetParam();
  ScratchFolder folder;
  const Channels input = MakeNoise(2, 30000);
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), input, 48000));
  const std::string mode = std::string("Main Meter Mode=") + c.mode;
  const RunResult process = RunBrimlow({"process", "in.wav", "out.wav", "--set", mode}, folder.Path());
  const RunResult screenshot =
      RunBrimlow({"screenshot", "e.png", "--input", "in.wav", "--set", mode}, folder.Path());
  for (const RunResult* r : {&process, &screenshot}) {
    ASSERT_EQ(r->exitCode, 0) << r->err;
    for (const char* prefix : {"input meter: ", "output meter: "}) {
      const std::string rest = AfterPrefix(Lines(r->out), prefix);
      const size_t blank = rest.find(' ');
      ASSERT_NE(blank, std::string::npos) << rest;
      EXPECT_EQ(rest.substr(blank + 1), c.unit) << rest;
      const std::string number = rest.substr(0, blank);
      char* end = nullptr;
      std::strtod(number.c_str(), &end);
      EXPECT_TRUE(number == "-inf" || (end && *end == '\0' && number.find('.') == number.size() - 2)) << number;
    }
  }
  if (std::string(c.mode) == "Peak") {
    // The peak of a flat run is the input's own.
    const double peak = PeakOf(input).peak;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBFS peak", std::floor(20.0 * std::log10(peak) * 10.0 + 0.5) / 10.0);
    EXPECT_EQ(AfterPrefix(Lines(process.out), "input meter: "), text);
    EXPECT_EQ(AfterPrefix(Lines(process.out), "output meter: "), text);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryMode, MeterUnits,
                         ::testing::Values(MeterModeCase{"Peak", "dBFS peak"}, MeterModeCase{"RMS", "dBFS RMS"},
                                           MeterModeCase{"EBU ML", "LUFS (EBU M)"},
                                           MeterModeCase{"EBU SL", "LUFS (EBU S)"}, MeterModeCase{"VU", "VU"}),
                         [](const ::testing::TestParamInfo<MeterModeCase>& info) {
                           std::string name;
                           for (const char* p = info.param.mode; *p; ++p) {
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           }
                           return name;
                         });

TEST(BrimlowProgram, ListsHelpAndCapture) {
  ScratchFolder folder;
  const RunResult help = RunBrimlow({"--help"}, folder.Path());
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("brimlow process IN OUT.wav [options]"), std::string::npos);

  const RunResult params = RunBrimlow({"params"}, folder.Path());
  ASSERT_EQ(params.exitCode, 0) << params.err;
  const std::vector<std::string> lines = Lines(params.out);
  ASSERT_EQ(lines.size(), 138u);
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].rfind(std::to_string(i) + ": ", 0), 0u) << lines[i];

  const RunResult presets = RunBrimlow({"presets"}, folder.Path());
  ASSERT_EQ(presets.exitCode, 0) << presets.err;
  const std::vector<std::string> names = Lines(presets.out);
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(names[i].rfind(std::to_string(i) + ": ", 0), 0u) << names[i];

  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 20000), 44100));
  const RunResult capture = RunBrimlow({"capture", "in.wav", "in.ref"}, folder.Path());
  ASSERT_EQ(capture.exitCode, 0) << capture.err;
  EXPECT_EQ(ReadText(folder.PathOf("in.ref")).size(), 12u + 16u * 134u);
}

}  // namespace

namespace {

// Width and height from a PNG's header chunk, which follows the 8-byte
// signature: length, "IHDR", then both as big-endian 32-bit numbers.
bool PngSize(const std::string& bytes, int* width, int* height) {
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0) {
    return false;
  }
  auto word = [&](size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 24) | (static_cast<unsigned char>(bytes[at + 1]) << 16) |
           (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
  };
  *width = static_cast<int>(word(16));
  *height = static_cast<int>(word(20));
  // Bit depth 8, colour type 2 (RGB).
  return bytes[24] == 8 && bytes[25] == 2;
}

class ScreenshotScales : public ::testing::TestWithParam<int> {};

TEST_P(ScreenshotScales, WriteAPictureOfTheEditorsSizeForTheScale) {
  const int percent = GetParam();
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 4800), 48000));
  const RunResult r =
      RunBrimlow({"screenshot", "editor.png", "--scale", std::to_string(percent), "--input", "in.wav"}, folder.Path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // The editor is 872 x 632 at 100 %.
  const int width = 872 * percent / 100, height = 632 * percent / 100;
  EXPECT_EQ(Lines(r.out).at(0), "editor: " + std::to_string(width) + " x " + std::to_string(height));
  int pngWidth = 0, pngHeight = 0;
  ASSERT_TRUE(PngSize(ReadText(folder.PathOf("editor.png")), &pngWidth, &pngHeight));
  EXPECT_EQ(pngWidth, width);
  EXPECT_EQ(pngHeight, height);
  std::vector<std::string> files = folder.FileNames();
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"editor.png", "in.wav"}));
}

INSTANTIATE_TEST_SUITE_P(EveryScale, ScreenshotScales, ::testing::Values(50, 75, 100, 125, 150, 175, 200));

TEST(BrimlowProgram, ScreenshotRunsTheDemoSignalByDefaultAndSavesTheState) {
  ScratchFolder folder;
  const RunResult r =
      RunBrimlow({"screenshot", "e.png", "--state-out", "s.state", "--set", "Output Gain=-6"}, folder.Path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  EXPECT_EQ(lines[0], "editor: 872 x 632");
  EXPECT_EQ(lines[1].rfind("input meter: ", 0), 0u);
  EXPECT_EQ(lines[2].rfind("output meter: ", 0), 0u);
  // The state carries the setting: audio run from it is audio run with it.
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 4800), 48000));
  const RunResult a = RunBrimlow({"process", "in.wav", "a.wav", "--state-in", "s.state"}, folder.Path());
  const RunResult b = RunBrimlow({"process", "in.wav", "b.wav", "--set", "Output Gain=-6"}, folder.Path());
  const RunResult c = RunBrimlow({"process", "in.wav", "c.wav"}, folder.Path());
  ASSERT_EQ(a.exitCode, 0) << a.err;
  EXPECT_EQ(ReadText(folder.PathOf("a.wav")), ReadText(folder.PathOf("b.wav")));
  EXPECT_NE(ReadText(folder.PathOf("a.wav")), ReadText(folder.PathOf("c.wav")));
}

}  // namespace
