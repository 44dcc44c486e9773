// The process pipeline end to end on the real plug-in object: file in,
// session, aligned render, file out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "framework/IPlugBase.h"
#include "plugin/controller/FactoryPresets.h"
#include "tests/tools/AudioFiles.h"
#include "tests/ScratchFolder.h"
#include "tools/CommandError.h"
#include "tools/CommandLine.h"
#include "tools/Commands.h"
#include "tools/FileAudioSource.h"
#include "tools/FileBytes.h"
#include "tools/HostSession.h"
#include "tools/Interruption.h"
#include "tools/OutputFiles.h"
#include "tools/ParamSetting.h"
#include "tools/PresetChoice.h"
#include "tools/TestSignalSource.h"

namespace {

RunReport Process(const std::string& in, const std::string& out, const ProcessOptions& options) {
  FileAudioSource source(in);
  HostSession session;
  return ProcessAudio(session, source, out, options, false);
}

// The peak readout the editor shows for a signal, from its samples.
std::string PeakText(const Channels& s) {
  double peak = 0.0;
  for (const auto& ch : s) {
    for (float v : ch) peak = std::fmax(peak, std::fabs(v));
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", std::floor(20.0 * std::log10(peak) * 10.0 + 0.5) / 10.0);
  return text;
}

// The lag (output behind input) at which a 4096-frame stretch from the
// middle of the input correlates best with the output, over -range..range.
int BestLag(const std::vector<float>& in, const std::vector<float>& out, int range) {
  const long start = static_cast<long>(in.size() / 2), length = 4096;
  int best = 0;
  double bestValue = -1.0;
  for (int lag = -range; lag <= range; ++lag) {
    double sum = 0.0;
    for (long i = start; i < start + length && i < static_cast<long>(in.size()); ++i) {
      const long j = i + lag;
      if (j >= 0 && j < static_cast<long>(out.size())) sum += static_cast<double>(in[i]) * out[static_cast<size_t>(j)];
    }
    if (sum > bestValue) {
      bestValue = sum;
      best = lag;
    }
  }
  return best;
}

struct FlatCase {
  int channels, blockSize;
  size_t frames;
};

class FlatEqualiser : public ::testing::TestWithParam<FlatCase> {};

// Every band off, "Zero Latency", 0 dB: the plug-in changes nothing, so
// the output is the input sample for sample, windows and blocks alike.
TEST_P(FlatEqualiser, OutputEqualsInput) {
  const FlatCase c = GetParam();
  ScratchFolder folder;
  const Channels input = MakeNoise(c.channels, c.frames);
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), input, 44100));
  ProcessOptions options;
  options.blockSize = c.blockSize;
  const RunReport report = Process(folder.PathOf("in.wav"), folder.PathOf("out.wav"), options);
  EXPECT_EQ(report.latency, 0);
  uint32_t rate = 0;
  int bits = 0;
  const Channels output = ReadAudio(folder.PathOf("out.wav"), &rate, &bits);
  EXPECT_EQ(rate, 44100u);
  EXPECT_EQ(bits, 32);
  ASSERT_EQ(output.size(), input.size());
  for (size_t ch = 0; ch < input.size(); ++ch) {
    ASSERT_EQ(output[ch].size(), input[ch].size());
    for (size_t i = 0; i < input[ch].size(); ++i) ASSERT_EQ(output[ch][i], input[ch][i]) << ch << " " << i;
  }
  EXPECT_EQ(report.inputMeter, PeakText(input));
  EXPECT_EQ(report.outputMeter, PeakText(input));
  EXPECT_EQ(folder.FileCount(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Layouts, FlatEqualiser,
                         ::testing::Values(FlatCase{2, 512, 150001}, FlatCase{1, 137, 70000}, FlatCase{2, 4096, 1000},
                                           FlatCase{2, 1, 3000}, FlatCase{1, 512, 0}),
                         [](const ::testing::TestParamInfo<FlatCase>& info) {
                           return std::to_string(info.param.channels) + "ch" + std::to_string(info.param.blockSize) +
                                  "block" + std::to_string(info.param.frames) + "frames";
                         });

class OutputBits : public ::testing::TestWithParam<int> {};

// What a sample must read back as, worked out here: integer formats round
// to the nearest step of 2^-(bits - 1) and clip to [-1, 1 - step].
float Quantised(float x, int bits) {
  if (bits == 32) return x;
  const double steps = std::ldexp(1.0, bits - 1);
  const double k = std::fmin(std::fmax(std::round(static_cast<double>(x) * steps), -steps), steps - 1);
  return static_cast<float>(k / steps);
}

TEST_P(OutputBits, ReadBackThroughTheSystemsReader) {
  const int bits = GetParam();
  ScratchFolder folder;
  Channels input = MakeNoise(2, 5000);
  // Full scale and past it both ways, and values half a 16-bit step apart.
  const float extremes[] = {1.0f, -1.0f, 1.5f, -2.0f, 0.99999f, 1.0f / 65536.0f, 3.0f / 65536.0f, -0.0f};
  for (size_t i = 0; i < std::size(extremes); ++i) input[0][100 + i] = extremes[i];
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), input, 48000));
  ProcessOptions options;
  options.bits = bits;
  Process(folder.PathOf("in.wav"), folder.PathOf("out.wav"), options);
  int readBits = 0;
  const Channels output = ReadAudio(folder.PathOf("out.wav"), nullptr, &readBits);
  EXPECT_EQ(readBits, bits);
  ASSERT_EQ(output.size(), 2u);
  for (size_t ch = 0; ch < 2; ++ch) {
    ASSERT_EQ(output[ch].size(), input[ch].size());
    for (size_t i = 0; i < input[ch].size(); ++i) {
      ASSERT_EQ(output[ch][i], Quantised(input[ch][i], bits)) << ch << " " << i << " " << input[ch][i];
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, OutputBits, ::testing::Values(16, 24, 32));

// A FIR filter mode delays the signal; the output is shifted back by the
// reported latency and lines up with the input, or keeps the delay when
// compensation is off.
TEST(ProcessAudio, LinearPhaseOutputStaysAligned) {
  ScratchFolder folder;
  const Channels input = MakeNoise(2, 48000);
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), input, 48000));
  ProcessOptions options;
  options.settings = {"Filter Mode=LinearPhase Eco"};
  const RunReport report = Process(folder.PathOf("in.wav"), folder.PathOf("aligned.wav"), options);
  ASSERT_GT(report.latency, 0);
  const Channels aligned = ReadAudio(folder.PathOf("aligned.wav"));
  ASSERT_EQ(aligned.size(), 2u);
  ASSERT_EQ(aligned[0].size(), input[0].size());
  const int range = 2 * report.latency + 16;
  EXPECT_EQ(BestLag(input[0], aligned[0], range), 0);
  EXPECT_EQ(BestLag(input[1], aligned[1], range), 0);

  options.latencyCompensation = false;
  const RunReport raw = Process(folder.PathOf("in.wav"), folder.PathOf("raw.wav"), options);
  const Channels delayed = ReadAudio(folder.PathOf("raw.wav"));
  ASSERT_EQ(delayed[0].size(), input[0].size());
  EXPECT_EQ(BestLag(input[0], delayed[0], range), raw.latency);
}

