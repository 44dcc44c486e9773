#include "plugin/controller/ParamTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "plugin/engine/BandTypes.h"
#include "tests/framework/TestPlug.h"

namespace {

constexpr int kEnum = IParam::kTypeEnum;
constexpr int kDouble = IParam::kTypeDouble;

const std::vector<std::string> kOffOn = {"off", "on"};
const std::vector<std::string> kChannels = {"All", "Left", "Right", "Mid", "Side"};

// One row of the parameter table as the product defines it. For the
// logarithmic doubles min is the effective minimum (raised to the step).
struct ParamRow {
  int idx;
  const char* name;
  int type;
  double min, max, step, defaultValue;
  const char* label;
  bool log;
  std::vector<std::string> texts;  // for the values 0..n-1 (enumerations)
};

ParamRow Enum(int idx, const char* name, int def, std::vector<std::string> texts) {
  const double max = texts.size() < 2 ? 1.0 : static_cast<double>(texts.size() - 1);
  return {idx, name, kEnum, 0.0, max, 1.0, static_cast<double>(def), "", false, std::move(texts)};
}

ParamRow Double(int idx, const char* name, double def, double min, double max, double step, const char* label,
                bool log = false) {
  return {idx, name, kDouble, min, max, step, def, label, log, {}};
}

std::vector<ParamRow> GlobalRows() {
  return {
      Enum(0, "GUI Scale", 2, {"50%", "75%", "100%", "125%", "150%", "175%", "200%"}),
      Enum(1, "OS Mode", 0, {"Off", "2x", "4x"}),
      Enum(2, "AB", 1, kOffOn),
      Enum(3, "Filter Mode", 0,
           {"Zero Latency", "MinimumPhase Eco", "MinimumPhase High", "MinimumPhase Max", "LinearPhase Eco",
            "LinearPhase High", "LinearPhase Max"}),
      Double(100, "FScale", 100.0, 1, 100, 1, "%"),
      Double(101, "FOffset", 30.0, 0, 100, 1, "%"),
      Double(102, "GScale", 100.0, 1, 100, 1, "%"),
      Double(103, "DBOffset", 0.0, -60, 60, 0.1, "dB"),
      Double(104, "Slope", 0.0, -9, 9, 0.1, "%"),
      Enum(105, "Pre Filter Spectrum", 1, kOffOn),
      Enum(106, "Post Filter Spectrum", 1, kOffOn),
      Enum(107, "Hold", 0, kOffOn),
      Enum(108, "Analyzer Mode", 0, kChannels),
      Enum(109, "Phase", 0, {"Normal", "Invert"}),
      Double(110, "Output Gain", 0.0, -48, 48, 0.1, "dB"),
      Enum(111, "Show Reference", 0, kOffOn),
      Double(112, "Ref AGV", 0.0, -60, 60, 0.1, "dB"),
      Enum(113, "AnalyzerShowGrid", 1, kOffOn),
      Double(114, "Analyzer Speed", 1000.0, 1, 9999, 1, "ms", true),
      Enum(115, "Show Add EQ Curves", 1, kOffOn),
      Enum(116, "Show Musical Note", 0, kOffOn),
      Enum(117, "EQ Cheat Sheet", 0,
           {"Off", "Piano Keys", "General 1", "General 2", "Octaves", "Vocal", "Bass Guitar", "Electric Guitar",
            "Acoustic Guitar", "Piano", "Strings", "Drums:Bass Drum", "Drums:Snare", "Drums:Tom",
            "Drums:HiHat Cymbals"}),
      Enum(118, "Large Scope", 0, kOffOn),
      Enum(119, "Link EQ", 1, kOffOn),
      Double(120, "EQ Scale", 100.0, 1, 100, 1, "%"),
      Enum(121, "Show Curve All", 1, kOffOn),
      Enum(122, "Show Curve Left", 0, kOffOn),
      Enum(123, "Show Curve Right", 0, kOffOn),
      Enum(124, "Show Curve Mid", 0, kOffOn),
      Enum(125, "Show Curve Side", 0, kOffOn),
      Enum(126, "Smooth Spectrum Curve", 0,
           {"Smoothed", "ISO Smoothed", "Raw Data", "ISO Bar 1/6", "ISO Bar 1/12", "ISO Bar 1/24", "ISO Bar 1/36",
            "ISO Bar 1/48"}),
      Enum(127, "Show only selected curve", 0, kOffOn),
      Enum(128, "Show Max", 0, kOffOn),
      Enum(129, "HiRes Analyzer", 0, kOffOn),
      Enum(130, "Frequency Tracking", 0, {"Off", "Pre Filter", "Post Filter"}),
      Enum(131, "Spectrogram Mode", 0, {"Off", "Standard", "Heat map"}),
      Enum(132, "Predictive Post Spectrum", 0, kOffOn),
      Enum(134, "Main Meter Mode", 0, {"Peak", "RMS", "EBU ML", "EBU SL", "VU"}),
      Enum(135, "Main Meter Channel Mode", 0, {"In/Out", "In L/R", "Out L/R", "In M/S", "Out M/S", "Off"}),
      Enum(136, "DA-VI Lite Mode", 0, {"DA-VI Lite off", "DA-VI Lite fast", "DA-VI Lite slow"}),
      Enum(137, "Toggle Tooltips", 1, kOffOn),
  };
}

std::vector<ParamRow> BandRows() {
  const std::vector<std::string> types = {
      "A - Peak",      "A - Low Cut",    "A - High Cut",  "A - Low Shelf",  "A - High Shelf", "A - Tilt Shelf",
      "A - Flat Tilt", "A - Band Pass",  "A - Notch",     "D - Peak",       "D - Low Cut",    "D - High Cut",
      "D - Low Shelf", "D - High Shelf", "D - Tilt Shelf", "D - Band Pass"};
  const std::vector<std::string> slopes = {" 6 dB", "12 dB", "18 dB", "24 dB", "30 dB", "36 dB", "42 dB", "48 dB",
                                           "54 dB", "60 dB", "66 dB", "72 dB", "78 dB", "84 dB", "90 dB", "96 dB"};
  const double freqs[12] = {30, 50, 80, 100, 250, 500, 1000, 2000, 4000, 8000, 14000, 18000};
  static std::vector<std::string> names;  // the rows point into it
  names.clear();
  names.reserve(12 * 8);
  std::vector<ParamRow> rows;
  for (int b = 0; b < 12; ++b) {
    const int base = 4 + 8 * b;
    const std::string n = std::to_string(b + 1);
    const auto name = [&](const char* field) { return names.emplace_back(field + n).c_str(); };
    rows.push_back(Enum(base + 0, name("Active "), 0, kOffOn));
    rows.push_back(Enum(base + 1, name("Type "), 0, types));
    rows.push_back(Enum(base + 2, name("ChMode "), 0, kChannels));
    rows.push_back(Enum(base + 3, name("Slope "), 0, slopes));
    rows.push_back(Double(base + 4, name("Gain "), 0.0, -48, 48, 0.01, "dB"));
    rows.push_back(Double(base + 5, name("Freq "), freqs[b], 10, 48000, 0.001, "Hz", true));
    rows.push_back(Double(base + 6, name("Q "), 0.7, 0.01, 100, 0.001, "", true));
    rows.push_back(Enum(base + 7, name("Solo "), 0, kOffOn));
  }
  return rows;
}

std::string Display(const IParam& p, double value, bool normalized = false) {
  char buf[64];
  p.GetDisplayForHost(value, normalized, buf, sizeof buf);
  return buf;
}

class ParamTableTest : public ::testing::Test {
 protected:
  void SetUp() override { InitParams(mPlug, ParamMirrors{}); }
  const IParam& Param(int idx) const { return *mPlug.GetParam(idx); }
  TestPlug mPlug{kNumParams, "1-1 2-2"};
};

void ExpectRow(const IParam& p, const ParamRow& row) {
  SCOPED_TRACE(std::string("parameter ") + std::to_string(row.idx) + " " + row.name);
  EXPECT_STREQ(p.GetNameForHost(), row.name);
  EXPECT_EQ(p.Type(), row.type);
  EXPECT_DOUBLE_EQ(p.GetMin(), row.min);
  EXPECT_DOUBLE_EQ(p.GetMax(), row.max);
  EXPECT_EQ(p.GetStep(), row.step);
  EXPECT_EQ(p.GetDefault(), row.defaultValue);
  EXPECT_EQ(p.Value(), row.defaultValue);
  EXPECT_STREQ(p.GetGroupForHost(), "");
  const double shape = row.log ? std::log10(row.max) - std::log10(row.min) : 1.0;
  EXPECT_NEAR(p.GetShape(), shape, 1e-12);
  if (row.type == kEnum) {
    ASSERT_EQ(p.GetNDisplayTexts(), static_cast<int>(row.texts.size()));
    for (int v = 0; v < static_cast<int>(row.texts.size()); ++v) {
      int value = -1;
      EXPECT_EQ(p.GetDisplayTextAtIdx(v, &value), row.texts[v]);
      EXPECT_EQ(value, v);  // texts are added in value order
      EXPECT_EQ(Display(p, v), row.texts[v]);
    }
    EXPECT_STREQ(p.GetLabelForHost(), "");  // the current value has a text
  } else {
    EXPECT_STREQ(p.GetLabelForHost(), row.label);
  }
}

}  // namespace

