#include "plugin/engine/Meters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "graphics/IControl.h"
#include "graphics/controls/ITextControlExt.h"
#include "graphics/mac/IGraphicsMac.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double Db(double amplitude) { return 20.0 * std::log10(amplitude); }
double BarFor(double db) { return db < 12.0 ? (std::max(db, -60.0) + 60.0) / 72.0 : 1.0; }
double MarkerFor(double db) { return db < 12.0 ? 1.0 - (std::max(db, -60.0) + 60.0) / 72.0 : 0.0; }

// A real editor with the eight meter controls, as the layout builds them.
struct Editor {
  IGraphicsMac graphics{nullptr, 200, 100, 60};
  Meters::ControlIndices in, out;
  ITextControlExt* inText = nullptr;
  ITextControlExt* outText = nullptr;

  Editor() {
    Attach(&in, &inText);
    Attach(&out, &outText);
  }
  void Attach(Meters::ControlIndices* c, ITextControlExt** text) {
    const IRECT r(0, 0, 10, 10);
    c->bar = graphics.AttachControl(new IControl(nullptr, r));
    c->heldPeak = graphics.AttachControl(new IControl(nullptr, r));
    *text = new ITextControlExt(nullptr, r, "");
    c->text = graphics.AttachControl(*text);
    c->clipLamp = graphics.AttachControl(new IControl(nullptr, r));
  }
  void Format(const Meters& m) { m.FormatMeterValue(&graphics, in, out); }
  double Value(int idx) const { return graphics.GetControl(idx)->GetValue(); }
  // The dB level a bar shows.
  double BarDb(int idx) const { return Value(idx) * 72.0 - 60.0; }
};

double Sine(int i, double hz, double fs) { return std::sin(2.0 * kPi * hz * i / fs); }

class PeakBallistics : public ::testing::TestWithParam<double> {};

}  // namespace

TEST_P(PeakBallistics, HoldsForATenthThenReleasesBarFromCurrentTextFromMaximum) {
  const double fs = GetParam();
  const int hold = static_cast<int>(0.1 * fs);
  const double release = std::pow(10.0, -1.0 / (0.3 * fs));
  Meters meters;
  meters.SetMeterMode(Meters::kModePeak, fs);
  Editor editor;

  meters.ProcessInputMeter(0.5, -0.2);
  for (int i = 1; i <= hold; ++i) {
    meters.ProcessInputMeter(0.0, 0.0);
    ASSERT_EQ(meters.InputReading().current, 0.5) << i;
  }
  double expected = 0.5;
  const int releaseSamples = static_cast<int>(0.25 * fs);
  for (int k = 1; k <= releaseSamples; ++k) {
    meters.ProcessInputMeter(0.0, 0.0);
    expected *= release;
  }
  EXPECT_NEAR(meters.InputReading().current, expected, 1e-12);
  EXPECT_NEAR(expected, 0.5 * std::pow(10.0, -0.25 / 0.3), 1e-9);
  EXPECT_EQ(meters.InputReading().maximumOut, 0.5);

  editor.Format(meters);
  EXPECT_NEAR(editor.Value(editor.in.bar), BarFor(Db(expected)), 1e-12);
  EXPECT_NEAR(editor.Value(editor.in.heldPeak), MarkerFor(Db(0.5)), 1e-12);
  EXPECT_STREQ(editor.inText->GetText(), "-6.0");
  EXPECT_EQ(editor.Value(editor.in.clipLamp), 0.0);
  EXPECT_STREQ(editor.outText->GetText(), "-inf");  // In/Out: the output saw nothing
}

INSTANTIATE_TEST_SUITE_P(Rates, PeakBallistics, ::testing::Values(44100.0, 48000.0, 96000.0));

