// What both programs do with the files they are given: outputs that are
// regular files, links, devices or FIFOs; outputs that are inputs or are
// named for another format; inputs that are pipes or FIFOs, and waits for
// them that a signal must end.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "tests/ProgramRun.h"
#include "tests/ScratchFolder.h"
#include "tests/tools/AudioFiles.h"

namespace {

// Far longer than any of these runs takes: a deadline, not a measurement.
constexpr double kDeadlineSeconds = 10.0;
constexpr double kRunDeadlineSeconds = 120.0;

std::string ProgramPath(const std::string& program) {
  return program == "brimlow-host" ? BRIMLOW_HOST_PROGRAM : BRIMLOW_PROGRAM;
}

struct Ended {
  bool ended = false;
  int status = 0;
  std::string out, err;
  bool Exited(int code) const { return ended && WIFEXITED(status) && WEXITSTATUS(status) == code; }
  bool KilledBy(int signal) const { return ended && WIFSIGNALED(status) && WTERMSIG(status) == signal; }
};

// Waits for the process up to `seconds`; one still running then is killed
// and reported as not ended.
Ended WaitFor(pid_t pid, const ScratchFolder& capture, double seconds) {
  Ended e;
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!e.ended) {
    const pid_t done = waitpid(pid, &e.status, WNOHANG);
    if (done == pid) {
      e.ended = true;
    } else if (std::chrono::steady_clock::now() > until) {
      kill(pid, SIGKILL);
      waitpid(pid, &e.status, 0);
      break;
    } else {
      usleep(5000);
    }
  }
  e.out = ReadText(capture.PathOf("stdout"));
  e.err = ReadText(capture.PathOf("stderr"));
  return e;
}

Ended RunAndWait(const std::string& program, const std::vector<std::string>& args, const std::string& cwd) {
  ScratchFolder capture;
  const pid_t pid = SpawnProgram(ProgramPath(program), args, cwd, capture.PathOf("stdout"), capture.PathOf("stderr"));
  if (pid <= 0) return {};
  return WaitFor(pid, capture, kRunDeadlineSeconds);
}

std::vector<std::string> Replaced(std::vector<std::string> args, const std::string& mark, const std::string& by) {
  for (std::string& a : args) {
    if (a == mark) a = by;
  }
  return args;
}

// Each entry of a folder by kind; a regular file with its bytes. Never
// opens a FIFO or a device.
std::map<std::string, std::string> Listing(const std::string& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string path = entry.path().string();
    struct stat info {};
    lstat(path.c_str(), &info);
    std::string kind;
    if (S_ISLNK(info.st_mode)) kind = "link to " + std::filesystem::read_symlink(path).string();
    else if (S_ISFIFO(info.st_mode)) kind = "fifo";
    else if (S_ISCHR(info.st_mode)) kind = "device " + std::to_string(minor(info.st_rdev));
    else if (S_ISDIR(info.st_mode)) kind = "folder";
    else kind = "file " + ReadText(path);
    entries[entry.path().filename().string()] = kind;
  }
  return entries;
}

// A private character device like the system's null (minor 3) or full
// (minor 7) device; false where device nodes cannot be made or used.
bool MakeDevice(const std::string& path, unsigned minorNumber) {
  if (mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minorNumber)) != 0) return false;
  const int fd = open(path.c_str(), O_WRONLY);
  if (fd < 0) {
    unlink(path.c_str());
    return false;
  }
  close(fd);
  return true;
}

// Reads a FIFO on a thread of its own from now on, as a program at the
// other end of a pipe would, until its writer closes it or Finish is
// called after the writer has ended.
class FifoReader {
 public:
  explicit FifoReader(const std::string& path)
      : mFd(open(path.c_str(), O_RDONLY | O_NONBLOCK)), mThread([this] { Read(); }) {}
  ~FifoReader() { Finish(); }
  std::string Finish() {
    mStop = true;
    if (mThread.joinable()) mThread.join();
    if (mFd >= 0) close(mFd);
    mFd = -1;
    return mBytes;
  }

