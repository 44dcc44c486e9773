#include "tools/HostCalls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "framework/LatencyDelayLine.h"
#include "graphics/IControl.h"
#include "graphics/mac/IGraphicsMac.h"
#include "tests/framework/TestParams.h"
#include "tests/framework/TestPlug.h"
#include "tests/ScratchFolder.h"
#include "tools/CommandError.h"

namespace {

// The texts the test plug-in carries and its preset files must match.
constexpr const char* kHostVendor = "Kestrelbay";
constexpr const char* kHostProduct = "Brimlow";
constexpr const char* kHostVersion = "3.2.3";

// The mixed parameter table, the equaliser's identity texts, and presets.
class HostPlug : public TestPlug {
 public:
  explicit HostPlug(int nPresets = 0, int latency = 0) : TestPlug(kTestParams, "1-1 2-2", latency, kAPIRTAS, nPresets) {
    DefineMixedParams(*this);
    SetPluginTexts(kHostVendor, kHostProduct, kHostVersion);
  }
};

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const CommandError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(HostCalls, StartConnectsTheLeadingChannelsAndSetsRateAndBlock) {
  HostPlug plug;
  HostStart(plug, 96000.0, 137, 1);
  EXPECT_TRUE(plug.IsInChannelConnected(0));
  EXPECT_FALSE(plug.IsInChannelConnected(1));
  EXPECT_TRUE(plug.IsOutChannelConnected(0));
  EXPECT_FALSE(plug.IsOutChannelConnected(1));
  EXPECT_EQ(plug.GetSampleRate(), 96000.0);
  EXPECT_EQ(plug.GetBlockSize(), 137);
  HostStart(plug, 44100.0, 512, 2);
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  EXPECT_TRUE(plug.IsOutChannelConnected(1));
  EXPECT_NE(ErrorOf([&] { HostStart(plug, 44100.0, 512, 3); }).find("3 channels; the plug-in takes 1 to 2"),
            std::string::npos);
}

// Stored, shown on the control bound to it, announced: in that order, so
// OnParamChange sees the new value.
TEST(HostCalls, AParameterChangeReachesTheControlsAndThePlugIn) {
  HostPlug plug;
  auto* graphics = new IGraphicsMac(&plug, 100, 100, 60);
  auto* control = new IControl(&plug, IRECT(0, 0, 10, 10), 3);
  graphics->AttachControl(control);
  plug.AttachGraphics(graphics);

  HostSetParameter(plug, 3, 1200.0);
  EXPECT_EQ(plug.GetParam(3)->Value(), 1200.0);
  EXPECT_NEAR(control->GetValue(), (1200.0 + 100.0) / 20100.0, 1e-12);  // -100..20000, linear
  EXPECT_EQ(plug.mChanged, std::vector<int>{3});
  HostSetParameter(plug, 2, 5.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 5.0);
  EXPECT_EQ(plug.mChanged, (std::vector<int>{3, 2}));
  EXPECT_THROW(HostSetParameter(plug, kTestParams, 1.0), CommandError);
  EXPECT_THROW(HostSetParameter(plug, -1, 1.0), CommandError);
}

// As a preset file loads: the flagged parameters take the record's values,
// the rest keep whatever they held, whatever the record stores for them.
TEST(HostCalls, PresetsRestoreByIndexFlaggedOnlyAndEmptyRecordsAreRefused) {
  HostPlug plug(3);
  ASSERT_TRUE(plug.GetParam(1)->IsFlagged());
  ASSERT_FALSE(plug.GetParam(3)->IsFlagged());
  std::vector<double> values(kTestParams);
  for (int i = 0; i < kTestParams; ++i) values[i] = plug.GetParam(i)->GetDefault();
  values[3] = 440.0;
  values[1] = 42.0;
  ASSERT_TRUE(plug.MakePreset("Init", {}));
  ASSERT_TRUE(plug.MakePreset("Tuned", values));
  EXPECT_EQ(HostPresetNames(plug), (std::vector<std::string>{"Init", "Tuned", "empty 2"}));

  plug.GetParam(3)->Set(1234.5);
  plug.mChanged.clear();
  HostRestorePreset(plug, 1);
  EXPECT_EQ(plug.GetParam(1)->Value(), 42.0);
  EXPECT_EQ(plug.GetParam(3)->Value(), 1234.5);
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 1);
  EXPECT_EQ(plug.mPresetsRestored, 1);
  EXPECT_FALSE(plug.mChanged.empty());
  HostRestorePreset(plug, 0);
  EXPECT_EQ(plug.GetParam(1)->Value(), plug.GetParam(1)->GetDefault());
  EXPECT_EQ(plug.GetParam(3)->Value(), 1234.5);

  // The third record holds nothing: restoring it would capture the state.
  EXPECT_NE(ErrorOf([&] { HostRestorePreset(plug, 2); }).find("preset 2 holds no settings"), std::string::npos);
  EXPECT_FALSE(plug.GetPreset(2)->mInitialized);
  EXPECT_NE(ErrorOf([&] { HostRestorePreset(plug, 3); }).find("no preset 3"), std::string::npos);
}