// The plug-in driven directly, block by block, as no host helper drives it.
// With a pre-roll: that many blocks of silence beyond the latency rounded up
// to whole blocks, the input, then silence to flush the latency; the
// output from the pre-roll plus the latency on. Without: the input from a
// cold start, the output as it comes. Either way the input's length.
Channels DirectRun(const Channels& input, const std::vector<std::string>& settings, const std::string& preset,
                   int blockSize, std::optional<int> extraPreRollBlocks) {
  HostSession session;
  session.Start(48000.0, blockSize, static_cast<int>(input.size()));
  session.RestorePreset(FindPreset(session.PresetNames(), preset));
  for (const std::string& setting : settings) session.ApplySetting(setting);
  const size_t channels = input.size(), frames = input[0].size(), block = static_cast<size_t>(blockSize);
  Channels in(channels, std::vector<float>(block, 0.0f)), out(channels);
  auto run = [&](size_t at) {
    std::vector<float*> ins, outs;
    Channels outBlock(channels, std::vector<float>(block));
    for (size_t c = 0; c < channels; ++c) {
      if (in[c].size() < at + block) in[c].resize(at + block, 0.0f);
      ins.push_back(in[c].data() + at);
      outs.push_back(outBlock[c].data());
    }
    session.ProcessBlock(ins.data(), outs.data(), blockSize);
    for (size_t c = 0; c < channels; ++c) out[c].insert(out[c].end(), outBlock[c].begin(), outBlock[c].end());
  };
  size_t preRoll = 0, latency = 0;
  if (extraPreRollBlocks) {
    run(0);  // silence; it tells the latency
    latency = static_cast<size_t>(session.Latency());
    preRoll = (std::max<size_t>((latency + block - 1) / block, 1) + static_cast<size_t>(*extraPreRollBlocks)) * block;
  }
  for (size_t c = 0; c < channels; ++c) {
    in[c].assign(preRoll, 0.0f);
    in[c].insert(in[c].end(), input[c].begin(), input[c].end());
  }
  for (size_t at = extraPreRollBlocks ? block : 0; at < preRoll + frames + latency; at += block) run(at);
  Channels result(channels);
  for (size_t c = 0; c < channels; ++c) {
    result[c].assign(out[c].begin() + static_cast<long>(preRoll + latency),
                     out[c].begin() + static_cast<long>(preRoll + latency + frames));
  }
  return result;
}