TEST_F(ParamTableTest, GlobalParametersAsDefined) {
  for (const ParamRow& row : GlobalRows()) ExpectRow(Param(row.idx), row);
}

TEST_F(ParamTableTest, BandParametersFollowTheIndexRule) {
  for (const ParamRow& row : BandRows()) ExpectRow(Param(row.idx), row);
  EXPECT_STREQ(Param(BandParamIndex(0, kBandActive)).GetNameForHost(), "Active 1");
  EXPECT_STREQ(Param(BandParamIndex(11, kBandSolo)).GetNameForHost(), "Solo 12");
  EXPECT_EQ(BandParamIndex(11, kBandSolo), 99);
  EXPECT_STREQ(Param(100).GetNameForHost(), "FScale");

  int band = -1, field = -1;
  EXPECT_TRUE(SplitBandParamIndex(4 + 8 * 6 + 5, &band, &field));
  EXPECT_EQ(band, 6);
  EXPECT_EQ(field, kBandFreq);
  EXPECT_FALSE(SplitBandParamIndex(3, &band, &field));
  EXPECT_FALSE(SplitBandParamIndex(100, &band, &field));
}

TEST_F(ParamTableTest, Index133StaysBlank) {
  const IParam& p = Param(kParamDeltaSpectrum);
  EXPECT_EQ(p.Type(), IParam::kTypeNone);
  EXPECT_STREQ(p.GetNameForHost(), "");
  EXPECT_STREQ(p.GetLabelForHost(), "");
  EXPECT_EQ(p.GetMin(), 0.0);
  EXPECT_EQ(p.GetMax(), 1.0);
  EXPECT_EQ(p.GetStep(), 1.0);
  EXPECT_EQ(p.GetDefault(), 0.0);
  EXPECT_EQ(p.GetNDisplayTexts(), 0);
  // Any kind but the continuous one rounds to the step: the switch is 0 or 1.
  EXPECT_EQ(p.FromNormalizedParam(0.7), 1.0);
}

