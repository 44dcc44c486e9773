#include "rtas/binding/IPlugRTAS.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/LatencyDelayLine.h"
#include "rtas/library/CPluginControl_Continuous.h"
#include "tests/rtas/binding/RtasTestPlug.h"

TEST(IPlugRTAS, ConstructionConnectsChannelsAndMakesTheDelayLine) {
  RtasTestPlug plug(128);
  EXPECT_EQ(plug.GetAPI(), IPlugBase::kAPIRTAS);
  EXPECT_EQ(plug.NInChannels(), 2);
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  EXPECT_TRUE(plug.IsOutChannelConnected(1));
  EXPECT_EQ(plug.GetBlockSize(), 1024);
  ASSERT_NE(plug.GetLatencyDelayLine(), nullptr);
  EXPECT_EQ(plug.GetLatencyDelayLine()->GetLength(), 128);
  EXPECT_EQ(plug.GetUniqueID(), 0x4B423330);
  EXPECT_EQ(plug.GetProcess(), nullptr);
}

TEST(IPlugRTAS, HostIsProToolsAtTheProcessVersionOrTen) {
  RtasTestPlug alone;
  EXPECT_EQ(alone.GetHost(), 2);
  EXPECT_EQ(alone.GetHostVersion(), 10);
  EXPECT_STREQ(alone.GetHostName().Get(), "ProTools");

  RtasTestPlug hosted;
  FakeProcess process(hosted);
  hosted.AttachProcess(&process);
  EXPECT_EQ(hosted.GetHost(), 2);
  EXPECT_EQ(hosted.GetHostVersion(), 0x0A0300);
  // Once known, the host is not asked again.
  process.hostVersion = 0x0B0000;
  hosted.GetHost();
  EXPECT_EQ(hosted.GetHostVersion(), 0x0A0300);
}

TEST(IPlugRTAS, AttachProcessPrunesPresetsAndTakesTheHostBlockSize) {
  RtasTestPlug plug(0, 3);
  plug.MakeDefaultPreset("only");
  ASSERT_EQ(plug.NPresets(), 3);
  FakeProcess process(plug);
  process.blockSize = 96;
  plug.AttachProcess(&process);
  EXPECT_EQ(plug.NPresets(), 1);
  EXPECT_EQ(plug.GetBlockSize(), 96);
}

TEST(IPlugRTAS, SideChainConnectsOneMoreInput) {
  struct Case {
    bool sideChain;
    int inputs, outputs;
    bool in0, in1, out0, out1;
  };
  const Case cases[] = {
      {false, 1, 1, true, false, true, false},
      {true, 1, 1, true, true, true, false},
      {false, 2, 2, true, true, true, true},
      {false, 0, 2, false, false, true, true},
  };
  for (const Case& c : cases) {
    RtasTestPlug plug;
    plug.SetSideChainConnected(c.sideChain);
    plug.ConnectChannels(c.inputs, c.outputs);
    EXPECT_EQ(plug.IsInChannelConnected(0), c.in0);
    EXPECT_EQ(plug.IsInChannelConnected(1), c.in1);
    EXPECT_EQ(plug.IsOutChannelConnected(0), c.out0);
    EXPECT_EQ(plug.IsOutChannelConnected(1), c.out1);
  }
}

TEST(IPlugRTAS, NotificationsReachControlPPlusTwoInOrder) {
  RtasTestPlug plug;
  FakeProcess process(plug);
  plug.AttachProcess(&process);
  plug.NotifyHostAllParams();
  const std::vector<std::string> expected = {"touch 2",   "value 2", "release 2", "touch 3", "value 3",
                                             "release 3", "touch 4", "value 4",   "release 4"};
  EXPECT_EQ(process.calls, expected);

  // A parameter without a control tells the host nothing.
  process.calls.clear();
  plug.NotifyHostParamBegin(7);
  plug.NotifyHostParamValue(7);
  plug.NotifyHostParamEnd(7);
  EXPECT_TRUE(process.calls.empty());
}

