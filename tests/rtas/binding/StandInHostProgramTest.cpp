// The stand-in host program run as CI runs it, beside the command-line host.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/ProgramRun.h"
#include "tests/ScratchFolder.h"
#include "tests/tools/AudioFiles.h"

namespace {

bool HasLine(const std::string& text, const std::string& line) {
  for (const std::string& l : Lines(text)) {
    if (l == line) return true;
  }
  return false;
}

RunResult Host(const std::vector<std::string>& args, const std::string& cwd) {
  return RunProgram(BRIMLOW_HOST_PROGRAM, args, cwd);
}

RunResult Brimlow(const std::vector<std::string>& args, const std::string& cwd) {
  return RunProgram(BRIMLOW_PROGRAM, args, cwd);
}

// --control for the stand-in host, --set for the command-line host.
std::vector<std::string> Settings(const char* option, const std::vector<std::string>& settings) {
  std::vector<std::string> args;
  for (const std::string& s : settings) {
    args.push_back(option);
    args.push_back(s);
  }
  return args;
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(StandInHostProgram, RendersWhatTheCommandLineHostRenders) {
  // Settings the controls carry exactly (lists), with latency: the
  // oversampling and a linear-phase filter.
  const std::vector<std::string> settings = {"OS Mode=2x", "Filter Mode=LinearPhase Eco", "Active 4=on",
                                             "Type 4=D - High Shelf", "Phase=Invert"};
  struct Case {
    int channels;
    const char* quantum;
  };
  for (const Case& c : {Case{2, "512"}, Case{1, "300"}}) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(c.channels, 20000), 48000));
    const RunResult host = Host(Joined({"--input", "in.wav", "--output", "host.wav", "--quantum", c.quantum},
                                       Settings("--control", settings)),
                                folder.Path());
    ASSERT_EQ(host.exitCode, 0) << host.err;
    EXPECT_EQ(host.err, "");
    const RunResult brimlow = Brimlow(Joined({"process", "in.wav", "process.wav", "--block", c.quantum},
                                             Settings("--set", settings)),
                                      folder.Path());
    ASSERT_EQ(brimlow.exitCode, 0) << brimlow.err;
    const std::string latency = Lines(brimlow.out).at(0);
    EXPECT_TRUE(HasLine(host.out, latency)) << host.out;
    EXPECT_NE(latency, "latency: 0");
    EXPECT_TRUE(HasLine(host.out, "closed: 0")) << host.out;
    const std::string rendered = ReadText(folder.PathOf("host.wav"));
    ASSERT_FALSE(rendered.empty());
    EXPECT_TRUE(rendered == ReadText(folder.PathOf("process.wav"))) << c.channels;
  }
}

TEST(StandInHostProgram, TheSavedChunkRestoresTheSession) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 8000), 44100));
  const RunResult saved = Host({"--control", "Type 2=D - Peak", "--control", "Gain 2=7.5", "--control",
                                "Active 2=on", "--chunk-out", "session.chunk"},
                               folder.Path());
  ASSERT_EQ(saved.exitCode, 0) << saved.err;
  const std::string chunk = ReadText(folder.PathOf("session.chunk"));
  ASSERT_GE(chunk.size(), 56u);
  EXPECT_TRUE(HasLine(saved.out, "chunk: KB30 " + std::to_string(chunk.size()) + " bytes")) << saved.out;

  // Into the other layout, then saved again: the same state.
  const RunResult restored = Host({"--layout", "1-1", "--chunk-in", "session.chunk", "--chunk-out", "again.chunk"},
                                  folder.Path());
  ASSERT_EQ(restored.exitCode, 0) << restored.err;
  EXPECT_TRUE(HasLine(restored.out, "chunk restore: 0")) << restored.out;
  EXPECT_TRUE(HasLine(restored.out, "chunk equal: 1")) << restored.out;
  const std::string again = ReadText(folder.PathOf("again.chunk"));
  ASSERT_EQ(again.size(), chunk.size());
  EXPECT_EQ(again.substr(56), chunk.substr(56));
  EXPECT_EQ(again.substr(28, 28), std::string(28, '\xC3'));
}

TEST(StandInHostProgram, ListsEveryControl) {
  ScratchFolder folder;
  const RunResult r = Host({"--list-controls"}, folder.Path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_GE(lines.size(), 141u);
  EXPECT_EQ(lines[0], "1\tMaster Bypass\tdiscrete 2\tOff");
  EXPECT_EQ(lines[1], "2\tGUI Scale\tdiscrete 7\t100%");
  EXPECT_EQ(lines[139], "controls: 139");
  EXPECT_EQ(lines[140], "closed: 0");
}

TEST(StandInHostProgram, WritesTheEditorsPicture) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 9600), 48000));
  const RunResult r = Host({"--input", "in.wav", "--output", "out.wav", "--editor", "editor.png"}, folder.Path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(HasLine(r.out, "editor: 872 x 632")) << r.out;
  const std::string png = ReadText(folder.PathOf("editor.png"));
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  // The image header's width and height, big-endian.
  auto word = [&](size_t at) {
    return (static_cast<uint8_t>(png[at]) << 24) | (static_cast<uint8_t>(png[at + 1]) << 16) |
           (static_cast<uint8_t>(png[at + 2]) << 8) | static_cast<uint8_t>(png[at + 3]);
  };
  EXPECT_EQ(word(16), 872);
  EXPECT_EQ(word(20), 632);
}

TEST(StandInHostProgram, FailuresSayWhyInOneLineAndWriteNothing) {
  struct Case {
    std::vector<std::string> args;
    const char* says;
  };
  const Case cases[] = {
      {{"--bundle", "no-such.dpm", "--input", "in.wav", "--output", "out.wav"}, "no plug-in bundle"},
      {{"--chunk-in", "short.chunk", "--input", "in.wav", "--output", "out.wav"}, "the chunk says"},
      {{"--control", "No Such Control=1", "--input", "in.wav", "--output", "out.wav"}, "no control"},
      {{"--control", "Freq 1=abc", "--input", "in.wav", "--output", "out.wav"}, "no value"},
      {{"--layout", "1-1", "--input", "in.wav", "--output", "out.wav"}, "mono"},
      {{"--input", "in.wav"}, "go together"},
  };
  for (const Case& c : cases) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 3000), 48000));
    {
      // A chunk whose size word promises more than the file holds.
      std::ofstream chunk(folder.PathOf("short.chunk"), std::ios::binary);
      const uint32_t size = 5000;
      chunk.write(reinterpret_cast<const char*>(&size), sizeof(size));
      chunk << std::string(100, 'x');
    }
    const RunResult r = Host(c.args, folder.Path());
    EXPECT_NE(r.exitCode, 0) << c.says;
    const std::vector<std::string> lines = Lines(r.err);
    ASSERT_EQ(lines.size(), 1u) << r.err;
    EXPECT_EQ(lines[0].rfind("brimlow-host: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(c.says), std::string::npos) << lines[0];
    EXPECT_EQ(folder.FileCount(), 2u) << c.says;  // in.wav and short.chunk, nothing else
  }
}