double MeanSquare(const std::vector<float>& s, size_t from, size_t to) {
  double sum = 0.0;
  for (size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
  return to > from ? sum / static_cast<double>(to - from) : 0.0;
}

struct ModeCase {
  int filterMode;
  int osMode;
  int blockSize;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
  *os << "filter mode " << c.filterMode << ", OS mode " << c.osMode << ", block " << c.blockSize;
}

class EveryMode : public ::testing::TestWithParam<ModeCase> {};

// A factory preset in every filter mode, oversampling factor and block
// size. OUT has IN's length and starts with sound, not with the silence the
// plug-in gives while its converters fill: it is the plug-in's answer to IN
// after a pre-roll longer than the host's, moved back by the latency.
// Without compensation OUT is the plug-in's output from a cold start,
// start-up and delay included.
TEST_P(EveryMode, OutputLinesUpFromTheFirstSample) {
  const ModeCase c = GetParam();
  ScratchFolder folder;
  const Channels input = MakeNoise(2, 4800);  // 100 ms
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), input, 48000));
  const std::vector<std::string> settings = {"Filter Mode=" + std::to_string(c.filterMode),
                                             "OS Mode=" + std::to_string(c.osMode)};
  ProcessOptions options;
  options.preset = "Master:Telephone";
  options.settings = settings;
  options.blockSize = c.blockSize;
  const RunReport aligned = Process(folder.PathOf("in.wav"), folder.PathOf("aligned.wav"), options);
  options.latencyCompensation = false;
  const RunReport raw = Process(folder.PathOf("in.wav"), folder.PathOf("raw.wav"), options);
  ASSERT_EQ(aligned.latency, raw.latency);
  if (c.filterMode == 0 && c.osMode == 0) {
    EXPECT_EQ(aligned.latency, 0);
  } else {
    EXPECT_GT(aligned.latency, 0);
  }
  const Channels a = ReadAudio(folder.PathOf("aligned.wav"));
  const Channels d = ReadAudio(folder.PathOf("raw.wav"));
  // The audio must not depend on how long the pre-roll was, once it is long enough.
  const Channels expected = DirectRun(input, settings, "Master:Telephone", c.blockSize, 2);
  const Channels coldStart = DirectRun(input, settings, "Master:Telephone", c.blockSize, std::nullopt);
  ASSERT_EQ(a.size(), 2u);
  ASSERT_EQ(d.size(), 2u);
  const size_t frames = input[0].size();
  const size_t tenMs = 480;
  for (size_t ch = 0; ch < 2; ++ch) {
    ASSERT_EQ(a[ch].size(), frames);
    EXPECT_GT(MeanSquare(a[ch], 0, tenMs), 0.25 * MeanSquare(a[ch], 0, frames)) << "channel " << ch;
    for (size_t i = 0; i < frames; ++i) ASSERT_NEAR(a[ch][i], expected[ch][i], 1e-6) << ch << " " << i;
  }
  EXPECT_EQ(d, coldStart);
  // The preset is heard: the telephone band takes most of white noise away.
  EXPECT_LT(MeanSquare(a[0], 0, frames), 0.5 * MeanSquare(input[0], 0, frames));
}

