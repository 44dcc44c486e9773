#include "framework/IPlugBase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "framework/LatencyDelayLine.h"
#include "tests/framework/TestPlug.h"

namespace {

// Host-side float buffers for a plug-in's channels.
struct HostBuffers {
  HostBuffers(int channels, int frames) : data(channels, std::vector<float>(frames, 0.0f)) {
    for (auto& c : data) ptrs.push_back(c.data());
  }
  std::vector<std::vector<float>> data;
  std::vector<float*> ptrs;
};

void FillRamp(HostBuffers& buffers, float start) {
  for (size_t c = 0; c < buffers.data.size(); ++c) {
    for (size_t i = 0; i < buffers.data[c].size(); ++i) buffers.data[c][i] = start + 1000.0f * c + i;
  }
}

void ConnectAll(TestPlug& plug, int blockSize) {
  plug.SetInputChannelConnections(0, plug.NInChannels(), true);
  plug.SetOutputChannelConnections(0, plug.NOutChannels(), true);
  plug.SetBlockSize(blockSize);
}

void Render(TestPlug& plug, HostBuffers& in, HostBuffers& out, int frames, bool bypass = false) {
  plug.AttachInputBuffers(0, plug.NInChannels(), in.ptrs.data(), frames);
  plug.AttachOutputBuffers(0, plug.NOutChannels(), out.ptrs.data());
  if (bypass) {
    plug.PassThroughBuffers(frames);
  } else {
    plug.ProcessBuffers(frames);
  }
}

}  // namespace

TEST(IPlugBase, ChannelTextGivesRecordsAndChannelCounts) {
  struct Case { const char* text; int records; int in; int out; };
  const Case cases[] = {
      {"1-1 2-2", 2, 2, 2}, {"2-2", 1, 2, 2}, {"1-1 ", 2, 1, 1}, {"2-1", 1, 2, 1}, {nullptr, 0, 0, 0}, {"3", 1, 3, 0},
  };
  for (const Case& c : cases) {
    TestPlug plug(1, c.text);
    EXPECT_EQ(plug.NChannelIOs(), c.records) << (c.text ? c.text : "null");
    EXPECT_EQ(plug.NInChannels(), c.in);
    EXPECT_EQ(plug.NOutChannels(), c.out);
  }
  TestPlug trailing(1, "1-1 ");
  EXPECT_EQ(trailing.GetChannelIO(1)->mIn, 0);
  EXPECT_EQ(trailing.GetChannelIO(1)->mOut, 0);
}

TEST(IPlugBase, ConstructorNamesPresetsAndBoundsNames) {
  TestPlug plug(3, "1-1", 0, IPlugBase::kAPIRTAS, 3);
  ASSERT_EQ(plug.NPresets(), 3);
  EXPECT_STREQ(plug.GetPreset(0)->mName, "empty 0");
  EXPECT_STREQ(plug.GetPreset(2)->mName, "empty 2");
  EXPECT_FALSE(plug.GetPreset(2)->mInitialized);
  EXPECT_EQ(plug.GetPreset(3), nullptr);
  EXPECT_EQ(plug.GetParam(-1), nullptr);
  EXPECT_EQ(plug.GetParam(3), nullptr);
  EXPECT_EQ(plug.GetSampleRate(), 44100.0);
}

TEST(IPlugBase, DefaultProcessCopiesCommonChannelsAndZeroesTheRest) {
  for (const char* text : {"2-1", "1-2", "2-2"}) {
    TestPlug plug(1, text);
    ConnectAll(plug, 16);
    HostBuffers in(plug.NInChannels(), 16), out(plug.NOutChannels(), 16);
    FillRamp(in, 1.0f);
    for (auto& c : out.data) std::fill(c.begin(), c.end(), 7.0f);
    Render(plug, in, out, 16);
    for (int c = 0; c < plug.NOutChannels(); ++c) {
      for (int i = 0; i < 16; ++i) {
        const float expected = c < plug.NInChannels() ? in.data[c][i] : 0.0f;
        ASSERT_EQ(out.data[c][i], expected) << text << " channel " << c;
      }
    }
  }
}

TEST(IPlugBase, HostArrayAdvancesOnlyOverConnectedInputs) {
  TestPlug plug(1, "2-2");
  ConnectAll(plug, 8);
  plug.SetInputChannelConnections(0, 1, false);
  HostBuffers in(1, 8), out(2, 8);
  FillRamp(in, 5.0f);
  Render(plug, in, out, 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(out.data[0][i], 0.0f);  // the unconnected input reads silence
    EXPECT_EQ(out.data[1][i], in.data[0][i]);
  }
}

TEST(IPlugBase, DisconnectedInputForgetsItsLastAudio) {
  TestPlug plug(1, "1-1");
  ConnectAll(plug, 8);
  HostBuffers in(1, 8), out(1, 8);
  FillRamp(in, 1.0f);
  Render(plug, in, out, 8);
  plug.SetInputChannelConnections(0, 1, false);
  Render(plug, in, out, 8);
  for (float v : out.data[0]) EXPECT_EQ(v, 0.0f);
}

TEST(IPlugBase, HostBlocksLongerThanTheBlockSizeArePassedInPieces) {
  TestPlug plug(1, "2-2");
  ConnectAll(plug, 64);
  const int frames = 1000;
  HostBuffers in(2, frames), out(2, frames);
  FillRamp(in, 0.5f);
  Render(plug, in, out, frames);
  EXPECT_EQ(out.data, in.data);
  EXPECT_EQ(plug.GetBlockSize(), 64);
}