// As the editor's preset bar loads a file: the flagged parameters take the
// file's values, the rest stay; in both payload forms.
TEST(HostCalls, PresetFilesSetOnlyTheFlaggedParameters) {
  for (const bool xml : {false, true}) {
    SCOPED_TRACE(xml ? "XML" : "binary");
    ScratchFolder folder;
    HostPlug plug(1);
    plug.SetXMLMode(xml);
    for (const int idx : {1, 2, 3}) plug.GetParam(idx)->Set(idx == 3 ? 1234.5 : 4.0);
    ASSERT_TRUE(plug.GetParam(1)->IsFlagged());
    ASSERT_TRUE(plug.GetParam(2)->IsFlagged());
    ASSERT_FALSE(plug.GetParam(3)->IsFlagged());  // every third is unflagged
    WDL_String dir((folder.Path() + "/").c_str()), name("mix"), ext(".tps"), presetName("mix"), data("");
    ASSERT_TRUE(plug.WritePresetXMLFile(WDL_String(kHostVendor), WDL_String(kHostProduct), WDL_String(kHostVersion),
                                        dir, name, ext, presetName, false, false, data));
    for (const int idx : {1, 2, 3}) plug.GetParam(idx)->Set(0.0);

    plug.mChanged.clear();
    HostLoadPresetFile(plug, folder.PathOf("mix.tps"));
    EXPECT_EQ(plug.GetParam(1)->Value(), 4.0);
    EXPECT_EQ(plug.GetParam(2)->Value(), 4.0);
    EXPECT_EQ(plug.GetParam(3)->Value(), 0.0);
    EXPECT_EQ(plug.mPresetsRestored, 1);
    EXPECT_FALSE(plug.mChanged.empty());
    EXPECT_EQ(plug.NPresets(), 1);  // the list is not touched

    // Another product's file, a file that is not XML, no file at all.
    plug.SetPluginTexts("Kestrelbay", "Other", "1.0");
    WDL_String otherDir((folder.Path() + "/").c_str()), otherName("other");
    ASSERT_TRUE(plug.WritePresetXMLFile(WDL_String("Kestrelbay"), WDL_String("Other"), WDL_String("1.0"), otherDir,
                                        otherName, ext, presetName, false, false, data));
    plug.SetPluginTexts(kHostVendor, kHostProduct, kHostVersion);
    EXPECT_NE(ErrorOf([&] { HostLoadPresetFile(plug, folder.PathOf("other.tps")); }).find("not a Brimlow preset file"),
              std::string::npos);
    FILE* junk = std::fopen(folder.PathOf("junk.tps").c_str(), "wb");
    ASSERT_NE(junk, nullptr);
    std::fputs("not xml at all", junk);
    std::fclose(junk);
    EXPECT_NE(ErrorOf([&] { HostLoadPresetFile(plug, folder.PathOf("junk.tps")); }).find("not a Brimlow preset file"),
              std::string::npos);
    EXPECT_NE(ErrorOf([&] { HostLoadPresetFile(plug, folder.PathOf("none.tps")); }).find("cannot open"),
              std::string::npos);
    EXPECT_EQ(plug.GetParam(1)->Value(), 4.0);
  }
}

TEST(HostCalls, StateRoundTripsByteForByte) {
  for (const bool xml : {false, true}) {
    SCOPED_TRACE(xml ? "XML" : "binary");
    HostPlug plug(1);
    plug.SetXMLMode(xml);
    plug.GetParam(3)->Set(777.25);
    plug.GetParam(6)->Set(4.0);
    const std::vector<uint8_t> saved = HostSaveState(plug);
    ASSERT_FALSE(saved.empty());

    HostPlug other(1);
    other.SetXMLMode(xml);
    HostRestoreState(other, saved, "s.bin");
    EXPECT_EQ(other.GetParam(3)->Value(), 777.25);
    EXPECT_EQ(other.GetParam(6)->Value(), 4.0);
    EXPECT_EQ(other.mChanged.size(), static_cast<size_t>(kTestParams));
    EXPECT_EQ(HostSaveState(other), saved);

    EXPECT_NE(ErrorOf([&] { HostRestoreState(other, {}, "e.bin"); }).find("e.bin: an empty state"),
              std::string::npos);
    // Cut short: the binary form misses values, the XML form its text.
    const std::vector<uint8_t> cut(saved.begin(), saved.begin() + static_cast<long>(saved.size() / 2));
    EXPECT_NE(ErrorOf([&] { HostRestoreState(other, cut, "cut.bin"); }).find("cut.bin: not a Brimlow state"),
              std::string::npos);
  }
}

// Processing runs the plug-in (here a copy); bypass runs the latency delay.
TEST(HostCalls, ProcessBlocksAndBypass) {
  constexpr int kLatency = 10;
  HostPlug plug(0, kLatency);
  plug.SetLatencyDelayLine(new LatencyDelayLine(2, 2, kLatency));
  HostStart(plug, 48000.0, 64, 2);
  std::vector<float> left(64), right(64), outLeft(64), outRight(64);
  for (int i = 0; i < 64; ++i) {
    left[i] = static_cast<float>(i + 1);
    right[i] = -static_cast<float>(i + 1);
  }
  float* in[] = {left.data(), right.data()};
  float* out[] = {outLeft.data(), outRight.data()};
  HostProcessBlock(plug, 2, false, in, out, 64);
  EXPECT_EQ(outLeft, left);
  EXPECT_EQ(outRight, right);
  HostProcessBlock(plug, 2, true, in, out, 64);
  for (int i = 0; i < 64; ++i) {
    // The delay line recorded the first block while processing.
    const float want = i < kLatency ? static_cast<float>(64 - kLatency + i + 1) : static_cast<float>(i - kLatency + 1);
    ASSERT_EQ(outLeft[i], want) << i;
    ASSERT_EQ(outRight[i], -want) << i;
  }
}

}  // namespace
