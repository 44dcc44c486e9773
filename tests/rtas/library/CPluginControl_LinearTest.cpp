#include "rtas/library/CPluginControl_Linear.h"

#include <gtest/gtest.h>

#include <limits>

#include "ControlTestHelpers.h"
#include "rtas/library/ControlValue.h"
#include "rtas/library/FourCC.h"

namespace {

constexpr int32_t kBottom = std::numeric_limits<int32_t>::min();
constexpr int32_t kTop = std::numeric_limits<int32_t>::max();

// The binding's prefix range: "" (1) to "E" (1e18).
const SPrefixRecord* Unprefixed() { return FindUnitPrefix(""); }
const SPrefixRecord* Exa() { return FindUnitPrefix("E"); }

CPluginControl_Linear Frequency() {
  return CPluginControl_Linear(FourCC("freq"), "Freq", 0.0, 20000.0, 1.0, 1000.0, true, Unprefixed(), Exa());
}

double Read(const CPluginControl_Linear& control, const char* text) {
  return ControlValueToDouble(control.ConvertStringToValue(text), control.GetMin(), control.GetMax());
}

}  // namespace

TEST(CPluginControl_Linear, PrefixTableIsTheTwelveSIPrefixes) {
  const struct {
    const char* text;
    double scale;
  } expected[] = {{"f", 1e-15}, {"p", 1e-12}, {"n", 1e-9}, {"u", 1e-6}, {"m", 1e-3}, {"", 1.0},
                  {"k", 1e3},   {"M", 1e6},   {"G", 1e9},  {"T", 1e12}, {"P", 1e15}, {"E", 1e18}};
  for (int i = 0; i < kUnitPrefixCount; ++i) {
    EXPECT_STREQ(kUnitPrefixes[i].mText, expected[i].text);
    EXPECT_EQ(kUnitPrefixes[i].mScale, expected[i].scale);
  }
  EXPECT_EQ(FindUnitPrefix("x"), nullptr);
}

TEST(CPluginControl_Linear, DefaultRangeAndSteps) {
  const CPluginControl_Linear control = Frequency();
  EXPECT_EQ(control.GetValue(), DoubleToControlValue(1000.0, 0.0, 20000.0));
  EXPECT_TRUE(control.IsContinuous());
  EXPECT_TRUE(control.IsAutomatable());
  EXPECT_EQ(control.GetDigits(), 1);
  EXPECT_EQ(control.GetUnit(), "");
  EXPECT_EQ(control.GetNumSteps(), 20001);
  EXPECT_NEAR(control.GetContinuousValue(), 1000.0, 1e-4);
  struct Row {
    double min, max, step;
    int32_t steps;
  };
  const Row rows[] = {{0.0, 1.0, 0.5, 3}, {0.0, 1.0, 2.0, 1}, {-24.0, 24.0, 0.5, 97},
                      {0.0, 1.0, 0.0, kTop}, {0.0, 1e12, 1e-3, kTop}, {1.0, 0.0, 0.5, 1}};
  for (const Row& row : rows) {
    const CPluginControl_Linear stepped(FourCC("step"), "S", row.min, row.max, row.step, row.min, true, nullptr,
                                        nullptr);
    EXPECT_EQ(stepped.GetNumSteps(), row.steps) << row.step;
  }
}

TEST(CPluginControl_Linear, PrefixFollowsTheMagnitude) {
  CPluginControl_Linear control = Frequency();
  struct Row {
    double x;
    const char* text;
  };
  const Row rows[] = {{2500.0, "2.5k"},  {1000.0, "1000.0"}, {999.0, "999.0"}, {1000.5, "1.0k"},
                      {0.0, "0.0"},      {1.0, "1.0"},       {0.26, "0.3"},    {2.5e6, "2.5M"},
                      {3e18, "3.0E"},    {5e21, "5000.0E"},  {-2500.0, "-2.5k"}, {-0.04, "0.0"}};
  for (const Row& row : rows) EXPECT_EQ(control.FormatValue(row.x, 31), row.text) << row.x;

  // With the full table small values take the small prefixes, each kept
  // until the next one's scale is passed.
  CPluginControl_Linear tiny(FourCC("tiny"), "T", 0.0, 1.0, 1e-15, 0.0, true, &kUnitPrefixes[0],
                             &kUnitPrefixes[kUnitPrefixCount - 1]);
  const Row small[] = {{1e-14, "10.0f"}, {5e-13, "500.0f"}, {2e-12, "2.0p"}, {0.5, "500.0m"}, {1.0, "1000.0m"}};
  for (const Row& row : small) EXPECT_EQ(tiny.FormatValue(row.x, 31), row.text) << row.x;
}