// Block sizes no scratch buffer can hold: 2^28 doubles and more pass the
// 2^31 - 1 bytes a buffer takes.
const int kUnholdableBlockSizes[] = {1 << 28, (1 << 28) + 1, 0x7fffffff};

TEST(IPlugBase, BlockSizeTheBuffersCannotHoldIsRefused) {
  // Remembers the longest slice the block frame hands over.
  struct SlicePlug : TestPlug {
    SlicePlug() : TestPlug(1, "2-2") {}
    void ProcessBlock(double** inputs, double** outputs, int nFrames) override {
      mLongest = std::max(mLongest, nFrames);
      TestPlug::ProcessBlock(inputs, outputs, nFrames);
    }
    int mLongest = 0;
  };
  for (int size : kUnholdableBlockSizes) {
    SlicePlug plug;
    ConnectAll(plug, 64);
    plug.SetBlockSize(size);
    EXPECT_EQ(plug.GetBlockSize(), 64) << size;

    // A long host block still goes through in pieces the buffers hold.
    const int frames = 1000;
    HostBuffers in(2, frames), out(2, frames);
    FillRamp(in, 0.5f);
    Render(plug, in, out, frames);
    EXPECT_EQ(out.data, in.data) << size;
    EXPECT_EQ(plug.mLongest, 64) << size;
  }
}

TEST(IPlugBase, BlockFrameWithoutABlockSizeItCanHoldRunsNothing) {
  // Never announced, and the host block is too long to size the buffers
  // for; no channel is connected, so no host memory of that length is needed.
  TestPlug plug(1, "1-1");
  plug.ProcessBuffers((1 << 28) + 1);
  plug.PassThroughBuffers((1 << 28) + 1);
  EXPECT_EQ(plug.GetBlockSize(), 0);
}

TEST(IPlugBase, BypassAfterProcessingEmitsTheInputDelayedByTheLatency) {
  const int latency = 64;
  TestPlug plug(1, "1-1", latency);
  plug.SetLatencyDelayLine(new LatencyDelayLine(1, 1, latency));
  ConnectAll(plug, 256);
  HostBuffers in(1, 256), out(1, 256);
  FillRamp(in, 1.0f);
  Render(plug, in, out, 256);  // records while processing

  HostBuffers in2(1, 256), out2(1, 256);
  FillRamp(in2, 5000.0f);
  Render(plug, in2, out2, 256, true);
  for (int i = 0; i < latency; ++i) ASSERT_EQ(out2.data[0][i], in.data[0][256 - latency + i]) << i;
  for (int i = latency; i < 256; ++i) ASSERT_EQ(out2.data[0][i], in2.data[0][i - latency]) << i;
}

TEST(IPlugBase, ZeroLatencyBypassCopiesDirectly) {
  TestPlug plug(1, "1-1", 32);
  plug.SetLatencyDelayLine(new LatencyDelayLine(1, 1, 32));
  ConnectAll(plug, 16);
  plug.SetLatency(0);
  EXPECT_EQ(plug.GetLatencyDelayLine()->GetLength(), 0);
  HostBuffers in(1, 16), out(1, 16);
  FillRamp(in, 3.0f);
  Render(plug, in, out, 16, true);
  EXPECT_EQ(out.data, in.data);
}

TEST(IPlugBase, SetParameterFromGuiRoundsAndTellsTheHostTheGivenValue) {
  TestPlug plug(2, "1-1");
  plug.GetParam(0)->InitEnum("Mode", 0, 7);
  plug.GetParam(1)->InitDouble("Gain", 0.0, -12.0, 12.0, 0.1);
  plug.SetParameterFromGUI(0, 0.5);
  EXPECT_EQ(plug.GetParam(0)->Value(), 3.0);
  ASSERT_EQ(plug.mHostValues.size(), 1u);
  EXPECT_EQ(plug.mHostValues[0], std::make_pair(0, 0.5));
  EXPECT_EQ(plug.mChanged, std::vector<int>{0});

  plug.SetParameterFromGUI1(1, 6.0, false);  // no OnParamChange
  EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), 6.0);
  EXPECT_DOUBLE_EQ(plug.mHostValues[1].second, 0.75);
  EXPECT_EQ(plug.mChanged.size(), 1u);

  plug.NotifyHostAllParamValues();
  EXPECT_EQ(plug.mHostValues.size(), 4u);
}

TEST(IPlugBase, BadIndicesAreIgnored) {
  TestPlug plug(2, "1-1");
  plug.SetParameterFromGUI(-1, 0.5);
  plug.SetParameterFromGUI(2, 0.5);
  plug.SetParameterFromGUI1(99, 0.5, true);
  EXPECT_TRUE(plug.mHostValues.empty());
  EXPECT_TRUE(plug.mChanged.empty());

  EXPECT_FALSE(plug.IsInChannelConnected(-1));
  EXPECT_FALSE(plug.IsInChannelConnected(1));
  EXPECT_FALSE(plug.IsOutChannelConnected(5));
  plug.SetInputChannelConnections(-3, 100, true);  // clipped to the channels
  EXPECT_TRUE(plug.IsInChannelConnected(0));
  plug.SetOutputChannelConnections(0, 0x7fffffff, true);
  EXPECT_TRUE(plug.IsOutChannelConnected(0));
}