 private:
  void Read() {
    char buffer[65536];
    while (mFd >= 0) {
      struct pollfd p = {mFd, POLLIN, 0};
      if (poll(&p, 1, 50) == 0) {
        if (mStop) return;
        continue;
      }
      const ssize_t n = read(mFd, buffer, sizeof buffer);
      if (n == 0) return;  // the writer came and went
      if (n > 0) mBytes.append(buffer, static_cast<size_t>(n));
    }
  }

  int mFd;
  std::atomic<bool> mStop{false};
  std::string mBytes;
  std::thread mThread;
};

// The inputs every case may use, made once: audio, a state and a chunk
// that differ from the defaults.
class ProgramFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sInputs = new ScratchFolder;
    ASSERT_TRUE(WriteFloatWav(sInputs->PathOf("in.wav"), MakeNoise(2, 9000), 44100));
    const Ended state = RunAndWait("brimlow", {"process", "in.wav", "x.wav", "--set", "Gain 3=4", "--state-out", "s.state"},
                            sInputs->Path());
    ASSERT_TRUE(state.Exited(0)) << state.err;
    const Ended chunk = RunAndWait("brimlow-host", {"--control", "Gain 2=7.5", "--chunk-out", "c.chunk"}, sInputs->Path());
    ASSERT_TRUE(chunk.Exited(0)) << chunk.err;
  }
  static void TearDownTestSuite() {
    delete sInputs;
    sInputs = nullptr;
  }
  void SetUp() override {
    signal(SIGPIPE, SIG_IGN);
    for (const char* name : {"in.wav", "s.state", "c.chunk"}) {
      std::filesystem::copy_file(sInputs->PathOf(name), mFolder.PathOf(name));
    }
  }
  static std::string InputBytes(const std::string& name) { return ReadText(sInputs->PathOf(name)); }

  ScratchFolder mFolder;
  static ScratchFolder* sInputs;
};

ScratchFolder* ProgramFiles::sInputs = nullptr;

// ---------------------------------------------------------------------------
// Outputs of every kind of target.

struct OutputCase {
  const char* name;
  const char* program;
  std::vector<std::string> args;  // "T" is the target
  const char* extension;          // of the format written
};

void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name; }

enum class Target { kRegular, kLinkToRegular, kFifoWithReader, kNullDevice, kFullDevice };

const char* TargetName(Target t) {
  switch (t) {
    case Target::kRegular: return "Regular";
    case Target::kLinkToRegular: return "LinkToRegular";
    case Target::kFifoWithReader: return "FifoWithReader";
    case Target::kNullDevice: return "NullDevice";
    case Target::kFullDevice: return "FullDevice";
  }
  return "";
}

class OutputTargetKinds : public ProgramFiles, public ::testing::WithParamInterface<std::tuple<OutputCase, Target>> {};