TEST(Meters, PeakClipLampStaysLitThreeSecondsAfterTheLastOverReading) {
  for (const double fs : {44100.0, 96000.0}) {
    SCOPED_TRACE(fs);
    Meters meters;
    meters.SetMeterMode(Meters::kModePeak, fs);
    meters.SetClipLampTiming(fs);
    // One sample at 1.5 keeps the peak envelope above full scale through
    // its hold and part of its release; the lamp's hold runs from the last
    // sample of that.
    const double release = std::pow(10.0, -1.0 / (0.3 * fs));
    int lastOver = static_cast<int>(0.1 * fs);
    for (double e = 1.5 * release; e > 1.0; e *= release) ++lastOver;
    const int lampHold = static_cast<int>(3.0 * fs);
    const double fall = std::pow(10.0, -1.0 / (0.1 * fs));

    meters.ProcessInputMeter(1.5, 0.0);
    EXPECT_EQ(meters.InputReading().clipLamp, 1.0);  // at once
    for (int i = 1; i <= lastOver + lampHold; ++i) {
      meters.ProcessInputMeter(0.0, 0.0);
      ASSERT_EQ(meters.InputReading().clipLamp, 1.0) << i;
    }
    meters.ProcessInputMeter(0.0, 0.0);
    EXPECT_NEAR(meters.InputReading().clipLamp, fall, 1e-12);
    EXPECT_EQ(meters.OutputReading().clipLamp, 0.0);
  }
}

namespace {

struct LevelCase {
  const char* name;
  int mode;
  double expectedDb;  // what a -20 dBFS 1 kHz stereo sine reads
  double toleranceDb;
  bool textToo;       // steady measures: the held maximum reads the same
};

constexpr double kAmplitude = 0.1;  // -20 dBFS

const LevelCase kLevelCases[] = {
    // ITU-R BS.1770: a full-scale 1 kHz sine in one channel reads -3.01
    // LKFS, so -20 dBFS in both reads -20 LUFS.
    {"EbuMomentary", Meters::kModeEbuMomentary, -20.0, 0.05, true},
    {"EbuShortTerm", Meters::kModeEbuShortTerm, -20.0, 0.05, true},
    // RMS A/sqrt 2, lifted by the 3 dB offset.
    {"Rms", Meters::kModeRms, 20.0 * std::log10(kAmplitude / std::sqrt(2.0)) + 3.0, 0.03, false},
    // The VU smoother settles at 2.01/3.01 of the rectified mean 2A/pi,
    // scaled by 3 pi / 4; 0 VU sits at -18 dBFS.
    {"Vu", Meters::kModeVu, 20.0 * std::log10(kAmplitude * 1.5 * 2.01 / 3.01) + 18.0, 0.02, false},
};

class MeterLevels : public ::testing::TestWithParam<LevelCase> {};

}  // namespace