TEST(CPluginControl_Linear, UnitSuffixShrinksToFit) {
  CPluginControl_Linear control(FourCC("freq"), "Freq", 0.0, 1e6, 1.0, 0.0, true, Unprefixed(), Exa());
  control.SetUnit("Hz");
  struct Row {
    double x;
    int32_t maxLength;
    const char* text;
  };
  const Row rows[] = {
      {2500.0, 31, "2.5 kHz"}, {2500.0, 6, "2.5kHz"}, {2500.0, 4, "2.5k"}, {2500.0, 2, "2k"},
      {250000.0, 3, "*k"},     {250000.0, 4, "250k"}, {250000.0, 1, "*"},  {250000.0, 0, ""},
      {12.0, 31, "12.0 Hz"},   {12.0, 5, "12.0"},     {12.0, 3, "12"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(control.FormatValue(row.x, row.maxLength), row.text) << row.x << " in " << row.maxLength;
  }
  EXPECT_EQ(ValueText(control, DoubleToControlValue(2500.0, 0.0, 1e6), 6), "2.5kHz");
}

TEST(CPluginControl_Linear, ReadsANumberAndOneWord) {
  const CPluginControl_Linear control = Frequency();
  struct Row {
    const char* text;
    double x;
  };
  const Row rows[] = {{"2.5k", 2500.0}, {"2.5 k", 2500.0}, {"  440", 440.0}, {"1e3", 1000.0},
                      {"2.5M", 20000.0}, {"-3", 0.0},       {"7 ", 7.0}};
  for (const Row& row : rows) EXPECT_NEAR(Read(control, row.text), row.x, 1e-5) << row.text;
  for (const char* bad : {"2.5 k x", "abc", "", "2.5K", "2.5 kHz", "k", "nan", "1 2"}) {
    EXPECT_EQ(ThrownCode([&] { control.ConvertStringToValue(bad); }), -7401) << bad;
  }
}

TEST(CPluginControl_Linear, UnitIsTakenOffTheWord) {
  CPluginControl_Linear gain(FourCC("gain"), "Gain", -24.0, 24.0, 0.1, 0.0, true, nullptr, nullptr);
  gain.SetUnit("dB");
  EXPECT_NEAR(Read(gain, "12 dB"), 12.0, 1e-5);
  EXPECT_NEAR(Read(gain, "12dB"), 12.0, 1e-5);
  EXPECT_NEAR(Read(gain, "-6"), -6.0, 1e-5);
  for (const char* bad : {"12 dB extra", "12 k", "12 kdB", "12 db"}) {
    EXPECT_EQ(ThrownCode([&] { gain.ConvertStringToValue(bad); }), -7401) << bad;
  }

  CPluginControl_Linear freq(FourCC("freq"), "Freq", 0.0, 20000.0, 1.0, 0.0, true, Unprefixed(), Exa());
  freq.SetUnit("Hz");
  EXPECT_NEAR(Read(freq, "2.5 kHz"), 2500.0, 1e-5);
  EXPECT_NEAR(Read(freq, "440Hz"), 440.0, 1e-5);
}

TEST(CPluginControl_Linear, TextRoundTripAtEndsAndMiddle) {
  const CPluginControl_Linear control = Frequency();
  for (int32_t value : {kBottom, 0, kTop}) {
    const std::string text = ValueText(control, value, 31);
    const double shown = ControlValueToDouble(value, 0.0, 20000.0);
    EXPECT_NEAR(Read(control, text.c_str()), shown, 0.05 + 1e-9 * shown) << text;
  }
  EXPECT_EQ(ValueText(control, kBottom, 31), "0.0");
  EXPECT_EQ(ValueText(control, kTop, 31), "20.0k");
}

TEST(CPluginControl_Linear, DefaultFollowsSetDefaultValue) {
  CPluginControl_Linear control = Frequency();
  control.SetDefaultValue(kTop);
  EXPECT_EQ(control.GetDefaultValue(), kTop);
  control.SetDefaultValue(DoubleToControlValue(440.0, 0.0, 20000.0));
  EXPECT_NEAR(ControlValueToDouble(control.GetDefaultValue(), 0.0, 20000.0), 440.0, 1e-4);
}

TEST(CPluginControl_Linear, AcceptsDigitsPrefixesAndUnitLetters) {
  CPluginControl_Linear control = Frequency();
  control.SetUnit("dB");
  std::set<int> expected = Digits();
  expected.insert({'.', 8, 28, 29, '+', '-', 'k', 'M', 'G', 'T', 'P', 'E', 'd', 'B'});
  EXPECT_EQ(AcceptedKeys(control), expected);
}
