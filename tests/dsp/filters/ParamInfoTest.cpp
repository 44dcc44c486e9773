#include "dsp/filters/ParamInfo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct DescriptorCase {
  Dsp::ParamInfo (*make)();
  int kind;
  const char* slug;
  const char* name;
  double minimum, maximum, defaultValue;
};

TEST(ParamInfo, DescriptorsHoldTheirRanges) {
  const DescriptorCase cases[] = {
      {Dsp::MakeSampleRateParamInfo, 0, "Fs", "Sample Rate", 11025, 192000, 44100},
      {Dsp::MakeOrderParamInfo, 7, "Order", "Order", 1, 16, 2},
      {Dsp::MakeCutoffFrequencyParamInfo, 1, "Fc", "Cutoff Frequency", 10, 22040, 2000},
      {Dsp::MakeCenterFrequencyParamInfo, 1, "Fc", "Center Frequency", 10, 22040, 2000},
      {Dsp::MakeBandwidthHzParamInfo, 4, "BW", "Bandwidth (Hz)", 10, 22040, 1720},
      {Dsp::MakeGainParamInfo, 5, "Gain", "Gain", -24, 24, -6},
  };
  for (const DescriptorCase& c : cases) {
    const Dsp::ParamInfo info = c.make();
    EXPECT_EQ(info.kind, c.kind);
    EXPECT_STREQ(info.slug, c.slug);
    EXPECT_STREQ(info.name, c.name);
    EXPECT_EQ(info.minimum, c.minimum);
    EXPECT_EQ(info.maximum, c.maximum);
    EXPECT_EQ(info.defaultValue, c.defaultValue);
    // Both ends and the default survive a trip through the control range.
    for (double v : {c.minimum, c.maximum, c.defaultValue}) {
      EXPECT_NEAR(info.toNative(info.toControl(v)), v, 1e-9 * std::fabs(v)) << c.name;
    }
    EXPECT_NEAR(info.toControl(c.minimum), 0.0, 1e-12) << c.name;
    EXPECT_NEAR(info.toControl(c.maximum), 1.0, 1e-12) << c.name;
  }
}

TEST(ParamInfo, Mappings) {
  const Dsp::ParamInfo gain = Dsp::MakeGainParamInfo();
  EXPECT_DOUBLE_EQ(gain.toControl(0.0), 0.5);
  EXPECT_DOUBLE_EQ(gain.toNative(0.25), -12.0);

  // Order: linear, rounded half up.
  const Dsp::ParamInfo order = Dsp::MakeOrderParamInfo();
  EXPECT_EQ(order.toNative(0.5), 9.0);               // 1 + 7.5 = 8.5 -> 9
  EXPECT_EQ(order.toNative(0.49), 8.0);              // 8.35 -> 8
  EXPECT_EQ(order.toNative(1.0 / 15.0 * 2.5), 4.0);  // 3.5 -> 4

  // Frequency: logarithmic, so the control's midpoint is the geometric mean.
  const Dsp::ParamInfo fc = Dsp::MakeCutoffFrequencyParamInfo();
  EXPECT_NEAR(fc.toNative(0.5), std::sqrt(10.0 * 22040.0), 1e-9);
  EXPECT_NEAR(fc.toControl(100.0), std::log(100.0 / 10.0) / std::log(22040.0 / 10.0), 1e-12);
}

TEST(ParamInfo, Texts) {
  const Dsp::ParamInfo fs = Dsp::MakeSampleRateParamInfo();
  const Dsp::ParamInfo order = Dsp::MakeOrderParamInfo();
  const Dsp::ParamInfo gain = Dsp::MakeGainParamInfo();
  EXPECT_EQ(fs.toText(44100.0), "44100 Hz");
  EXPECT_EQ(fs.toText(999.99), "999 Hz");  // truncated, not rounded
  EXPECT_EQ(order.toText(4.7), "4");
  EXPECT_EQ(order.toText(-0.5), "0");
  struct Case { double db; const char* text; };
  for (const Case& c : {Case{0.5, "0.500 dB"}, Case{-0.25, "-0.250 dB"}, Case{1.0, "1.00 dB"},
                        Case{-6.0, "-6.00 dB"}, Case{9.999, "10.00 dB"}, Case{10.0, "10.0 dB"},
                        Case{-24.0, "-24.0 dB"}}) {
    EXPECT_EQ(gain.toText(c.db), c.text);
  }
}

}  // namespace
