#include "framework/LatencyDelayLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Runs one block of a ramp that starts at `first` through a line of one or
// two channels and returns what came out of channel 0.
std::vector<double> RunRamp(LatencyDelayLine& line, double first, int nFrames) {
  std::vector<double> in(nFrames), out0(nFrames, -1.0), out1(nFrames, -1.0);
  for (int i = 0; i < nFrames; ++i) in[i] = first + i;
  double* ins[2] = {in.data(), in.data()};
  double* outs[2] = {out0.data(), out1.data()};
  line.Run(ins, outs, nFrames);
  return out0;
}

}  // namespace

TEST(LatencyDelayLine, ReserveKeepsTheHeldDelay) {
  LatencyDelayLine line(1, 1, 3);
  RunRamp(line, 1.0, 2);  // holds 1, 2 and one zero
  ASSERT_TRUE(line.Reserve(196608));
  EXPECT_EQ(line.GetLength(), 3);
  const std::vector<double> out = RunRamp(line, 3.0, 4);
  const std::vector<double> expected = {0.0, 1.0, 2.0, 3.0};
  EXPECT_EQ(out, expected);
}

TEST(LatencyDelayLine, LengthsWithinTheReservationNeverMoveTheRing) {
  LatencyDelayLine line(2, 2, 16);
  ASSERT_TRUE(line.Reserve(50000));
  line.SetLength(50000);
  const double* storage = line.GetStorage();
  ASSERT_NE(storage, nullptr);
  for (int length : {1, 49152, 7, 50000, 4096}) {
    line.SetLength(length);
    EXPECT_EQ(line.GetStorage(), storage) << length;
    EXPECT_EQ(line.GetLength(), length);
  }
  // The ring still delays by its length after all the changes.
  line.SetLength(5);
  const std::vector<double> out = RunRamp(line, 1.0, 8);
  const std::vector<double> expected = {0, 0, 0, 0, 0, 1, 2, 3};
  EXPECT_EQ(out, expected);
}

TEST(LatencyDelayLine, ReserveRefusesWhatCannotBeAddressed) {
  LatencyDelayLine line(2, 2, 8);
  EXPECT_FALSE(line.Reserve(0x7fffffff));
  EXPECT_EQ(line.GetLength(), 8);
  EXPECT_TRUE(line.Reserve(0));
  EXPECT_TRUE(line.Reserve(4));  // below the current length: nothing to do
  EXPECT_EQ(line.GetLength(), 8);
}

// Blocks of every size, recorded or run, against a delay kept frame by
// frame: what comes out is what went in `length` frames before, per
// channel, across wraps of the ring and with the output in place of the
// input.
TEST(LatencyDelayLine, DelaysEachChannelByItsLengthAcrossBlocksOfAnySize) {
  for (int length : {1, 3, 64, 100}) {
    for (int block : {1, 2, 63, 64, 65, 250}) {
      LatencyDelayLine line(2, 2, length);
      std::vector<double> history[2];
      for (auto& h : history) h.assign(static_cast<size_t>(length), 0.0);
      double next = 1.0;
      for (int call = 0; call < 6; ++call) {
        std::vector<double> a(block), b(block);
        for (int i = 0; i < block; ++i) {
          a[i] = next;
          b[i] = -next;
          next += 1.0;
        }
        for (int i = 0; i < block; ++i) {
          history[0].push_back(a[i]);
          history[1].push_back(b[i]);
        }
        double* io[2] = {a.data(), b.data()};
        // Every third call only records, as a processing plug-in does.
        if (call % 3 == 1) {
          line.Record(io, block);
          continue;
        }
        line.Run(io, io, block);
        const size_t start = history[0].size() - static_cast<size_t>(block) - static_cast<size_t>(length);
        for (int i = 0; i < block; ++i) {
          ASSERT_EQ(a[i], history[0][start + i]) << length << " " << block << " " << call << " " << i;
          ASSERT_EQ(b[i], history[1][start + i]) << length << " " << block << " " << call << " " << i;
        }
      }
    }
  }
}