INSTANTIATE_TEST_SUITE_P(Modes, EveryMode,
                         ::testing::ValuesIn([] {
                           std::vector<ModeCase> cases;
                           for (int f = 0; f < 7; ++f)
                             for (int os = 0; os < 3; ++os)
                               for (int block : {1, 512, 4096, 65536}) cases.push_back({f, os, block});
                           return cases;
                         }()),
                         [](const ::testing::TestParamInfo<ModeCase>& info) {
                           return "Filter" + std::to_string(info.param.filterMode) + "OS" +
                                  std::to_string(info.param.osMode) + "Block" +
                                  std::to_string(info.param.blockSize);
                         });

// Parameter changes reach the engine: -6 dB of output gain scales every
// sample by 10^(-6/20).
TEST(ProcessAudio, OutputGainScalesTheSignal) {
  ScratchFolder folder;
  const Channels input = MakeNoise(2, 4000);
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), input, 48000));
  ProcessOptions options;
  options.settings = {"Output Gain=-6"};
  Process(folder.PathOf("in.wav"), folder.PathOf("out.wav"), options);
  const Channels output = ReadAudio(folder.PathOf("out.wav"));
  ASSERT_EQ(output.size(), 2u);
  ASSERT_NE(output, input);
  const double gain = std::pow(10.0, -6.0 / 20.0);
  for (size_t ch = 0; ch < 2; ++ch) {
    for (size_t i = 0; i < input[ch].size(); ++i) {
      ASSERT_NEAR(output[ch][i], input[ch][i] * gain, 1e-6) << ch << " " << i;
    }
  }
}

TEST(ProcessAudio, StateOutThenStateInGivesTheSameBytes) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 2000), 48000));
  ProcessOptions first;
  first.settings = {"Type 3=D - Peak", "Freq 3=1200", "Gain 3=-4.5", "Active 3=on", "Q 3=2"};
  first.stateOut = folder.PathOf("a.state");
  Process(folder.PathOf("in.wav"), folder.PathOf("a.wav"), first);
  const std::vector<uint8_t> a = ReadFileBytes(folder.PathOf("a.state"));
  ASSERT_FALSE(a.empty());

  ProcessOptions second;
  second.stateIn = folder.PathOf("a.state");
  second.stateOut = folder.PathOf("b.state");
  Process(folder.PathOf("in.wav"), folder.PathOf("b.wav"), second);
  EXPECT_EQ(ReadFileBytes(folder.PathOf("b.state")), a);
  // The same settings give the same sound.
  EXPECT_EQ(ReadAudio(folder.PathOf("b.wav")), ReadAudio(folder.PathOf("a.wav")));

  // The state carries the settings: a fresh session restored from it holds them.
  HostSession session;
  session.RestoreState(a, "a.state");
  const IPlugBase& plug = session.Plug();
  const struct {
    const char* name;
    double value;
  } expected[] = {{"Freq 3", 1200.0}, {"Type 3", 9.0}, {"Gain 3", -4.5}, {"Active 3", 1.0}, {"Q 3", 2.0}};
  for (const auto& e : expected) {
    const int idx = FindParamByName(plug, e.name);
    ASSERT_GE(idx, 0) << e.name;
    EXPECT_EQ(plug.GetParam(idx)->Value(), e.value) << e.name;
  }
}

TEST(ProcessAudio, BypassPassesTheInputThrough) {
  ScratchFolder folder;
  const Channels input = MakeNoise(2, 3000);
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), input, 48000));
  ProcessOptions options;
  options.bypass = true;
  options.settings = {"Active 1=on", "Gain 1=12", "Output Gain=-20"};
  Process(folder.PathOf("in.wav"), folder.PathOf("out.wav"), options);
  EXPECT_EQ(ReadAudio(folder.PathOf("out.wav")), input);
}

// A factory preset by name: the same as restoring it on a plug-in directly.
TEST(ProcessAudio, FactoryPresetByName) {
  HostSession probe;
  const std::vector<std::string> names = probe.PresetNames();
  ASSERT_EQ(names.size(), 16u);
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 4000), 48000));
  const std::string name = names.size() > 3 ? names[3] : names[0];
  ProcessOptions options;
  options.preset = name;
  options.stateOut = folder.PathOf("by-name.state");
  Process(folder.PathOf("in.wav"), folder.PathOf("out.wav"), options);
  HostSession direct;
  direct.RestorePreset(names.size() > 3 ? 3 : 0);
  EXPECT_EQ(ReadFileBytes(folder.PathOf("by-name.state")), direct.SaveState());
}