// A regular file is replaced by what a fresh file would get, a link keeps
// pointing at its file, a FIFO's reader gets the same bytes, a device takes
// them or fails with one line; none is replaced or removed, and a failure
// leaves no other output (the companion regular outputs are taken back).
// The stream targets carry another format's extension: they are taken.
TEST_P(OutputTargetKinds, GetTheOutputAndStayWhatTheyAre) {
  const OutputCase& c = std::get<0>(GetParam());
  const Target target = std::get<1>(GetParam());
  const std::string ext = c.extension;
  // What a fresh regular file gets.
  const Ended reference = RunAndWait(c.program, Replaced(c.args, "T", "ref" + ext), mFolder.Path());
  ASSERT_TRUE(reference.Exited(0)) << reference.err;
  const std::string expected = ReadText(mFolder.PathOf("ref" + ext));
  ASSERT_FALSE(expected.empty());
  for (const std::string& name : mFolder.FileNames()) {
    if (name != "in.wav" && name != "s.state" && name != "c.chunk") std::filesystem::remove(mFolder.PathOf(name));
  }

  std::string name;
  switch (target) {
    case Target::kRegular:
      name = "old" + ext;
      ASSERT_FALSE(mFolder.Write(name, {'o', 'l', 'd'}).empty());
      break;
    case Target::kLinkToRegular:
      name = "link" + ext;
      ASSERT_FALSE(mFolder.Write("file" + ext, {'o', 'l', 'd'}).empty());
      ASSERT_EQ(symlink(("file" + ext).c_str(), mFolder.PathOf(name).c_str()), 0);
      break;
    case Target::kFifoWithReader:
      name = "pipe.aiff";
      ASSERT_EQ(mkfifo(mFolder.PathOf(name).c_str(), 0600), 0);
      break;
    case Target::kNullDevice:
    case Target::kFullDevice:
      name = target == Target::kNullDevice ? "null.jpg" : "full.jpg";
      if (!MakeDevice(mFolder.PathOf(name), target == Target::kNullDevice ? 3 : 7)) {
        GTEST_SKIP() << "no private device nodes here (needs root and a file system that allows them)";
      }
      break;
  }
  const std::map<std::string, std::string> before = Listing(mFolder.Path());
  std::unique_ptr<FifoReader> reader;
  if (target == Target::kFifoWithReader) reader = std::make_unique<FifoReader>(mFolder.PathOf(name));
  const Ended r = RunAndWait(c.program, Replaced(c.args, "T", name), mFolder.Path());
  const std::string piped = reader ? reader->Finish() : "";
  const std::map<std::string, std::string> after = Listing(mFolder.Path());

  if (target == Target::kFullDevice) {
    EXPECT_TRUE(r.Exited(1)) << r.err;
    // The stand-in host reports each step as it goes; brimlow only at the end.
    if (std::string(c.program) == "brimlow") {
      EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(r.err, std::string(c.program) + ": " + name + ": cannot write (No space left on device)\n");
    EXPECT_EQ(after, before);
    return;
  }
  ASSERT_TRUE(r.Exited(0)) << r.err;
  switch (target) {
    case Target::kRegular: EXPECT_TRUE(ReadText(mFolder.PathOf(name)) == expected); break;
    case Target::kLinkToRegular:
      EXPECT_EQ(after.at(name), "link to file" + ext);
      EXPECT_TRUE(ReadText(mFolder.PathOf("file" + ext)) == expected);
      break;
    case Target::kFifoWithReader:
      EXPECT_EQ(after.at(name), "fifo");
      EXPECT_EQ(piped.size(), expected.size());
      EXPECT_TRUE(piped == expected);
      break;
    default: EXPECT_EQ(after.at(name), before.at(name)); break;
  }
  // No temporary or kept file stays behind.
  for (const auto& entry : after) {
    EXPECT_EQ(entry.first.find(".tmp"), std::string::npos) << entry.first;
    EXPECT_EQ(entry.first.find(".old"), std::string::npos) << entry.first;
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryOutput, OutputTargetKinds,
    ::testing::Combine(
        ::testing::Values(
            OutputCase{"ProcessOut", "brimlow", {"process", "in.wav", "T", "--state-out", "out.state"}, ".wav"},
            OutputCase{"ProcessState", "brimlow", {"process", "in.wav", "out.wav", "--state-out", "T"}, ".state"},
            OutputCase{"Demo", "brimlow", {"demo", "T"}, ".wav"},
            OutputCase{"Screenshot", "brimlow", {"screenshot", "T", "--input", "in.wav"}, ".png"},
            OutputCase{"Capture", "brimlow", {"capture", "in.wav", "T"}, ".ref"},
            OutputCase{"HostOutput",
                       "brimlow-host",
                       {"--input", "in.wav", "--output", "T", "--chunk-out", "out.chunk"},
                       ".wav"},
            OutputCase{"HostChunk", "brimlow-host", {"--chunk-in", "c.chunk", "--chunk-out", "T"}, ".chunk"},
            OutputCase{"HostEditor", "brimlow-host", {"--editor", "T", "--output", "o.wav", "--input", "in.wav"},
                       ".png"}),
        ::testing::Values(Target::kRegular, Target::kLinkToRegular, Target::kFifoWithReader, Target::kNullDevice,
                          Target::kFullDevice)),
    [](const ::testing::TestParamInfo<std::tuple<OutputCase, Target>>& info) {
      return std::string(std::get<0>(info.param).name) + TargetName(std::get<1>(info.param));
    });

// ---------------------------------------------------------------------------
// Names refused before any work.

struct RefusedCase {
  const char* name;
  const char* program;
  std::vector<std::string> args;
  std::string message;  // after "PROGRAM: "
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class RefusedNames : public ProgramFiles, public ::testing::WithParamInterface<RefusedCase> {};

// Links: hard.wav and hard.ref are hard links to in.wav, link.wav and
// s.link symbolic links to in.wav and s.state, o.link one to o.wav.
TEST_P(RefusedNames, FailAsAUsageErrorAndChangeNothing) {
  const RefusedCase& c = GetParam();
  ASSERT_EQ(link(mFolder.PathOf("in.wav").c_str(), mFolder.PathOf("hard.wav").c_str()), 0);
  ASSERT_EQ(link(mFolder.PathOf("in.wav").c_str(), mFolder.PathOf("hard.ref").c_str()), 0);
  ASSERT_EQ(symlink("in.wav", mFolder.PathOf("link.wav").c_str()), 0);
  ASSERT_EQ(symlink("s.state", mFolder.PathOf("s.link").c_str()), 0);
  ASSERT_FALSE(mFolder.Write("o.wav", {'o'}).empty());
  ASSERT_EQ(symlink("o.wav", mFolder.PathOf("o.link").c_str()), 0);
  const std::map<std::string, std::string> before = Listing(mFolder.Path());
  const Ended r = RunAndWait(c.program, c.args, mFolder.Path());
  EXPECT_TRUE(r.Exited(2)) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, std::string(c.program) + ": " + c.message + "\n");
  EXPECT_EQ(Listing(mFolder.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedNames,
    ::testing::Values(
        RefusedCase{"OutIsIn", "brimlow", {"process", "in.wav", "./in.wav"}, "OUT and IN name the same file"},
        RefusedCase{"OutIsAHardLinkToIn", "brimlow", {"process", "in.wav", "hard.wav"}, "OUT and IN name the same file"},
        RefusedCase{"InIsALinkToOut", "brimlow", {"process", "link.wav", "in.wav"}, "OUT and IN name the same file"},
        RefusedCase{"StateOutIsStateIn",
                    "brimlow",
                    {"process", "in.wav", "x.wav", "--state-in", "s.state", "--state-out", "s.link"},
                    "--state-out and --state-in name the same file"},
        RefusedCase{"StateOutIsPresetFile",
                    "brimlow",
                    {"process", "in.wav", "x.wav", "--preset-file", "s.state", "--state-out", "s.state"},
                    "--state-out and --preset-file name the same file"},
        RefusedCase{"CaptureOutIsIn", "brimlow", {"capture", "in.wav", "hard.ref"}, "OUT and IN name the same file"},
        RefusedCase{"ScreenshotStateIsInput",
                    "brimlow",
                    {"screenshot", "e.png", "--input", "link.wav", "--state-out", "hard.wav"},
                    "--state-out and --input name the same file"},
        RefusedCase{"EditStateIsInput",
                    "brimlow",
                    {"edit", "--input", "in.wav", "--state-out", "in.wav"},
                    "--state-out and --input name the same file"},
        RefusedCase{"TwoOutputsThroughALink",
                    "brimlow",
                    {"process", "in.wav", "o.wav", "--state-out", "o.link"},
                    "OUT and --state-out name the same file"},
        RefusedCase{"HostOutputIsInput",
                    "brimlow-host",
                    {"--input", "in.wav", "--output", "hard.wav"},
                    "--output and --input name the same file"},
        RefusedCase{"HostChunkOutIsChunkIn",
                    "brimlow-host",
                    {"--chunk-in", "s.state", "--chunk-out", "s.link"},
                    "--chunk-out and --chunk-in name the same file"},
        RefusedCase{"HostTwoOutputs",
                    "brimlow-host",
                    {"--input", "in.wav", "--output", "o.wav", "--chunk-out", "o.link"},
                    "--output and --chunk-out name the same file"},
        RefusedCase{"ProcessAiff",
                    "brimlow",
                    {"process", "in.wav", "out.aiff"},
                    "OUT out.aiff: the name says AIFF but WAV is written (usage: brimlow process IN OUT.wav [options])"},
        RefusedCase{"ScreenshotJpeg",
                    "brimlow",
                    {"screenshot", "shot.JPG"},
                    "OUT shot.JPG: the name says JPEG but PNG is written (usage: brimlow screenshot OUT.png "
                    "[--scale PERCENT] [--input IN] [options of process])"},
        RefusedCase{"DemoAif",
                    "brimlow",
                    {"demo", "d.aif"},
                    "OUT d.aif: the name says AIFF but WAV is written (usage: brimlow demo [OUT.wav])"},
        RefusedCase{"CaptureWav",
                    "brimlow",
                    {"capture", "in.wav", "in2.wav"},
                    "OUT in2.wav: the name says WAV but a reference capture is written (usage: brimlow capture IN "
                    "OUT.ref)"},
        RefusedCase{"StatePng",
                    "brimlow",
                    {"process", "in.wav", "x.wav", "--state-out", "s.png"},
                    "--state-out s.png: the name says PNG but a Brimlow state is written (usage: brimlow process IN "
                    "OUT.wav [options])"},
        RefusedCase{"HostOutputFlac",
                    "brimlow-host",
                    {"--input", "in.wav", "--output", "o.flac"},
                    "--output o.flac: the name says FLAC but WAV is written (usage: brimlow-host [options] --output "
                    "OUT.wav --editor OUT.png)"},
        RefusedCase{"HostEditorJpeg",
                    "brimlow-host",
                    {"--editor", "e.jpeg"},
                    "--editor e.jpeg: the name says JPEG but PNG is written (usage: brimlow-host [options] --output "
                    "OUT.wav --editor OUT.png)"}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

// Names with no extension, an unknown one, or the written format's in any
// case are taken.
TEST_F(ProgramFiles, NamesThatSayNoOtherFormatAreTaken) {
  for (const char* out : {"plain", "out.bin", "OUT.WAV", "out.Wave"}) {
    const Ended r = RunAndWait("brimlow", {"process", "in.wav", out}, mFolder.Path());
    EXPECT_TRUE(r.Exited(0)) << out << ": " << r.err;
    EXPECT_EQ(ReadText(mFolder.PathOf(out)).rfind("RIFF", 0), 0u) << out;
  }
}

// OUT /dev/stdout reaches whatever standard output was sent to (here a
// file): it gets the WAV alone, and the report goes to standard error.
TEST_F(ProgramFiles, StandardOutputAsOutGetsTheAudioAlone) {
  const Ended reference = RunAndWait("brimlow", {"process", "in.wav", "ref.wav"}, mFolder.Path());
  ASSERT_TRUE(reference.Exited(0)) << reference.err;
  const Ended r = RunAndWait("brimlow", {"process", "in.wav", "/dev/stdout"}, mFolder.Path());
  ASSERT_TRUE(r.Exited(0)) << r.err;
  EXPECT_TRUE(r.out == ReadText(mFolder.PathOf("ref.wav")));
  EXPECT_EQ(r.err, reference.out);
}

// ---------------------------------------------------------------------------
// Inputs from pipes and FIFOs.

enum class Feed { kStandardInput, kFifo };

struct StreamCase {
  const char* name;
  const char* program;
  std::vector<std::string> args;  // "I" the input, "O" the output
  const char* source;             // the file whose bytes are fed
  const char* extension;          // of the output
  Feed feed;
};

void PrintTo(const StreamCase& c, std::ostream* os) { *os << c.name; }

class StreamInputs : public ProgramFiles, public ::testing::WithParamInterface<StreamCase> {};

// The same bytes through a pipe or a FIFO give the same output, byte for
// byte (so sample for sample), as the file given by name.
TEST_P(StreamInputs, GiveWhatTheFileGives) {
  const StreamCase& c = GetParam();
  const std::string ext = c.extension;
  const Ended reference = RunAndWait(c.program, Replaced(Replaced(c.args, "I", c.source), "O", "ref" + ext), mFolder.Path());
  ASSERT_TRUE(reference.Exited(0)) << reference.err;
  const std::string expected = ReadText(mFolder.PathOf("ref" + ext));
  ASSERT_FALSE(expected.empty());

  const std::string bytes = InputBytes(c.source);
  ScratchFolder capture;
  std::vector<std::string> args = Replaced(c.args, "O", "piped" + ext);
  pid_t pid = -1;
  int writeEnd = -1;
  if (c.feed == Feed::kStandardInput) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    pid = SpawnProgram(ProgramPath(c.program), Replaced(args, "I", "-"), mFolder.Path(), capture.PathOf("stdout"),
                       capture.PathOf("stderr"), fds[0]);
    close(fds[0]);
    writeEnd = fds[1];
  } else {
    ASSERT_EQ(mkfifo(mFolder.PathOf("in.fifo").c_str(), 0600), 0);
    pid = SpawnProgram(ProgramPath(c.program), Replaced(args, "I", "in.fifo"), mFolder.Path(),
                       capture.PathOf("stdout"), capture.PathOf("stderr"));
    // Waits for the program to open its end, within the deadline.
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(kRunDeadlineSeconds);
    while ((writeEnd = open(mFolder.PathOf("in.fifo").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) < 0 &&
           errno == ENXIO && std::chrono::steady_clock::now() < until) {
      usleep(5000);
    }
    if (writeEnd >= 0) fcntl(writeEnd, F_SETFL, 0);
  }
  ASSERT_GT(pid, 0);
  EXPECT_GE(writeEnd, 0);
  if (writeEnd >= 0) {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = write(writeEnd, bytes.data() + done, bytes.size() - done);
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    EXPECT_EQ(done, bytes.size());
    close(writeEnd);
  }
  const Ended r = WaitFor(pid, capture, kRunDeadlineSeconds);
  ASSERT_TRUE(r.Exited(0)) << r.err;
  EXPECT_TRUE(ReadText(mFolder.PathOf("piped" + ext)) == expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StreamInputs,
    ::testing::Values(
        StreamCase{"ProcessStandardInput", "brimlow", {"process", "I", "O"}, "in.wav", ".wav", Feed::kStandardInput},
        StreamCase{"ProcessFifo", "brimlow", {"process", "I", "O", "--bits", "24"}, "in.wav", ".wav", Feed::kFifo},
        StreamCase{"ProcessStateFifo",
                   "brimlow",
                   {"process", "in.wav", "O", "--state-in", "I"},
                   "s.state",
                   ".wav",
                   Feed::kFifo},
        StreamCase{"CaptureStandardInput", "brimlow", {"capture", "I", "O"}, "in.wav", ".ref", Feed::kStandardInput},
        StreamCase{"ScreenshotFifo", "brimlow", {"screenshot", "O", "--input", "I"}, "in.wav", ".png", Feed::kFifo},
        StreamCase{"HostInputFifo", "brimlow-host", {"--input", "I", "--output", "O"}, "in.wav", ".wav", Feed::kFifo},
        StreamCase{"HostChunkFifo",
                   "brimlow-host",
                   {"--chunk-in", "I", "--chunk-out", "O"},
                   "c.chunk",
                   ".chunk",
                   Feed::kFifo}),
    [](const ::testing::TestParamInfo<StreamCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Waits that only a signal ends.

// What the program waits on: the FIFO "F" as an input with no writer,
// standard input a pipe nobody writes to, or "F" as an output nobody reads.
enum class Wait { kInputFifo, kStandardInput, kOutputFifo };

struct WaitCase {
  const char* name;
  const char* program;
  std::vector<std::string> args;
  Wait wait;
};

void PrintTo(const WaitCase& c, std::ostream* os) { *os << c.name; }

class EndlessWaits : public ProgramFiles, public ::testing::WithParamInterface<WaitCase> {};

// Whether the process has the file open.
bool HasOpen(pid_t pid, const std::string& path) {
  std::error_code error;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
    std::error_code ignored;
    if (std::filesystem::read_symlink(fd.path(), ignored).string() == path) return true;
  }
  return false;
}

// A FIFO with no writer (or, as an output, no reader), or a pipe never
// closed, holds the program until Ctrl-C: then it ends by the signal with
// one line, and no file appears or changes.
TEST_P(EndlessWaits, EndOnCtrlCWithOneLineAndNoOutput) {
  const WaitCase& c = GetParam();
  const std::string fifo = mFolder.PathOf("wait.fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::map<std::string, std::string> before = Listing(mFolder.Path());
  // edit would fail without a display once past its input.
  const char* display = std::getenv("DISPLAY");
  const std::string savedDisplay = display ? display : "";
  unsetenv("DISPLAY");
  ScratchFolder capture;
  int pipeEnds[2] = {-1, -1};
  const bool standardInput = c.wait == Wait::kStandardInput;
  if (standardInput) {
    ASSERT_EQ(pipe2(pipeEnds, O_CLOEXEC), 0);
  }
  const pid_t pid = SpawnProgram(ProgramPath(c.program), Replaced(c.args, "F", "wait.fifo"), mFolder.Path(),
                                 capture.PathOf("stdout"), capture.PathOf("stderr"), pipeEnds[0]);
  if (display) setenv("DISPLAY", savedDisplay.c_str(), 1);
  ASSERT_GT(pid, 0);
  if (standardInput) close(pipeEnds[0]);

  // Once it listens for the signal and, for an input FIFO, has it open,
  // it is waiting; a program that never gets there is signalled anyway.
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(kDeadlineSeconds);
  bool waiting = false;
  int status = 0;
  while (!waiting && std::chrono::steady_clock::now() < until && waitpid(pid, &status, WNOHANG) == 0) {
    waiting = CatchesSignal(pid, SIGINT) && (c.wait != Wait::kInputFifo || HasOpen(pid, fifo));
    if (!waiting) usleep(5000);
  }
  EXPECT_TRUE(waiting) << "not waiting: " << ReadText(capture.PathOf("stderr"));
  kill(pid, SIGINT);
  const Ended r = WaitFor(pid, capture, kDeadlineSeconds);
  if (standardInput) close(pipeEnds[1]);
  ASSERT_TRUE(r.ended) << "still waiting after the signal";
  EXPECT_TRUE(r.KilledBy(SIGINT)) << r.status << " " << r.err;
  EXPECT_EQ(r.err, std::string(c.program) + ": interrupted\n");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(Listing(mFolder.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    EveryInput, EndlessWaits,
    ::testing::Values(
        WaitCase{"ProcessIn", "brimlow", {"process", "F", "out.wav"}, Wait::kInputFifo},
        WaitCase{"ProcessStandardInput", "brimlow", {"process", "-", "out.wav"}, Wait::kStandardInput},
        WaitCase{"ProcessStateIn", "brimlow", {"process", "in.wav", "out.wav", "--state-in", "F"}, Wait::kInputFifo},
        WaitCase{"ProcessPresetFile",
                 "brimlow",
                 {"process", "in.wav", "out.wav", "--preset-file", "F"},
                 Wait::kInputFifo},
        WaitCase{"CaptureIn", "brimlow", {"capture", "F", "out.ref"}, Wait::kInputFifo},
        WaitCase{"CaptureStandardInput", "brimlow", {"capture", "-", "out.ref"}, Wait::kStandardInput},
        WaitCase{"ScreenshotInput", "brimlow", {"screenshot", "out.png", "--input", "F"}, Wait::kInputFifo},
        WaitCase{"EditInput", "brimlow", {"edit", "--input", "F", "--state-out", "out.state"}, Wait::kInputFifo},
        WaitCase{"HostInput", "brimlow-host", {"--input", "F", "--output", "out.wav"}, Wait::kInputFifo},
        WaitCase{"HostChunkIn", "brimlow-host", {"--chunk-in", "F", "--chunk-out", "out.chunk"}, Wait::kInputFifo},
        WaitCase{"ProcessOutputFifo", "brimlow", {"process", "in.wav", "F"}, Wait::kOutputFifo}),
    [](const ::testing::TestParamInfo<WaitCase>& info) { return std::string(info.param.name); });

}  // namespace
