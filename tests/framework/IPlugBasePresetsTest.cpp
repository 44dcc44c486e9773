#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/IPlugBase.h"
#include "tests/framework/TestParams.h"
#include "tests/framework/TestPlug.h"

namespace {

struct MixedPlug : TestPlug {
  MixedPlug(bool xml, int nPresets) : TestPlug(kTestParams, "1-1", 0, kAPIRTAS, nPresets) {
    DefineMixedParams(*this);
    if (xml) UseXML(*this);
  }
};

// What a record holds, read back through a fresh plug-in of the same table.
std::vector<double> PresetValues(bool xml, const IPreset* preset) {
  MixedPlug reader(xml, 1);
  SetDistinctValues(reader, 99);
  EXPECT_GT(reader.UnserializeParams(&preset->mChunk, 0, false), 0);
  return ParamValues(reader);
}

std::vector<double> Defaults(const IPlugBase& plug) {
  std::vector<double> values;
  for (int i = 0; i < plug.NParams(); ++i) values.push_back(plug.GetParam(i)->GetDefault());
  return values;
}

}  // namespace

class PresetMakers : public ::testing::TestWithParam<bool> {};

TEST_P(PresetMakers, FillTheirTargetWithNameAndValues) {
  const bool xml = GetParam();
  struct Case {
    const char* what;
    std::function<bool(IPlugBase&)> make;
    int target;  // record that must hold the preset
    std::function<std::vector<double>(const IPlugBase&)> expected;
  };
  const int band = 2;  // an int variable in a pair must compile
  const std::vector<Case> cases = {
      {"MakePreset", [](IPlugBase& p) { return p.MakePreset("Made", ParamValues(p)); }, 1,
       [](const IPlugBase& p) { return ParamValues(p); }},
      {"MakeNextPresetFromNamedParams without pairs",
       [](IPlugBase& p) { return p.MakeNextPresetFromNamedParams("Made", {}); }, 1,
       [](const IPlugBase& p) { return ParamValues(p); }},
      {"MakeNextPresetFromNamedParams",
       [&](IPlugBase& p) { return p.MakeNextPresetFromNamedParams("Made", {{3, 250.5}, {band, 6}, {0, true}}); }, 1,
       [](const IPlugBase& p) {
         std::vector<double> v = ParamValues(p);
         v[3] = 250.5;
         v[2] = 6;
         v[0] = 1;
         return v;
       }},
      {"MakeDefaultPreset", [](IPlugBase& p) { return p.MakeDefaultPreset("Made"); }, 1, Defaults},
      {"MakePresetFromNamedParamsAt",
       [](IPlugBase& p) { return p.MakePresetFromNamedParamsAt(2, "Made", {{7, -1.5}}); }, 2,
       [](const IPlugBase& p) {
         std::vector<double> v = ParamValues(p);
         v[7] = -1.5;
         return v;
       }},
      {"FillPresetFromNamedParams",
       [](IPlugBase& p) { return p.FillPresetFromNamedParams(p.GetPreset(2), "Made", {{11, 3.25}}); }, 2,
       [](const IPlugBase& p) {
         std::vector<double> v = ParamValues(p);
         v[11] = 3.25;
         return v;
       }},
      {"FillPresetFromDefaults", [](IPlugBase& p) { return p.FillPresetFromDefaults(p.GetPreset(2), "Made"); }, 2,
       Defaults},
      {"MakePresetFromNamedParams",
       [](IPlugBase& p) { return p.MakePresetFromNamedParams("Made", {{kNamelessParam, 1}}); }, 3,
       [](const IPlugBase& p) {
         std::vector<double> v = ParamValues(p);
         v[kNamelessParam] = 1;
         return v;
       }},
  };
  for (const Case& c : cases) {
    MixedPlug plug(xml, 3);
    plug.GetPreset(0)->mInitialized = true;  // the next free record is 1
    SetDistinctValues(plug, 1);
    const std::vector<double> before = ParamValues(plug);
    ASSERT_TRUE(c.make(plug)) << c.what;
    EXPECT_EQ(ParamValues(plug), before) << c.what << ": a maker changes no live value";
    const IPreset* preset = plug.GetPreset(c.target);
    ASSERT_NE(preset, nullptr) << c.what;
    EXPECT_TRUE(preset->mInitialized) << c.what;
    EXPECT_STREQ(preset->mName, "Made") << c.what;
    EXPECT_EQ(preset->mAppended, c.target == 3) << c.what;
    EXPECT_EQ(PresetValues(xml, preset), c.expected(plug)) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(BinaryAndXML, PresetMakers, ::testing::Bool());

TEST(PresetMakers, BinaryRecordHoldsOneDoublePerParameter) {
  TestPlug plug(2, "1-1", 0, IPlugBase::kAPIRTAS, 1);
  plug.GetParam(0)->InitDouble("A", 1.0, -10, 10, 0.01);
  plug.GetParam(1)->InitDouble("B", 2.0, -10, 10, 0.01);
  ASSERT_TRUE(plug.MakeNextPresetFromNamedParams("P", {{1, -4.5}}));
  const ChunkBuffer& chunk = plug.GetPreset(0)->mChunk;
  ASSERT_EQ(chunk.Size(), 16);
  double values[2];
  std::memcpy(values, chunk.GetData(), 16);
  EXPECT_EQ(values[0], 1.0);
  EXPECT_EQ(values[1], -4.5);
}

TEST(PresetMakers, NoTargetChangesNothing) {
  MixedPlug plug(false, 1);
  plug.GetPreset(0)->mInitialized = true;
  EXPECT_FALSE(plug.MakePreset("X", {}));
  EXPECT_FALSE(plug.MakeNextPresetFromNamedParams("X", {}));
  EXPECT_FALSE(plug.MakeDefaultPreset("X"));
  EXPECT_FALSE(plug.MakePresetFromNamedParamsAt(1, "X", {}));
  EXPECT_FALSE(plug.MakePresetFromNamedParamsAt(-1, "X", {}));
  EXPECT_FALSE(plug.FillPresetFromNamedParams(nullptr, "X", {}));
  EXPECT_FALSE(plug.FillPresetFromDefaults(nullptr, "X"));
  EXPECT_EQ(plug.NPresets(), 1);
  EXPECT_STREQ(plug.GetPresetName(0), "empty 0");
  EXPECT_EQ(plug.GetPreset(0)->mChunk.Size(), 0);
}

TEST(PresetMakers, IndicesOutsideTheTableAreIgnored) {
  MixedPlug plug(false, 1);
  SetDistinctValues(plug, 2);
  std::vector<double> expected = ParamValues(plug);
  ASSERT_TRUE(plug.MakeNextPresetFromNamedParams(
      "P", {{-1, 5.0}, {kTestParams, 5.0}, {1 << 30, 5.0}, {3, 42.0}, {INT32_MIN, 5.0}}));
  expected[3] = 42.0;
  EXPECT_EQ(PresetValues(false, plug.GetPreset(0)), expected);
}

TEST(PresetMakers, UnsetMarkerIsComparedExactly) {
  const double marker = IPlugBase::kUnsetPresetValue;
  uint64_t bits = 0;
  std::memcpy(&bits, &marker, sizeof bits);
  EXPECT_EQ(bits, 0x3E7AD742AEBDA37DULL);

  MixedPlug plug(false, 1);
  SetDistinctValues(plug, 3);
  std::vector<double> expected = ParamValues(plug);
  ASSERT_TRUE(plug.MakeNextPresetFromNamedParams("P", {{3, 9.999e-08}, {7, 1e-07}}));
  expected[7] = 1e-07;  // only the marker itself stands for "not given"
  EXPECT_EQ(PresetValues(false, plug.GetPreset(0)), expected);
}

TEST(PresetMakers, MakePresetTakesCurrentValuesPastTheGivenOnes) {
  MixedPlug plug(false, 1);
  SetDistinctValues(plug, 4);
  std::vector<double> expected = ParamValues(plug);
  ASSERT_TRUE(plug.MakePreset("P", {1.0, 7.0}));
  expected[0] = 1.0;
  expected[1] = 7.0;
  EXPECT_EQ(PresetValues(false, plug.GetPreset(0)), expected);
}

TEST(PresetMakers, AppendedRecordJoinsTheEndOfTheList) {
  MixedPlug plug(false, 5);
  ASSERT_TRUE(plug.MakePresetFromNamedParams("Sixth", {}));
  ASSERT_EQ(plug.NPresets(), 6);
  EXPECT_STREQ(plug.GetPresetName(5), "Sixth");
  EXPECT_TRUE(plug.GetPreset(5)->mAppended);
  EXPECT_FALSE(plug.GetPreset(4)->mAppended);
}

TEST(PresetNames, AreCutToTheirFieldWhereverTheyComeFrom) {
  MixedPlug plug(true, 3);
  const std::string longName(300, 'x');
  plug.SetPresetName(0, longName.c_str());
  ASSERT_TRUE(plug.MakePresetFromNamedParamsAt(1, longName.c_str(), {}));
  plug.SetPresetName(2, "short");
  for (int i = 0; i < 2; ++i) EXPECT_EQ(std::string(plug.GetPresetName(i)), std::string(255, 'x')) << i;
  plug.SetPresetName(7, "ignored");
  EXPECT_STREQ(plug.GetPresetName(7), "");
  EXPECT_STREQ(plug.GetPresetName(-1), "");
  EXPECT_STREQ(plug.GetPresetName(2), "short");
}

class RestorePresetTest : public ::testing::TestWithParam<bool> {};

TEST_P(RestorePresetTest, LoadsARecordAndMakesItCurrent) {
  MixedPlug plug(GetParam(), 3);
  SetDistinctValues(plug, 5);
  const std::vector<double> stored = ParamValues(plug);
  ASSERT_TRUE(plug.MakePresetFromNamedParamsAt(2, "Stored", {}));
  SetDistinctValues(plug, 6);
  plug.mChanged.clear();
  ASSERT_TRUE(plug.RestorePreset(2));
  EXPECT_EQ(ParamValues(plug), stored);
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 2);
  EXPECT_EQ(plug.mPresetsRestored, 1);
  EXPECT_EQ(plug.mChanged.size(), static_cast<size_t>(kTestParams));
  EXPECT_FALSE(plug.RestorePreset(3));
  EXPECT_FALSE(plug.RestorePreset(-1));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 2);
}

