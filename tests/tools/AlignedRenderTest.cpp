#include "tools/AlignedRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <string>
#include <vector>

namespace {

// A plain delay of `delay` frames per channel that, like the plug-in,
// tells its latency only once its first block has run and, like the
// plug-in while its oversampling converters fill, silences every block
// that starts before it has taken `fill` frames (fill <= delay).
class DelayProcessor : public BlockProcessor {
 public:
  DelayProcessor(int channels, int delay, int fill = 0)
      : mLines(static_cast<size_t>(channels), std::deque<float>(delay, 0.0f)), mDelay(delay), mFill(fill) {}

  void ProcessBlock(float** inputs, float** outputs, int nFrames) override {
    const bool filling = mTaken < mFill;
    mBlocks.push_back(nFrames);
    mTaken += nFrames;
    for (size_t c = 0; c < mLines.size(); ++c) {
      for (int i = 0; i < nFrames; ++i) {
        mLines[c].push_back(inputs[c][i]);
        outputs[c][i] = filling ? 0.0f : mLines[c].front();
        mLines[c].pop_front();
      }
    }
  }
  int Latency() override { return mBlocks.empty() ? 0 : mDelay; }

  std::vector<int> mBlocks;

 private:
  std::vector<std::deque<float>> mLines;
  int mDelay;
  int mFill;
  long mTaken = 0;
};

struct RenderCase {
  int delay, blockSize, frames, channels, fill;
};

void PrintTo(const RenderCase& c, std::ostream* os) {
  *os << "delay " << c.delay << ", block " << c.blockSize << ", " << c.frames << " frames";
}

std::vector<std::vector<float>> Signal(int channels, int frames) {
  std::vector<std::vector<float>> s(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames)));
  for (int c = 0; c < channels; ++c) {
    for (int i = 0; i < frames; ++i) s[c][i] = static_cast<float>(std::sin(0.37 * i + c) * (1.0 + c));
  }
  return s;
}

// Pushes the signal in pieces of 333 frames, as a file's windows arrive.
std::vector<std::vector<double>> Render(DelayProcessor& p, const std::vector<std::vector<float>>& in, int blockSize,
                                        bool compensate, int* appliedLatency) {
  const int channels = static_cast<int>(in.size());
  std::vector<std::vector<double>> out(in.size());
  AlignedRender render(p, channels, blockSize, compensate, [&](const double* const* ch, size_t n) {
    for (int c = 0; c < channels; ++c) out[c].insert(out[c].end(), ch[c], ch[c] + n);
    return true;
  });
  const size_t frames = in[0].size();
  for (size_t at = 0; at < frames; at += 333) {
    std::vector<const float*> ptrs;
    for (const auto& ch : in) ptrs.push_back(ch.data() + at);
    EXPECT_TRUE(render.Push(ptrs.data(), std::min<size_t>(333, frames - at)));
  }
  EXPECT_TRUE(render.Finish());
  EXPECT_EQ(render.FramesIn(), frames);
  EXPECT_EQ(render.FramesOut(), frames);
  *appliedLatency = render.AppliedLatency();
  return out;
}

class AlignedRenderCases : public ::testing::TestWithParam<RenderCase> {};

// The pre-roll a host that lines up must run: the latency in whole blocks,
// at least one.
int PreRollFor(const RenderCase& c) {
  return std::max((c.delay + c.blockSize - 1) / c.blockSize, 1) * c.blockSize;
}

TEST_P(AlignedRenderCases, CompensatedOutputEqualsTheInputFrameForFrame) {
  const RenderCase c = GetParam();
  const auto in = Signal(c.channels, c.frames);
  DelayProcessor p(c.channels, c.delay, c.fill);
  int latency = -1;
  const auto out = Render(p, in, c.blockSize, true, &latency);
  if (c.frames > 0) {
    EXPECT_EQ(latency, c.delay);
  }
  for (int ch = 0; ch < c.channels; ++ch) {
    ASSERT_EQ(out[ch].size(), in[ch].size());
    for (int i = 0; i < c.frames; ++i) ASSERT_EQ(out[ch][i], in[ch][i]) << "channel " << ch << " frame " << i;
  }
  // Host blocks: all full but the last; the input's first frame starts a block.
  for (size_t b = 0; b + 1 < p.mBlocks.size(); ++b) ASSERT_EQ(p.mBlocks[b], c.blockSize) << b;
  int fed = 0;
  for (int n : p.mBlocks) fed += n;
  EXPECT_EQ(fed, c.frames > 0 ? PreRollFor(c) + c.frames + c.delay : 0);
}

TEST_P(AlignedRenderCases, UncompensatedOutputKeepsTheDelayTheStartAndTheLength) {
  const RenderCase c = GetParam();
  const auto in = Signal(c.channels, c.frames);
  DelayProcessor p(c.channels, c.delay, c.fill);
  int latency = -1;
  const auto out = Render(p, in, c.blockSize, false, &latency);
  EXPECT_EQ(latency, 0);
  // Blocks that start before `fill` frames were taken come out silent.
  const int silent = c.fill == 0 ? 0 : (c.fill + c.blockSize - 1) / c.blockSize * c.blockSize;
  for (int ch = 0; ch < c.channels; ++ch) {
    ASSERT_EQ(out[ch].size(), in[ch].size());
    for (int i = 0; i < c.frames; ++i) {
      const double want = i < c.delay || i < silent ? 0.0 : in[ch][i - c.delay];
      ASSERT_EQ(out[ch][i], want) << "channel " << ch << " frame " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, AlignedRenderCases,
    ::testing::Values(RenderCase{0, 512, 10007, 2, 0}, RenderCase{1, 1, 500, 1, 0}, RenderCase{100, 64, 1000, 2, 0},
                      RenderCase{700, 512, 10007, 2, 0}, RenderCase{5000, 512, 3000, 1, 0},
                      RenderCase{513, 512, 512, 2, 0}, RenderCase{3, 4096, 50, 2, 0}, RenderCase{7, 512, 1, 1, 0},
                      RenderCase{9, 512, 0, 2, 0},
                      // Start-up silence as long as the delay, with blocks
                      // shorter and longer than it, and one frame long.
                      RenderCase{3070, 512, 9000, 2, 3070}, RenderCase{3070, 4096, 9000, 2, 3070},
                      RenderCase{3070, 65536, 70000, 1, 3070}, RenderCase{300, 1, 1000, 1, 300},
                      RenderCase{1000, 256, 100, 2, 1000}, RenderCase{600, 500, 2000, 2, 450}),
    [](const ::testing::TestParamInfo<RenderCase>& info) {
      const RenderCase& c = info.param;
      return "Delay" + std::to_string(c.delay) + "Block" + std::to_string(c.blockSize) + "Frames" +
             std::to_string(c.frames) + (c.channels == 1 ? "Mono" : "Stereo") +
             (c.fill > 0 ? "Fill" + std::to_string(c.fill) : std::string());
    });

// A sink that fails stops the render: nothing more is processed or handed on.
TEST(AlignedRender, StopsWhenTheSinkFails) {
  DelayProcessor p(1, 0);
  int calls = 0;
  AlignedRender render(p, 1, 100, true, [&](const double* const*, size_t) { return ++calls < 2; });
  const std::vector<float> in(1000, 0.5f);
  const float* ptrs[] = {in.data()};
  EXPECT_FALSE(render.Push(ptrs, in.size()));
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(p.mBlocks.size(), 3u);  // the pre-roll's block, then two
  EXPECT_FALSE(render.Push(ptrs, in.size()));
  EXPECT_FALSE(render.Finish());
  EXPECT_EQ(calls, 2);
}

}  // namespace