// Every parameter's value in a saved state, read back through a fresh session.
std::vector<double> StateValues(const std::vector<uint8_t>& state) {
  HostSession session;
  session.RestoreState(state, "state");
  std::vector<double> values;
  for (int i = 0; i < session.Plug().NParams(); ++i) values.push_back(session.Plug().GetParam(i)->Value());
  return values;
}

// A preset file with a factory preset's values written out by hand, and
// values for parameters no preset carries, which a load must ignore.
std::string KickPresetFile(const IPlugBase& plug, const FactoryPreset& preset) {
  std::string text =
      "<?xml version=\"1.0\" ?>\n<PresetXMLTree version=\"1\">\n"
      "<PluginVendor>Kestrelbay</PluginVendor>\n<PluginName>Brimlow</PluginName>\n"
      "<PluginVersion>3.2.3</PluginVersion>\n<Preset name=\"Kick\">\n<Parameter>\n";
  auto add = [&](const std::string& name, double value) {
    char line[160];
    std::snprintf(line, sizeof line, "<Param name=\"%s\" val=\"%f\" />\n", name.c_str(), value);
    text += line;
  };
  for (const IParamValue& v : FactoryPresetValues(preset)) add(plug.GetParam(v.mParamIdx)->GetNameForHost(), v.mValue);
  add("Phase", 0.0);
  add("Output Gain", 12.0);
  add("Solo 3", 0.0);
  return text + "</Parameter>\n</Preset>\n</PresetXMLTree>\n";
}

class PresetOverState : public ::testing::TestWithParam<bool> {};

// A state with display, meter, output and Solo settings away from their
// defaults, then a factory preset over it, by name or from a file: the
// preset's parameters take its values, every other one keeps the state's.
TEST_P(PresetOverState, ChangesOnlyWhatThePresetStores) {
  const bool fromFile = GetParam();
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 2000), 48000));
  const FactoryPreset& kick = kFactoryPresets[8];
  ASSERT_STREQ(kick.name, "Track:Kick");

  ProcessOptions first;
  first.settings = {"Phase=Invert", "Output Gain=-6", "Main Meter Mode=VU", "Solo 3=on",
                    "Gain 7=5",     "Active 7=on",    "FScale=40"};
  first.stateOut = folder.PathOf("a.state");
  Process(folder.PathOf("in.wav"), folder.PathOf("a.wav"), first);
  const std::vector<double> before = StateValues(ReadFileBytes(folder.PathOf("a.state")));

  ProcessOptions second;
  second.stateIn = folder.PathOf("a.state");
  second.stateOut = folder.PathOf("b.state");
  HostSession names;
  if (fromFile) {
    const std::string text = KickPresetFile(names.Plug(), kick);
    folder.Write("kick.tps", std::vector<unsigned char>(text.begin(), text.end()));
    second.presetFile = folder.PathOf("kick.tps");
  } else {
    second.preset = kick.name;
  }
  Process(folder.PathOf("in.wav"), folder.PathOf("b.wav"), second);
  const std::vector<double> after = StateValues(ReadFileBytes(folder.PathOf("b.state")));

  std::vector<double> expected = before;
  for (const IParamValue& v : FactoryPresetValues(kick)) expected[static_cast<size_t>(v.mParamIdx)] = v.mValue;
  ASSERT_EQ(after.size(), expected.size());
  for (size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i], expected[i]) << i << " " << names.Plug().GetParam(static_cast<int>(i))->GetNameForHost();
  }
  for (const char* name : {"Phase", "Output Gain", "Main Meter Mode", "Solo 3", "FScale"}) {
    const size_t idx = static_cast<size_t>(FindParamByName(names.Plug(), name));
    EXPECT_NE(after[idx], names.Plug().GetParam(static_cast<int>(idx))->GetDefault()) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(ByNameAndFromFile, PresetOverState, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("PresetFile") : std::string("FactoryPreset");
                         });