TEST(IPlugRTAS, ParameterValuesTravelToTheControlsAndBack) {
  RtasTestPlug plug;
  FakeProcess process(plug);
  plug.AttachProcess(&process);
  plug.GetParam(0)->Set(-6.5);
  plug.GetParam(1)->Set(2);
  plug.GetParam(2)->Set(7);
  for (int p = 0; p < 3; ++p) plug.NotifyHostParamValue(p, 0.123);  // the normalised value plays no part
  // Reset the parameters, then let the controls bring the values back.
  plug.GetParam(0)->Set(0.0);
  plug.GetParam(1)->Set(0);
  plug.GetParam(2)->Set(0);
  for (int control = 2; control <= 4; ++control) plug.SetParameterFromHost(control);
  EXPECT_NEAR(plug.GetParam(0)->Value(), -6.5, 48.0 / 4294967295.0 * 2);
  EXPECT_EQ(plug.GetParam(1)->Value(), 2.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 7.0);
  EXPECT_EQ(plug.changes, (std::vector<int>{0, 1, 2}));
}

TEST(IPlugRTAS, AHostValueBeyondTheRangeIsClamped) {
  RtasTestPlug plug;
  FakeProcess process(plug);
  plug.AttachProcess(&process);
  // A control of a wider range than the parameter's stands in for a host
  // value past the maximum.
  IParam wide;
  wide.InitDouble("Gain", 0.0, -48.0, 48.0, 0.1);
  process.controls[0] = paramcontrols::MakeParamControl(wide, 0, true);
  auto* control = static_cast<CPluginControl_Continuous*>(process.controls[0].get());
  control->SetValue(control->DoubleToValue(40.0));
  plug.SetParameterFromHost(2);
  EXPECT_EQ(plug.GetParam(0)->Value(), 24.0);
  control->SetValue(control->DoubleToValue(-40.0));
  plug.SetParameterFromHost(2);
  EXPECT_EQ(plug.GetParam(0)->Value(), -24.0);
  // Control 1 and numbers past the parameters are not parameters.
  plug.changes.clear();
  plug.SetParameterFromHost(1);
  plug.SetParameterFromHost(5);
  EXPECT_TRUE(plug.changes.empty());
}

TEST(IPlugRTAS, ResizeAndStateChangesGoToTheProcess) {
  RtasTestPlug plug;
  EXPECT_FALSE(plug.ResizeGraphics(10, 20, true));  // no process: the plug-in's own to do
  FakeProcess process(plug);
  plug.AttachProcess(&process);
  EXPECT_TRUE(plug.ResizeGraphics(1090, 790, true));
  plug.MarkStateChanged();
  EXPECT_EQ(process.calls, (std::vector<std::string>{"resize 1090x790", "bump"}));
}

TEST(IPlugRTAS, TransportWithoutAProcessIsStoppedAndLeavesOutputsAlone) {
  RtasTestPlug plug;
  int numerator = -1, denominator = -1;
  plug.GetTimeSig(&numerator, &denominator);
  EXPECT_EQ(numerator, -1);
  EXPECT_EQ(denominator, -1);
  EXPECT_EQ(plug.GetTempo(), 0.0);
  EXPECT_EQ(plug.GetSamplePos(), 0);
}

TEST(IPlugRTAS, BlocksLongerThanTheBlockSizeRunInSlices) {
  RtasTestPlug plug;
  FakeProcess process(plug);
  process.blockSize = 32;
  plug.AttachProcess(&process);
  plug.ConnectChannels(2, 2);
  const int frames = 100;
  std::vector<float> in0(frames), in1(frames), out0(frames), out1(frames);
  for (int i = 0; i < frames; ++i) {
    in0[i] = static_cast<float>(i) / frames;
    in1[i] = -static_cast<float>(i) / frames;
  }
  float* inputs[] = {in0.data(), in1.data()};
  float* outputs[] = {out0.data(), out1.data()};

  plug.ProcessAudio(inputs, outputs, frames);
  EXPECT_EQ(plug.blockSizes, (std::vector<int>{32, 32, 32, 4}));
  for (int i = 0; i < frames; ++i) {
    ASSERT_EQ(out0[i], 2.0f * in0[i]);
    ASSERT_EQ(out1[i], 2.0f * in1[i]);
  }

  plug.blockSizes.clear();
  plug.ProcessAudioBypassed(inputs, outputs, frames);
  EXPECT_TRUE(plug.blockSizes.empty());
  for (int i = 0; i < frames; ++i) {
    ASSERT_EQ(out0[i], in0[i]);
    ASSERT_EQ(out1[i], in1[i]);
  }
}