TEST_P(MeterLevels, SteadySineReadsItsDocumentedLevel) {
  const LevelCase c = GetParam();
  const double fs = 48000.0;
  Meters meters;
  meters.SetMeterMode(c.mode, fs);
  Editor editor;
  for (int i = 0; i < static_cast<int>(4.0 * fs); ++i) {
    const double x = kAmplitude * Sine(i, 1000.0, fs);
    meters.ProcessInputMeter(x, x);
  }
  editor.Format(meters);
  EXPECT_NEAR(editor.BarDb(editor.in.bar), c.expectedDb, c.toleranceDb);
  if (c.textToo) {
    EXPECT_NEAR(std::strtod(editor.inText->GetText(), nullptr), c.expectedDb, 0.1)
        << editor.inText->GetText();
  }
  EXPECT_EQ(editor.Value(editor.in.clipLamp), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Modes, MeterLevels, ::testing::ValuesIn(kLevelCases),
                         [](const ::testing::TestParamInfo<LevelCase>& info) { return info.param.name; });

namespace {

struct RoutingCase {
  int channelMode;
  double inputMeter, outputMeter;  // peak readings
};

// Input pair (0.3, -0.5), output pair (0.2, 0.7).
const RoutingCase kRoutingCases[] = {
    {Meters::kInOut, 0.5, 0.7},        {Meters::kInLeftRight, 0.3, 0.5},
    {Meters::kOutLeftRight, 0.2, 0.7}, {Meters::kInMidSide, 0.1, 0.4},
    {Meters::kOutMidSide, 0.45, 0.25}, {Meters::kMetersOff, 0.0, 0.0},
};

class MeterRouting : public ::testing::TestWithParam<RoutingCase> {};

}  // namespace

TEST_P(MeterRouting, EachChannelModeFeedsTheDocumentedSignals) {
  const RoutingCase c = GetParam();
  Meters meters;
  meters.SetMeterMode(Meters::kModePeak, 48000.0);
  meters.SetChannelMode(c.channelMode);
  meters.ProcessInputMeter(0.3, -0.5);
  meters.ProcessOutputMeter(0.2, 0.7);
  EXPECT_NEAR(meters.InputReading().current, c.inputMeter, 1e-15);
  EXPECT_NEAR(meters.OutputReading().current, c.outputMeter, 1e-15);
}

INSTANTIATE_TEST_SUITE_P(ChannelModes, MeterRouting, ::testing::ValuesIn(kRoutingCases));

TEST(Meters, OffFreezesTheReadouts) {
  Meters meters;
  meters.SetMeterMode(Meters::kModePeak, 48000.0);
  Editor editor;
  meters.ProcessInputMeter(0.25, 0.0);
  meters.ProcessOutputMeter(0.125, 0.0);
  editor.Format(meters);
  const double bar = editor.Value(editor.in.bar);
  meters.SetChannelMode(Meters::kMetersOff);
  for (int i = 0; i < 10000; ++i) {
    meters.ProcessInputMeter(2.0, 2.0);
    meters.ProcessOutputMeter(0.0, 0.0);
  }
  editor.Format(meters);
  EXPECT_EQ(editor.Value(editor.in.bar), bar);
  EXPECT_STREQ(editor.inText->GetText(), "-12.0");
  EXPECT_STREQ(editor.outText->GetText(), "-18.1");
  EXPECT_EQ(editor.Value(editor.in.clipLamp), 0.0);
}

TEST(Meters, SilenceReadsMinusInfAndHotSignalsPinTheBar) {
  Meters meters;
  meters.SetMeterMode(Meters::kModePeak, 48000.0);
  Editor editor;
  editor.Format(meters);
  EXPECT_STREQ(editor.inText->GetText(), "-inf");
  EXPECT_EQ(editor.Value(editor.in.bar), 0.0);
  EXPECT_EQ(editor.Value(editor.in.heldPeak), 1.0);  // marker at -60 dB, from the top

  meters.ProcessInputMeter(1e-8, 0.0);  // -160 dB: below the -144 dB text floor
  editor.Format(meters);
  EXPECT_STREQ(editor.inText->GetText(), "-inf");
  EXPECT_EQ(editor.Value(editor.in.bar), 0.0);

  meters.ProcessInputMeter(8.0, 0.0);  // +18.06 dB
  editor.Format(meters);
  EXPECT_EQ(editor.Value(editor.in.bar), 1.0);
  EXPECT_EQ(editor.Value(editor.in.heldPeak), 0.0);
  EXPECT_STREQ(editor.inText->GetText(), "18.1");
  EXPECT_EQ(editor.Value(editor.in.clipLamp), 1.0);
}

TEST(Meters, MissingOrWrongControlsAreSkipped) {
  Meters meters;
  meters.SetMeterMode(Meters::kModePeak, 48000.0);
  meters.ProcessInputMeter(0.5, 0.5);
  IGraphicsMac graphics(nullptr, 100, 100, 60);
  auto* plain = new IControl(nullptr, IRECT(0, 0, 10, 10));
  const int idx = graphics.AttachControl(plain);
  Meters::ControlIndices wrong;
  wrong.bar = -1;
  wrong.heldPeak = 99;
  wrong.text = idx;  // not a text control: no text goes anywhere
  wrong.clipLamp = -7;
  meters.FormatMeterValue(&graphics, wrong, Meters::ControlIndices());
  EXPECT_EQ(plain->GetValue(), 0.0);
  meters.FormatMeterValue(nullptr, wrong, wrong);
}

namespace {

struct SetupCase {
  int mode;
  int kind;
  double offsetFactor;  // 10^(-offset/20)
};

const SetupCase kSetupCases[] = {
    {0, kMeterPeak, 1.0},
    {1, kMeterRms, 1.4125375446227544},
    {2, kMeterEbuMomentary, 1.0},
    {3, kMeterEbuShortTerm, 1.0},
    {4, kMeterVu, 7.943282347242815},
    {5, kMeterPeak, 1.0},
    {-1, kMeterPeak, 1.0},
};

class MeterSetups : public ::testing::TestWithParam<SetupCase> {};

}  // namespace

TEST_P(MeterSetups, ModesChooseTheMeasureAndOffset) {
  const SetupCase c = GetParam();
  LoudnessMeter meter;
  Meters::SetMeterMode(&meter, c.mode, 48000.0);
  EXPECT_EQ(meter.kind, c.kind);
  EXPECT_NEAR(meter.offsetFactor, c.offsetFactor, 1e-12);
  EXPECT_EQ(meter.delayLeft.length, 0);  // never delayed inside the meter
  if (c.kind == kMeterPeak) {
    EXPECT_EQ(meter.holdSamples, 4800);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, MeterSetups, ::testing::ValuesIn(kSetupCases));

TEST(Meters, ModeChangeAndResetClearTheMetersButNotTheLamps) {
  Meters meters;
  meters.SetMeterMode(Meters::kModePeak, 48000.0);
  meters.SetClipLampTiming(48000.0);
  meters.ProcessInputMeter(1.5, 0.0);
  meters.ProcessOutputMeter(0.0, 1.2);
  ASSERT_EQ(meters.InputReading().clipLamp, 1.0);

  meters.SetMeterMode(Meters::kModeRms, 48000.0);
  EXPECT_EQ(meters.InputReading().current, 0.0);
  EXPECT_EQ(meters.InputReading().maximumOut, 0.0);
  EXPECT_NEAR(meters.InputReading().offsetFactor, std::pow(10.0, 3.0 / 20.0), 1e-12);
  EXPECT_EQ(meters.InputReading().clipLamp, 1.0);
  EXPECT_EQ(meters.OutputReading().clipLamp, 1.0);

  for (int i = 0; i < 1000; ++i) meters.ProcessInputMeter(0.5, 0.5);
  ASSERT_GT(meters.InputReading().maximumOut, 0.0);
  meters.ResetMeters();
  EXPECT_EQ(meters.InputReading().maximumOut, 0.0);
  EXPECT_EQ(meters.MeterModeValue(), Meters::kModeRms);
  EXPECT_EQ(meters.InputMeter().kind, kMeterRms);
  EXPECT_EQ(meters.InputReading().clipLamp, 1.0);

  meters.ClearClipLamps();
  EXPECT_EQ(meters.InputReading().clipLamp, 0.0);
  EXPECT_EQ(meters.OutputReading().clipLamp, 0.0);
}

// Readers without an editor get the texts the text controls show: levels
// in dB from an independent log10, the -144 dB floor, NaN and a tiny buffer.
TEST(Meters, FormatMeterTextMatchesTheTextControl) {
  struct TextCase {
    double maximumOut, offsetFactor;
    const char* expected;
  };
  const TextCase cases[] = {
      {0.5, 1.0, "-6.0"},       {8.0, 1.0, "18.1"},   {0.0, 1.0, "-inf"},
      {1e-8, 1.0, "-inf"},      {1.0, 1.0, "0.0"},    {0.5, std::pow(10.0, 3.0 / 20.0), "-3.0"},
      {std::nan(""), 1.0, "-inf"}, {0.25, 1.0, "-12.0"},
  };
  for (const TextCase& c : cases) {
    const Meters::Reading reading{0.0, c.maximumOut, c.offsetFactor, 0.0};
    char text[32];
    Meters::FormatMeterText(reading, text, sizeof text);
    EXPECT_STREQ(text, c.expected) << c.maximumOut;
    if (c.maximumOut > 1e-6) {
      const double db = std::floor(20.0 * std::log10(c.maximumOut * c.offsetFactor) * 10.0 + 0.5) / 10.0;
      EXPECT_NEAR(std::strtod(text, nullptr), db, 1e-9);
    }
  }

  // The same text reaches the editor's control.
  Meters meters;
  meters.SetMeterMode(Meters::kModePeak, 48000.0);
  meters.ProcessInputMeter(0.3, 0.1);
  Editor editor;
  editor.Format(meters);
  char text[32];
  Meters::FormatMeterText(meters.InputReading(), text, sizeof text);
  EXPECT_STREQ(text, editor.inText->GetText());
  Meters::FormatMeterText(meters.OutputReading(), text, sizeof text);
  EXPECT_STREQ(text, editor.outText->GetText());

  char small[3];
  Meters::FormatMeterText(meters.InputReading(), small, sizeof small);
  EXPECT_STREQ(small, "-1");  // cut to fit, terminated
}

// Every measure and every routing, in blocks of several sizes with bursts
// over full scale and mono blocks between: the block calls leave the meters,
// the lamps and the published readings exactly where the frame calls do.
TEST(Meters, BlockCallsMeterAsTheFrameCallsDo) {
  constexpr double fs = 48000.0;
  for (int mode = Meters::kModePeak; mode <= Meters::kModeVu; ++mode) {
    for (int channels = Meters::kInOut; channels <= Meters::kMetersOff; ++channels) {
      Meters blocks, frames;
      for (Meters* m : {&blocks, &frames}) {
        m->SetMeterMode(mode, fs);
        m->SetChannelMode(channels);
      }
      int t = 0;
      for (int n : {1, 137, 512, 3000, 64, 700}) {
        const bool mono = n == 64;
        std::vector<double> l(n), r(n), outL(n), outR(n);
        for (int i = 0; i < n; ++i, ++t) {
          const double level = (t / 500) % 3 == 1 ? 1.7 : 0.4;
          l[i] = level * Sine(t, 440.0, fs);
          r[i] = 0.8 * level * Sine(t, 970.0, fs);
          outL[i] = 0.5 * l[i] + 0.3 * r[i];
          outR[i] = 1.2 * r[i];
        }
        blocks.ProcessMeterBlocks(l.data(), mono ? nullptr : r.data(), outL.data(), mono ? nullptr : outR.data(), n);
        for (int i = 0; i < n; ++i) frames.ProcessInputMeter(l[i], mono ? 0.0 : r[i]);
        for (int i = 0; i < n; ++i) frames.ProcessOutputMeter(outL[i], mono ? 0.0 : outR[i]);
        const std::string where = "mode " + std::to_string(mode) + ", channels " + std::to_string(channels);
        for (bool input : {true, false}) {
          const Meters::Reading a = input ? blocks.InputReading() : blocks.OutputReading();
          const Meters::Reading b = input ? frames.InputReading() : frames.OutputReading();
          ASSERT_EQ(a.current, b.current) << where;
          ASSERT_EQ(a.maximumOut, b.maximumOut) << where;
          ASSERT_EQ(a.offsetFactor, b.offsetFactor) << where;
          ASSERT_EQ(a.clipLamp, b.clipLamp) << where;
        }
        ASSERT_EQ(blocks.InputMeter().envelope, frames.InputMeter().envelope) << where;
        for (bool input : {true, false}) {
          const LoudnessMeter& a = input ? blocks.InputMeter() : blocks.OutputMeter();
          const LoudnessMeter& b = input ? frames.InputMeter() : frames.OutputMeter();
          ASSERT_EQ(a.samplePeak, b.samplePeak) << where;
          ASSERT_EQ(a.minimum, b.minimum) << where;
          ASSERT_EQ(a.holdCounter, b.holdCounter) << where;
          ASSERT_EQ(a.ballisticState, b.ballisticState) << where;
        }
        ASSERT_EQ(blocks.OutputMeter().minimumOut, frames.OutputMeter().minimumOut) << where;
        ASSERT_EQ(blocks.InputClipLamp().GetState(), frames.InputClipLamp().GetState()) << where;
        ASSERT_EQ(blocks.OutputClipLamp().Peak(), frames.OutputClipLamp().Peak()) << where;
      }
    }
  }
}

namespace {

uint64_t Bits(double x) {
  uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

// Deterministic noise in [-0.5, 0.5): the same signal on every machine.
double Hash(uint32_t t, uint32_t channel) {
  uint32_t s = t * 2654435761u + channel * 40503u + 12345u;
  s ^= s << 13;
  s ^= s >> 17;
  s ^= s << 5;
  s ^= s >> 11;
  s *= 2246822519u;
  s ^= s >> 15;
  return s / 4294967296.0 - 0.5;
}

// Frame t of channel c: 0 and 1 the input pair, 2 and 3 the output pair.
using PeakSignal = double (*)(int t, int c, double fs);

const double kQuietNan = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct PeakSignalCase {
  const char* name;
  PeakSignal signal;
};

const PeakSignalCase kPeakSignals[] = {
    // The command-line workload's input, and an output hot enough to clip.
    {"Noise", [](int t, int c, double) { return (c < 2 ? 1.0 : 2.6) * Hash(t, c); }},
    // Noise bursts of changing level: holds cut short by louder peaks,
    // releases down to quieter ones.
    {"NoiseBursts",
     [](int t, int c, double) {
       const double level = 0.05 + 1.5 * (0.5 + Hash(t / 700, 9));
       return level * Hash(t, c);
     }},
    // Sines swelling over full scale and back: runs of attacks, the lamp
    // lit, held and fading.
    {"SinesOverFullScale",
     [](int t, int c, double fs) {
       const double swell = 0.2 + 1.4 * std::fabs(std::sin(kPi * t / 5000.0));
       const double hz = c % 2 ? 970.0 : 440.0;
       return (c < 2 ? swell : 1.3 * swell) * Sine(t, hz * fs / 48000.0, fs);
     }},
    // Sound, then digital silence: the release runs to the end.
    {"SilenceAfterSound", [](int t, int c, double) { return t < 1500 ? 1.2 * Hash(t, c) : 0.0; }},
    // Signed zeros, denormals and ties: equal readings neither attack nor
    // reset the hold.
    {"ZerosDenormalsTies",
     [](int t, int c, double) {
       const double values[] = {0.0, -0.0, 4.9e-324, -1e-310, 2.2e-308, 0.25, -0.25, 0.25};
       return values[static_cast<uint32_t>((0.5 + Hash(t / 37, c)) * 8.0) % 8];
     }},
    // NaN in one channel only, with both signs: a pair reads its left
    // channel when the right is NaN, NaN when the left is.
    {"NanInOneChannel",
     [](int t, int c, double) {
       if ((c == 1 || c == 3) && t % 97 == 5) return t % 2 ? kQuietNan : -kQuietNan;
       if (c == 2 && t == 9000) return -kQuietNan;
       return Hash(t, c);
     }},
    // Infinities, huge values and NaN of both signs in both channels; the
    // envelope turns NaN and stays so.
    {"InfAndNanBursts",
     [](int t, int c, double) {
       if (t == 3000 + 100 * c) return c % 2 ? -kInf : kInf;
       if (t >= 6000 && t < 6003) return c % 2 ? -kQuietNan : kQuietNan;
       if (t == 2000) return c % 2 ? 1e300 : -1e308;
       return 0.7 * Hash(t, c);
     }},
};

struct PeakBlockPattern {
  const char* name;
  std::vector<int> sizes;  // repeated to the end of the signal
};

const PeakBlockPattern kPeakBlockPatterns[] = {
    {"1", {1}}, {"7", {7}}, {"256", {256}}, {"257", {257}}, {"1000", {1000}}, {"Mixed", {1, 7, 256, 257, 1000, 3}},
};

::testing::AssertionResult SameMeter(const LoudnessMeter& a, const LoudnessMeter& b) {
  const double LoudnessMeter::* const fields[] = {
      &LoudnessMeter::envelope, &LoudnessMeter::maximum,    &LoudnessMeter::minimum,   &LoudnessMeter::current,
      &LoudnessMeter::maximumOut, &LoudnessMeter::minimumOut, &LoudnessMeter::samplePeak};
  for (size_t i = 0; i < sizeof fields / sizeof fields[0]; ++i) {
    const double x = a.*fields[i], y = b.*fields[i];
    if (Bits(x) != Bits(y)) return ::testing::AssertionFailure() << "field " << i << ": " << x << " against " << y;
  }
  if (a.holdCounter != b.holdCounter || a.ballisticState != b.ballisticState) {
    return ::testing::AssertionFailure() << "hold " << a.holdCounter << "/" << a.ballisticState << " against "
                                         << b.holdCounter << "/" << b.ballisticState;
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SameLamp(const ClipLamp& a, const ClipLamp& b) {
  if (Bits(a.Value()) != Bits(b.Value()) || Bits(a.Peak()) != Bits(b.Peak()) || a.GetState() != b.GetState()) {
    return ::testing::AssertionFailure() << "lamp " << a.Value() << "/" << a.GetState() << " against " << b.Value()
                                         << "/" << b.GetState();
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SameReading(const Meters::Reading& a, const Meters::Reading& b) {
  if (Bits(a.current) != Bits(b.current) || Bits(a.maximumOut) != Bits(b.maximumOut) ||
      Bits(a.offsetFactor) != Bits(b.offsetFactor) || Bits(a.clipLamp) != Bits(b.clipLamp)) {
    return ::testing::AssertionFailure() << "reading " << a.current << " against " << b.current;
  }
  return ::testing::AssertionSuccess();
}

using PeakBlockParam = std::tuple<PeakSignalCase, int, double>;

class PeakBlockExactness : public ::testing::TestWithParam<PeakBlockParam> {};

std::string PeakBlockCaseName(const ::testing::TestParamInfo<PeakBlockParam>& info) {
  const char* routings[] = {"InOut", "InLR", "OutLR", "InMS", "OutMS"};
  return std::string(std::get<0>(info.param).name) + "_" + routings[std::get<1>(info.param)] + "_" +
         std::to_string(static_cast<int>(std::get<2>(info.param)));
}

}  // namespace

// The peak block path against the frame calls (each a LoudnessMeter step
// and a lamp step) bit for bit, NaN payloads and signed zeros included,
// after every block of each size pattern; every fourth block is mono. At
// 1 kHz the hold (100 frames) and the lamp's hold end inside and across
// blocks.
TEST_P(PeakBlockExactness, BlocksStepAsTheFramesDo) {
  const PeakSignalCase signal = std::get<0>(GetParam());
  const int channels = std::get<1>(GetParam());
  const double fs = std::get<2>(GetParam());
  constexpr int kFrames = 12000;
  std::vector<double> x[4];
  for (int c = 0; c < 4; ++c) {
    x[c].resize(kFrames);
    for (int t = 0; t < kFrames; ++t) x[c][t] = signal.signal(t, c, fs);
  }
  for (const PeakBlockPattern& pattern : kPeakBlockPatterns) {
    SCOPED_TRACE(pattern.name);
    Meters blocks, frames;
    for (Meters* m : {&blocks, &frames}) {
      m->SetMeterMode(Meters::kModePeak, fs);
      m->SetClipLampTiming(fs);
      m->SetChannelMode(channels);
    }
    int block = 0;
    for (int at = 0; at < kFrames; ++block) {
      const int n = std::min(pattern.sizes[block % pattern.sizes.size()], kFrames - at);
      const bool mono = block % 4 == 3;
      blocks.ProcessMeterBlocks(&x[0][at], mono ? nullptr : &x[1][at], &x[2][at], mono ? nullptr : &x[3][at], n);
      for (int i = at; i < at + n; ++i) {
        frames.ProcessInputMeter(x[0][i], mono ? 0.0 : x[1][i]);
        frames.ProcessOutputMeter(x[2][i], mono ? 0.0 : x[3][i]);
      }
      at += n;
      ASSERT_TRUE(SameMeter(blocks.InputMeter(), frames.InputMeter())) << "input meter at frame " << at;
      ASSERT_TRUE(SameMeter(blocks.OutputMeter(), frames.OutputMeter())) << "output meter at frame " << at;
      ASSERT_TRUE(SameLamp(blocks.InputClipLamp(), frames.InputClipLamp())) << "input lamp at frame " << at;
      ASSERT_TRUE(SameLamp(blocks.OutputClipLamp(), frames.OutputClipLamp())) << "output lamp at frame " << at;
      ASSERT_TRUE(SameReading(blocks.InputReading(), frames.InputReading())) << "at frame " << at;
      ASSERT_TRUE(SameReading(blocks.OutputReading(), frames.OutputReading())) << "at frame " << at;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(SignalsRoutingsRates, PeakBlockExactness,
                         ::testing::Combine(::testing::ValuesIn(kPeakSignals),
                                            ::testing::Values(Meters::kInOut, Meters::kInLeftRight,
                                                              Meters::kOutLeftRight, Meters::kInMidSide,
                                                              Meters::kOutMidSide),
                                            ::testing::Values(48000.0, 1000.0)),
                         PeakBlockCaseName);