// Nothing is written when anything fails, and an existing OUT stays as it was.
TEST(ProcessAudio, FailuresLeaveNoFiles) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 1000), 48000));
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("old.wav"), MakeNoise(1, 10), 8000));
  const std::vector<uint8_t> old = ReadFileBytes(folder.PathOf("old.wav"));
  {
    FILE* f = std::fopen(folder.PathOf("bad.state").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("garbage", f);
    std::fclose(f);
  }
  struct Failure {
    ProcessOptions options;
    std::string message;
  };
  std::vector<Failure> failures(6);
  failures[0].options.settings = {"Freq 3=1200", "Freq 3=99999"};
  failures[0].message = "Freq 3: 99999 is out of range";
  failures[1].options.settings = {"Nonsense=1"};
  failures[1].message = "unknown parameter \"Nonsense\"";
  failures[2].options.preset = "No Such Preset";
  failures[2].message = "preset";
  failures[3].options.stateIn = folder.PathOf("bad.state");
  failures[3].message = "bad.state: not a Brimlow state";
  failures[4].options.presetFile = folder.PathOf("missing.tps");
  failures[4].message = "missing.tps: cannot open";
  failures[5].options.stateOut = folder.PathOf("no-folder/s.state");
  failures[5].message = "no-folder/s.state: cannot write";
  for (Failure& f : failures) {
    if (f.options.stateOut.value_or("").empty()) f.options.stateOut = folder.PathOf("old.wav.state");
    try {
      Process(folder.PathOf("in.wav"), folder.PathOf("old.wav"), f.options);
      ADD_FAILURE() << f.message << ": no failure";
    } catch (const CommandError& e) {
      EXPECT_NE(std::string(e.what()).find(f.message), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadFileBytes(folder.PathOf("old.wav")), old) << f.message;
    EXPECT_EQ(folder.FileCount(), 3u) << f.message;  // in.wav, old.wav, bad.state
  }
  // Input problems.
  EXPECT_THROW(Process(folder.PathOf("none.wav"), folder.PathOf("x.wav"), ProcessOptions()), CommandError);
  EXPECT_THROW(Process(folder.PathOf("bad.state"), folder.PathOf("x.wav"), ProcessOptions()), CommandError);
  EXPECT_EQ(folder.FileCount(), 3u);
}

// A file written after the run beside OUT (the demo's picture) that
// cannot be written: OUT is not put in place either.
TEST(ProcessAudio, AnOutputWrittenAfterTheRunThatFailsLeavesNoFile) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFloatWav(folder.PathOf("in.wav"), MakeNoise(2, 3000), 48000));
  bool written = false;
  {
    AtomicFile picture;
    MoreOutputs more;
    more.add = [&](OutputFiles& outputs) {
      outputs.Add("picture", folder.PathOf("out.png"), [&] { return picture.Commit(); });
      ASSERT_TRUE(picture.Open(folder.PathOf("out.png").c_str()));
    };
    more.write = [&] {
      written = true;
      throw CommandError("out.png: cannot write");
    };
    FileAudioSource source(folder.PathOf("in.wav"));
    HostSession session;
    ProcessOptions options;
    options.stateOut = folder.PathOf("s.state");
    EXPECT_THROW(ProcessAudio(session, source, folder.PathOf("out.wav"), options, false, more), CommandError);
  }
  EXPECT_TRUE(written);
  EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"in.wav"});
}

// The demo's signal, with Ctrl-C pressed as its end is reached: after the
// run's last check between windows, before the files are put in place.
class InterruptedAtTheEnd : public TestSignalSource {
 public:
  size_t Next(const float* const** channels) override {
    const size_t n = TestSignalSource::Next(channels);
    if (n == 0) std::raise(SIGINT);
    return n;
  }
};

// In a process of its own: the handlers and the signal's mark stay there.
TEST(ProcessAudioDeathTest, ASignalAtTheEndStillStopsTheRun) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        int code = 1;
        {
          ScratchFolder folder;
          CatchInterruptions();
          InterruptedAtTheEnd source;
          HostSession session;
          ProcessOptions options;
          options.stateOut = folder.PathOf("s.state");
          std::string error = "(none)";
          try {
            ProcessAudio(session, source, folder.PathOf("out.wav"), options, false);
          } catch (const CommandError& e) {
            error = e.what();
          }
          std::fprintf(stderr, "error: %s; files: %zu\n", error.c_str(), folder.FileCount());
          code = error == "interrupted" && folder.FileCount() == 0 ? 0 : 1;
        }
        std::_Exit(code);
      },
      ::testing::ExitedWithCode(0), "error: interrupted; files: 0");
}

}  // namespace