INSTANTIATE_TEST_SUITE_P(BinaryAndXML, RestorePresetTest, ::testing::Bool());

TEST(RestorePreset, EmptyRecordCapturesTheStateAsTheNextUserPreset) {
  MixedPlug plug(true, 4);
  plug.SetPresetName(0, "user preset 1");
  plug.SetPresetName(1, "my user preset 2");
  SetDistinctValues(plug, 7);
  const std::vector<double> captured = ParamValues(plug);
  ASSERT_TRUE(plug.RestorePreset(3));
  EXPECT_STREQ(plug.GetPresetName(3), "user preset 3");
  EXPECT_TRUE(plug.GetPreset(3)->mInitialized);
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 3);
  EXPECT_EQ(ParamValues(plug), captured);
  EXPECT_EQ(PresetValues(true, plug.GetPreset(3)), captured);
}

TEST(RestorePreset, RejectedPayloadKeepsCurrentIndexAndValues) {
  MixedPlug other(true, 1);
  other.SetPluginTexts("Kestrelbay", "Otherproduct", "1");
  MixedPlug plug(true, 2);
  ASSERT_TRUE(other.MakePresetFromNamedParamsAt(0, "Foreign", {}));
  plug.GetPreset(1)->mInitialized = true;
  plug.GetPreset(1)->mChunk = other.GetPreset(0)->mChunk;
  SetDistinctValues(plug, 8);
  const std::vector<double> before = ParamValues(plug);
  EXPECT_FALSE(plug.RestorePreset(1));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
  EXPECT_EQ(ParamValues(plug), before);
  EXPECT_EQ(plug.mPresetsRestored, 0);
}

