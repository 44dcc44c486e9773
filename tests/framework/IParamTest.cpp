#include "framework/IParam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

IParam SevenEntryEnum() {
  IParam p;
  p.InitEnum("Mode", 0, 7);
  for (int i = 0; i < 7; ++i) p.SetDisplayText(i, ("item " + std::to_string(i)).c_str());
  return p;
}

std::string Display(const IParam& p, double value, bool normalized, bool withText = true) {
  char buf[32];
  p.GetDisplayForHost(value, normalized, buf, sizeof buf, withText);
  return buf;
}

}  // namespace

TEST(IParam, InitEnumRanges) {
  IParam one;
  one.InitEnum("One", 0, 1);
  EXPECT_EQ(one.GetMin(), 0.0);
  EXPECT_EQ(one.GetMax(), 1.0);  // never a 0..0 range

  IParam seven = SevenEntryEnum();
  EXPECT_EQ(seven.Type(), IParam::kTypeEnum);
  EXPECT_EQ(seven.GetMax(), 6.0);
  seven.SetNormalized(0.5);
  EXPECT_EQ(seven.Value(), 3.0);
  seven.SetNormalized(0.49);  // 2.94 rounds to the step
  EXPECT_EQ(seven.Value(), 3.0);

  IParam keptKind;
  keptKind.SetType(IParam::kTypeBool);
  keptKind.InitEnum("Switch", 1, 2);
  EXPECT_EQ(keptKind.Type(), IParam::kTypeBool);
}

TEST(IParam, InitDoublePrecisionAndRange) {
  struct Case { double step; int precision; };
  const Case cases[] = {{1.0, 0}, {0.1, 1}, {0.01, 2}, {0.001, 3}, {0.25, 2}, {1e-9, 6}};
  for (const Case& c : cases) {
    IParam p;
    p.InitDouble("x", 0.0, 0.0, 10.0, c.step);
    EXPECT_EQ(p.GetPrecision(), c.precision) << c.step;
  }
  IParam degenerate;
  degenerate.InitDouble("x", 20.0, 20.0, 20.0, 1.0);
  EXPECT_EQ(degenerate.GetMax(), 21.0);

  IParam keepsShape;
  keepsShape.InitDouble("x", 0.0, 0.0, 1.0, 0.1, "", "", 0.0);
  EXPECT_EQ(keepsShape.GetShape(), 1.0);
}

TEST(IParam, ContinuousValuesClampButDoNotRound) {
  IParam p;
  p.InitDouble("Gain", 0.0, -24.0, 24.0, 0.01);
  p.SetNormalized(1.7);
  EXPECT_EQ(p.Value(), 24.0);
  p.SetNormalized(0.123456);
  EXPECT_DOUBLE_EQ(p.Value(), -24.0 + 48.0 * 0.123456);
  p.SetNormalized(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(p.Value(), -24.0);
  p.Set(100.0);  // the state readers' store: clamped, not rounded
  EXPECT_EQ(p.Value(), 24.0);
  p.Set(1.23456);
  EXPECT_EQ(p.Value(), 1.23456);
  // A host's NaN changes nothing; infinities clamp.
  p.Set(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(p.Value(), 1.23456);
  p.Set(-std::numeric_limits<double>::infinity());
  EXPECT_EQ(p.Value(), -24.0);
  p.Set(std::numeric_limits<double>::infinity());
  EXPECT_EQ(p.Value(), 24.0);
}

TEST(IParam, LogShapeIsAPowerCurve) {
  IParam freq;
  freq.InitDouble("Freq", 1000.0, 20.0, 20000.0, 1.0);
  freq.SetLogShape();
  EXPECT_DOUBLE_EQ(freq.GetShape(), 3.0);
  for (double n : {0.0, 0.25, 0.5, 1.0}) {
    EXPECT_NEAR(freq.ToNormalizedParam(freq.FromNormalizedUnrounded(n)), n, 1e-12);
    EXPECT_DOUBLE_EQ(freq.FromNormalizedUnrounded(n), 20.0 + 19980.0 * std::pow(n, 3.0));
  }

  IParam raised;
  raised.InitDouble("Time", 10.0, 0.0, 100.0, 0.1);
  raised.SetLogShape();
  EXPECT_EQ(raised.GetMin(), 0.1);
  EXPECT_DOUBLE_EQ(raised.GetShape(), 3.0);
}

TEST(IParam, DisplayTexts) {
  IParam p = SevenEntryEnum();
  EXPECT_EQ(Display(p, 0.99, true), "item 5");  // 5.94 truncated, not rounded
  EXPECT_EQ(Display(p, 6.0, false), "item 6");
  EXPECT_EQ(Display(p, 6.0, false, false), "6");
  EXPECT_STREQ(p.GetDisplayText(9), "");
  int value = -1;
  EXPECT_TRUE(p.MapDisplayText("item 4", &value));
  EXPECT_EQ(value, 4);
  EXPECT_FALSE(p.MapDisplayText("Item 4", &value));
}

TEST(IParam, DisplayOfNumbers) {
  IParam whole;
  whole.InitDouble("x", 0.0, -10.0, 10.0, 1.0);
  EXPECT_EQ(Display(whole, 2.5, false), "3");   // floor(v + 0.5)
  EXPECT_EQ(Display(whole, -2.5, false), "-2");
  IParam fine;
  fine.InitDouble("x", 0.0, -10.0, 10.0, 0.01);
  EXPECT_EQ(Display(fine, 1.005, false), "1.00");
  EXPECT_EQ(Display(fine, 1.25, false), "1.25");
}

TEST(IParam, DisplayIsSafeForHostileValues) {
  IParam p;
  p.InitDouble("x", 0.0, -10.0, 10.0, 1.0);
  EXPECT_EQ(Display(p, std::numeric_limits<double>::quiet_NaN(), false), "nan");
  EXPECT_EQ(Display(p, std::numeric_limits<double>::infinity(), false), "inf");
  EXPECT_EQ(Display(p, 1e300, false).substr(0, 3), "100");  // no int overflow
  EXPECT_EQ(Display(p, 7.0, true), "10");  // normalised input clamped to 1
  EXPECT_EQ(Display(p, std::numeric_limits<double>::quiet_NaN(), true), "-10");

  char tiny[4];
  p.GetDisplayForHost(-9.0, false, tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "-9");
  IParam longText = SevenEntryEnum();
  longText.SetDisplayText(7, "a display text far longer than its field");
  p.GetDisplayForHost(-10.0, false, tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "-10");
  char small[8];
  longText.GetDisplayForHost(7.0, false, small, sizeof small);
  EXPECT_STREQ(small, "a displ");
}

TEST(IParam, LabelHiddenWhenValueHasText) {
  IParam p;
  p.InitEnum("Slope", 0, 3, "dB");
  p.SetDisplayText(0, "flat");
  p.SetDisplayText(1, "");
  EXPECT_STREQ(p.GetLabelForHost(), "");
  p.Set(1.0);
  EXPECT_STREQ(p.GetLabelForHost(), "dB");
  p.Set(2.0);
  EXPECT_STREQ(p.GetLabelForHost(), "dB");
}

TEST(IParam, NamesAreBoundedToTheirFields) {
  IParam p;
  p.InitDouble("a parameter name that is far longer than thirty-one", 0.0, 0.0, 1.0, 0.1, "label", "group");
  EXPECT_EQ(std::string(p.GetNameForHost()).size(), 31u);
  EXPECT_STREQ(p.GetGroupForHost(), "group");
}