TEST_F(ParamTableTest, DisplayTexts) {
  struct Case {
    int idx;
    double value;
    bool normalized;
    const char* text;
  };
  const Case cases[] = {
      {BandParamIndex(0, kBandSlope), 0, false, " 6 dB"},
      {BandParamIndex(3, kBandSlope), 15, false, "96 dB"},
      {BandParamIndex(2, kBandType), 9, false, "D - Peak"},
      {BandParamIndex(2, kBandType), 0, false, "A - Peak"},
      {kParamGUIScale, 2, false, "100%"},
      {kParamFilterMode, 0, false, "Zero Latency"},
      {kParamAnalyzerSpeed, 9999, false, "AVG"},
      {kParamAnalyzerSpeed, 1.0, true, "AVG"},
      {kParamAnalyzerSpeed, 1000, false, "1000"},
      {kParamAnalyzerSpeed, 0.0, true, "1"},  // the log shape starts at the step
      {BandParamIndex(6, kBandFreq), 1000.0, false, "1000.000"},
      {BandParamIndex(6, kBandFreq), 0.0, true, "10.000"},
      {BandParamIndex(6, kBandFreq), 1.0, true, "48000.000"},
      {BandParamIndex(0, kBandGain), -3.5, false, "-3.50"},
      {BandParamIndex(0, kBandQ), 0.7, false, "0.700"},
      {kParamDBOffset, -12.25, false, "-12.2"},
      {kParamOutputGain, 6.0, false, "6.0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Display(Param(c.idx), c.value, c.normalized), c.text) << c.idx << " at " << c.value;
  }
  // The seventh band's default frequency, as a host shows it.
  const IParam& freq7 = Param(BandParamIndex(6, kBandFreq));
  EXPECT_EQ(Display(freq7, freq7.Value()), "1000.000");
}

TEST_F(ParamTableTest, LogarithmicCurves) {
  // The log shape is a power curve whose exponent is the number of decades
  // the range spans: min + (max - min) x n^decades.
  struct Case {
    int idx;
    double min, max;
  };
  const Case cases[] = {{BandParamIndex(0, kBandFreq), 10.0, 48000.0},
                        {BandParamIndex(5, kBandQ), 0.01, 100.0},
                        {kParamAnalyzerSpeed, 1.0, 9999.0}};
  for (const Case& c : cases) {
    const IParam& p = Param(c.idx);
    const double decades = std::log10(c.max / c.min);
    for (double n : {0.1, 0.5, 0.9}) {
      const double v = c.min + (c.max - c.min) * std::pow(n, decades);
      EXPECT_NEAR(p.FromNormalizedParam(n), v, 1e-9 * c.max) << c.idx << " at " << n;
      EXPECT_NEAR(p.ToNormalizedParam(v), n, 1e-12) << c.idx;
    }
  }
  // Linear doubles stay linear.
  EXPECT_NEAR(Param(kParamOutputGain).FromNormalizedParam(0.75), 24.0, 1e-12);
}

TEST_F(ParamTableTest, DefinedNamesAreUnique) {
  // Presets and the XML state find parameters by name, first match wins.
  std::set<std::string> names;
  for (int i = 0; i < kNumParams; ++i) {
    if (i == kParamDeltaSpectrum) continue;
    const std::string name = Param(i).GetNameForHost();
    EXPECT_FALSE(name.empty()) << i;
    EXPECT_TRUE(names.insert(name).second) << "duplicate " << name;
  }
}

TEST(ParamTableDefaults, TakenFromTheMirrors) {
  ParamMirrors m;
  m.osFactor = 4;
  m.filterMode = 5;
  m.bandType[3] = 12;
  m.bandFreq[3] = 123.0;
  m.bandGain[11] = -6.5;
  m.analyzerSpeedMs = 250.0;
  m.showCurve[kChannelSide] = 1;
  TestPlug plug(kNumParams, "1-1 2-2");
  InitParams(plug, m);
  EXPECT_EQ(plug.GetParam(kParamOSMode)->GetDefault(), 2.0);  // factor 4 is "4x"
  EXPECT_EQ(plug.GetParam(kParamFilterMode)->GetDefault(), 5.0);
  EXPECT_EQ(plug.GetParam(BandParamIndex(3, kBandType))->GetDefault(), 12.0);
  EXPECT_EQ(plug.GetParam(BandParamIndex(3, kBandFreq))->GetDefault(), 123.0);
  EXPECT_EQ(plug.GetParam(BandParamIndex(11, kBandGain))->GetDefault(), -6.5);
  EXPECT_EQ(plug.GetParam(kParamAnalyzerSpeed)->GetDefault(), 250.0);
  EXPECT_EQ(plug.GetParam(kParamShowCurveSide)->GetDefault(), 1.0);

  m.osFactor = 2;
  InitParams(plug, m);
  EXPECT_EQ(plug.GetParam(kParamOSMode)->GetDefault(), 1.0);
  // Defining again replaces the texts rather than appending to them.
  EXPECT_EQ(plug.GetParam(kParamOSMode)->GetNDisplayTexts(), 3);
}

TEST(ParamNameTableRows, OrderIndicesKindsAndFormats) {
  ASSERT_EQ(sizeof ParamNameTable / sizeof ParamNameTable[0], 86u);
  EXPECT_STREQ(ParamNameTable[0].mName, "kos_mode");
  EXPECT_EQ(ParamNameTable[0].mParamIdx, 1);
  EXPECT_EQ(ParamNameTable[0].mKind, 3);
  EXPECT_STREQ(ParamNameTable[1].mName, "kFilterMode");
  EXPECT_EQ(ParamNameTable[1].mParamIdx, 3);
  EXPECT_EQ(ParamNameTable[1].mKind, 3);

  const char* fields[7] = {"Active", "Type", "Source", "Slope", "Gain", "Freq", "Q"};
  const int kinds[7] = {2, 3, 3, 3, 4, 4, 4};
  const char* formats[7] = {"%d", "%d", "%d", "%d", "%.2lf", "%.3lf", "%.3lf"};
  for (int b = 0; b < 12; ++b) {
    for (int k = 0; k < 7; ++k) {
      const ParamNameRecord& row = ParamNameTable[2 + 7 * b + k];
      const std::string name = std::string("kFilter_") + fields[k] + "+" + std::to_string(b) + "*FILTER_PARAM";
      EXPECT_EQ(row.mName, name);
      EXPECT_EQ(row.mParamIdx, 4 + 8 * b + k);
      EXPECT_EQ(row.mKind, kinds[k]);
      EXPECT_STREQ(row.mFormat, formats[k]);
    }
  }
  EXPECT_STREQ(ParamNameTable[85].mName, "kFilter_Q+11*FILTER_PARAM");
}

TEST_F(ParamTableTest, FlaggedSetIsWhatPresetsCarry) {
  for (int i = 0; i < kNumParams; ++i) EXPECT_TRUE(Param(i).IsFlagged());  // as constructed
  FlagPresetParams(mPlug);
  int flagged = 0;
  for (int i = 0; i < kNumParams; ++i) {
    int band = -1, field = -1;
    const bool isBand = SplitBandParamIndex(i, &band, &field);
    const bool expected = i == kParamOSMode || i == kParamFilterMode || (isBand && field != kBandSolo);
    EXPECT_EQ(Param(i).IsFlagged(), expected) << i << " " << Param(i).GetNameForHost();
    flagged += Param(i).IsFlagged() ? 1 : 0;
  }
  EXPECT_EQ(flagged, kNumParamNameRecords);
}