namespace {

// A state writer that fails after writing part of its output.
struct FailingStatePlug : MixedPlug {
  FailingStatePlug() : MixedPlug(false, 3) {}
  bool SerializeState(ChunkBuffer* chunk) override {
    if (!mFail) return MixedPlug::SerializeState(chunk);
    chunk->Put(int32_t{123});
    return false;
  }
  bool mFail = true;
};

}  // namespace

TEST(RestorePreset, FailedCaptureLeavesTheEmptyRecordAsItWas) {
  FailingStatePlug plug;
  EXPECT_FALSE(plug.RestorePreset(1));
  const IPreset* preset = plug.GetPreset(1);
  EXPECT_FALSE(preset->mInitialized);
  EXPECT_STREQ(preset->mName, "empty 1");
  EXPECT_EQ(preset->mChunk.Size(), 0);
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
  EXPECT_EQ(plug.mPresetsRestored, 0);
}

TEST(ModifyCurrentPreset, StoresTheStateAndKeepsTheOldPayloadOnFailure) {
  FailingStatePlug plug;
  plug.mFail = false;
  SetDistinctValues(plug, 9);
  const std::vector<double> first = ParamValues(plug);
  plug.ModifyCurrentPreset("Kept");
  EXPECT_STREQ(plug.GetPresetName(0), "Kept");
  EXPECT_TRUE(plug.GetPreset(0)->mInitialized);
  EXPECT_EQ(PresetValues(false, plug.GetPreset(0)), first);

  SetDistinctValues(plug, 10);
  plug.ModifyCurrentPreset("");  // an empty name keeps the old one
  EXPECT_STREQ(plug.GetPresetName(0), "Kept");
  EXPECT_EQ(PresetValues(false, plug.GetPreset(0)), ParamValues(plug));

  const std::vector<double> second = ParamValues(plug);
  SetDistinctValues(plug, 11);
  plug.mFail = true;
  plug.ModifyCurrentPreset("Renamed");
  EXPECT_STREQ(plug.GetPresetName(0), "Kept");
  EXPECT_EQ(PresetValues(false, plug.GetPreset(0)), second);
}

TEST(PruneUninitializedPresets, KeepsTheOthersInOrderAndFollowsTheCurrentOne) {
  MixedPlug plug(false, 5);
  for (int i : {1, 3, 4}) ASSERT_TRUE(plug.MakePresetFromNamedParamsAt(i, ("P" + std::to_string(i)).c_str(), {}));
  ASSERT_TRUE(plug.RestorePreset(3));
  EXPECT_EQ(plug.GetNextUninitializedPreset(), plug.GetPreset(0));
  plug.PruneUninitializedPresets();
  ASSERT_EQ(plug.NPresets(), 3);
  EXPECT_STREQ(plug.GetPresetName(0), "P1");
  EXPECT_STREQ(plug.GetPresetName(1), "P3");
  EXPECT_STREQ(plug.GetPresetName(2), "P4");
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 1);
  EXPECT_EQ(plug.GetNextUninitializedPreset(), nullptr);
}
