#include "tools/WavWriter.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "plugin/controller/AudioFileReader.h"
#include "tests/ScratchFolder.h"

namespace {

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U32At(const std::vector<unsigned char>& b, size_t at) {
  return uint32_t{b[at]} | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) | (uint32_t{b[at + 3]} << 24);
}
uint16_t U16At(const std::vector<unsigned char>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
// Full scale, beyond it both ways, values between steps, tiny values, NaN.
const std::vector<double> kSamples = {0.0,      0.5,       -0.5,           1.0,           -1.0,          1.5,    -2.0,
                                      0.999999, -0.999999, 1e-6,           -1e-6,         0.3,           -0.123, kNaN,
                                      1e300,    -1e300,    0.25 / 32768.0, 1.5 / 32768.0, -2.5 / 32768.0};

// What a sample must read back as: integer formats round to the nearest
// step of 2^-(bits - 1) and clip to [-1, 1 - step]; float keeps float.
float Expected(double x, int bits) {
  if (bits == 32) return static_cast<float>(x);
  if (std::isnan(x)) return 0.0f;
  const double steps = std::ldexp(1.0, bits - 1);
  double k = std::round(x * steps);
  if (k > steps - 1) k = steps - 1;
  if (k < -steps) k = -steps;
  return static_cast<float>(k / steps);
}

struct FormatCase {
  int bits;
  int channels;
};

class WavWriterRoundTrip : public ::testing::TestWithParam<FormatCase> {};

TEST_P(WavWriterRoundTrip, ReadsBackThroughTheReader) {
  const FormatCase c = GetParam();
  ScratchFolder folder;
  const std::string path = folder.PathOf("out.wav");
  std::vector<double> left = kSamples, right(kSamples.rbegin(), kSamples.rend());
  const double* channels[] = {left.data(), right.data()};
  ASSERT_TRUE(WavWriter::WriteFile(path.c_str(), channels, c.channels, left.size(), 96000, c.bits));
  EXPECT_EQ(folder.FileCount(), 1u);  // no temporary file left beside it

  // The header, field by field.
  const std::vector<unsigned char> b = ReadBytes(path);
  const bool isFloat = c.bits == 32;
  const size_t dataAt = isFloat ? 58 : 44;
  const uint32_t dataBytes = static_cast<uint32_t>(left.size() * c.channels * c.bits / 8);
  ASSERT_EQ(b.size(), dataAt + dataBytes + (dataBytes & 1));
  EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
  EXPECT_EQ(U32At(b, 4), b.size() - 8);
  EXPECT_EQ(std::memcmp(b.data() + 8, "WAVEfmt ", 8), 0);
  EXPECT_EQ(U16At(b, 20), isFloat ? 3 : 1);
  EXPECT_EQ(U16At(b, 22), c.channels);
  EXPECT_EQ(U32At(b, 24), 96000u);
  EXPECT_EQ(U32At(b, 28), 96000u * c.channels * c.bits / 8);
  EXPECT_EQ(U16At(b, 32), c.channels * c.bits / 8);
  EXPECT_EQ(U16At(b, 34), c.bits);
  if (isFloat) {
    EXPECT_EQ(std::memcmp(b.data() + 38, "fact", 4), 0);
    EXPECT_EQ(U32At(b, 46), left.size());
  }
  EXPECT_EQ(std::memcmp(b.data() + dataAt - 8, "data", 4), 0);
  EXPECT_EQ(U32At(b, dataAt - 4), dataBytes);

  AudioFileReader reader;
  ASSERT_EQ(reader.OpenAudioFile(path.c_str(), 0, 0, false), 0);
  ASSERT_EQ(reader.GetFrameCount(), left.size());
  ASSERT_EQ(reader.GetChannelCount(), c.channels);
  EXPECT_EQ(reader.GetSampleRate(), 96000u);
  EXPECT_EQ(reader.GetBitsPerSample(), c.bits);
  for (int ch = 0; ch < c.channels; ++ch) {
    const float* s = reader.GetChannelData(ch, false);
    ASSERT_NE(s, nullptr);
    for (size_t i = 0; i < left.size(); ++i) {
      const float want = Expected(channels[ch][i], c.bits);
      if (std::isnan(want)) {
        EXPECT_TRUE(std::isnan(s[i])) << ch << " " << i;
      } else {
        EXPECT_EQ(s[i], want) << "channel " << ch << " sample " << i << " = " << channels[ch][i];
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, WavWriterRoundTrip,
                         ::testing::Values(FormatCase{16, 1}, FormatCase{16, 2}, FormatCase{24, 1}, FormatCase{24, 2},
                                           FormatCase{32, 1}, FormatCase{32, 2}),
                         [](const ::testing::TestParamInfo<FormatCase>& info) {
                           return std::to_string(info.param.bits) + (info.param.channels == 1 ? "Mono" : "Stereo");
                         });

TEST(WavWriter, WritingInPiecesGivesTheSameFile) {
  ScratchFolder folder;
  std::vector<double> left(1001), right(1001);
  for (size_t i = 0; i < left.size(); ++i) {
    left[i] = std::sin(0.01 * i);
    right[i] = std::cos(0.013 * i) * 1.2;
  }
  for (const int bits : {16, 24, 32}) {
    const std::string whole = folder.PathOf("whole.wav"), pieces = folder.PathOf("pieces.wav");
    const double* channels[] = {left.data(), right.data()};
    ASSERT_TRUE(WavWriter::WriteFile(whole.c_str(), channels, 2, left.size(), 44100, bits));
    WavWriter writer;
    ASSERT_TRUE(writer.Open(pieces.c_str(), 2, 44100, bits));
    for (size_t start = 0; start < left.size(); start += 137) {
      const double* at[] = {left.data() + start, right.data() + start};
      ASSERT_TRUE(writer.WriteFrames(at, std::min<size_t>(137, left.size() - start)));
    }
    EXPECT_EQ(writer.GetFramesWritten(), left.size());
    ASSERT_TRUE(writer.Close());
    EXPECT_EQ(ReadBytes(whole), ReadBytes(pieces)) << bits;
  }
}

TEST(WavWriter, RefusesWhatItCannotWrite) {
  ScratchFolder folder;
  WavWriter writer;
  EXPECT_FALSE(writer.Open(folder.PathOf("a.wav").c_str(), 3, 44100, 16));
  EXPECT_FALSE(writer.Open(folder.PathOf("a.wav").c_str(), 0, 44100, 16));
  EXPECT_FALSE(writer.Open(folder.PathOf("a.wav").c_str(), 2, 44100, 8));
  EXPECT_FALSE(writer.Open(folder.PathOf("a.wav").c_str(), 2, 0, 24));
  EXPECT_FALSE(writer.Open("", 2, 44100, 16));
  EXPECT_FALSE(writer.Open(folder.PathOf("missing/a.wav").c_str(), 2, 44100, 16));
  EXPECT_FALSE(writer.Close());
  EXPECT_EQ(folder.FileCount(), 0u);
}

// A writer dropped before Close, or one whose writes fail, leaves no file
// and keeps an earlier file at the target as it was.
TEST(WavWriter, FailuresLeaveNothingBehind) {
  ScratchFolder folder;
  const std::string path = folder.PathOf("keep.wav");
  const double one[] = {0.5, -0.5};
  const double* channels[] = {one, one};
  ASSERT_TRUE(WavWriter::WriteFile(path.c_str(), channels, 2, 2, 48000, 16));
  const std::vector<unsigned char> before = ReadBytes(path);
  {
    WavWriter dropped;
    ASSERT_TRUE(dropped.Open(path.c_str(), 2, 48000, 24));
    ASSERT_TRUE(dropped.WriteFrames(channels, 2));
    EXPECT_EQ(folder.FileCount(), 2u);  // the temporary file beside the target
  }
  EXPECT_EQ(folder.FileCount(), 1u);
  EXPECT_EQ(ReadBytes(path), before);

  // A file-size limit makes the writes fail part of the way (EFBIG).
  std::vector<double> longSignal(100000, 0.25);
  const double* longChannels[] = {longSignal.data(), longSignal.data()};
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  WavWriter writer;
  bool ok = writer.Open(path.c_str(), 2, 48000, 32);
  for (int i = 0; i < 4 && ok; ++i) ok = writer.WriteFrames(longChannels, longSignal.size());
  ok = writer.Close() && ok;
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(folder.FileCount(), 1u);
  EXPECT_EQ(ReadBytes(path), before);
}

TEST(WavWriter, OddAndEmptyData) {
  ScratchFolder folder;
  const std::string path = folder.PathOf("odd.wav");
  const double mono[] = {0.1, 0.2, 0.3};
  const double* channels[] = {mono};
  ASSERT_TRUE(WavWriter::WriteFile(path.c_str(), channels, 1, 3, 44100, 24));
  const std::vector<unsigned char> b = ReadBytes(path);
  ASSERT_EQ(b.size(), 44u + 9u + 1u);
  EXPECT_EQ(U32At(b, 40), 9u);  // the data size excludes the pad byte
  EXPECT_EQ(U32At(b, 4), b.size() - 8);
  AudioFileReader reader;
  ASSERT_EQ(reader.OpenAudioFile(path.c_str(), 0, 0, false), 0);
  EXPECT_EQ(reader.GetFrameCount(), 3u);

  const std::string empty = folder.PathOf("empty.wav");
  ASSERT_TRUE(WavWriter::WriteFile(empty.c_str(), channels, 1, 0, 44100, 32));
  EXPECT_EQ(ReadBytes(empty).size(), 58u);
  ASSERT_EQ(reader.OpenAudioFile(empty.c_str(), 0, 0, false), 0);
  EXPECT_EQ(reader.GetFrameCount(), 0u);
  EXPECT_EQ(reader.GetChannelCount(), 1);
}

}  // namespace

namespace {

// Finish completes the file but leaves the target alone; only Commit puts
// it in place, and a finished writer dropped before Commit leaves nothing.
TEST(WavWriter, FinishedFilesAppearOnlyAtCommit) {
  ScratchFolder folder;
  const std::string path = folder.PathOf("two-step.wav");
  const double mono[] = {0.25, -0.25, 0.5};
  const double* channels[] = {mono};
  {
    WavWriter dropped;
    ASSERT_TRUE(dropped.Open(path.c_str(), 1, 48000, 16));
    ASSERT_TRUE(dropped.WriteFrames(channels, 3));
    ASSERT_TRUE(dropped.Finish());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(folder.FileCount(), 1u);  // the finished temporary file
  }
  EXPECT_EQ(folder.FileCount(), 0u);

  WavWriter writer;
  ASSERT_TRUE(writer.Open(path.c_str(), 1, 48000, 16));
  ASSERT_TRUE(writer.WriteFrames(channels, 3));
  ASSERT_TRUE(writer.Finish());
  EXPECT_FALSE(writer.WriteFrames(channels, 3));
  ASSERT_TRUE(writer.Commit());
  EXPECT_FALSE(writer.Commit());
  EXPECT_EQ(folder.FileCount(), 1u);
  AudioFileReader reader;
  ASSERT_EQ(reader.OpenAudioFile(path.c_str(), 0, 0, false), 0);
  ASSERT_EQ(reader.GetFrameCount(), 3u);
  EXPECT_EQ(reader.GetChannelData(0, false)[2], 0.5f);
}

}  // namespace

namespace {

// The data chunk a format must hold for the samples, laid out here from the
// format's definition: frames in order, channels interleaved, each sample
// little-endian: the rounded and clipped integer, or the float's bits.
std::vector<unsigned char> ExpectedData(const std::vector<std::vector<double>>& channels, int bits) {
  std::vector<unsigned char> data;
  for (size_t i = 0; i < channels[0].size(); ++i) {
    for (const std::vector<double>& ch : channels) {
      uint32_t word;
      if (bits == 32) {
        const float f = static_cast<float>(ch[i]);
        std::memcpy(&word, &f, 4);
      } else {
        word = static_cast<uint32_t>(static_cast<int32_t>(std::ldexp(Expected(ch[i], bits), bits - 1)));
      }
      for (int b = 0; b < bits / 8; ++b) data.push_back(static_cast<unsigned char>(word >> (8 * b)));
    }
  }
  return data;
}

}  // namespace

// Random and edge-case samples written in pieces of several sizes: every
// data byte is where the format puts it.
TEST(WavWriter, DataBytesAreTheSamplesInterleavedLittleEndian) {
  std::mt19937 rng(4);
  std::uniform_real_distribution<double> dist(-1.2, 1.2);
  for (int bits : {16, 24, 32}) {
    for (int channelCount : {1, 2}) {
      std::vector<std::vector<double>> channels(channelCount);
      for (std::vector<double>& ch : channels) {
        ch = kSamples;
        for (int i = 0; i < 3000; ++i) ch.push_back(dist(rng));
        std::shuffle(ch.begin(), ch.end(), rng);
      }
      ScratchFolder folder;
      ASSERT_TRUE(folder.Ok());
      const std::string path = folder.PathOf("data.wav");
      WavWriter writer;
      ASSERT_TRUE(writer.Open(path.c_str(), channelCount, 48000, bits));
      const size_t total = channels[0].size();
      size_t done = 0;
      for (size_t piece : {size_t{1}, size_t{700}, size_t{7}, size_t{2000}, total}) {
        const size_t n = std::min(piece, total - done);
        const double* ptrs[2] = {channels[0].data() + done, channels[channelCount - 1].data() + done};
        ASSERT_TRUE(writer.WriteFrames(ptrs, n));
        done += n;
      }
      ASSERT_TRUE(writer.Close());
      const std::vector<unsigned char> file = ReadBytes(path);
      const std::vector<unsigned char> want = ExpectedData(channels, bits);
      const size_t header = file.size() - want.size() - (want.size() & 1);
      ASSERT_EQ(U32At(file, header - 4), want.size());
      EXPECT_TRUE(std::equal(want.begin(), want.end(), file.begin() + static_cast<std::ptrdiff_t>(header)))
          << bits << " bits, " << channelCount << " channels";
    }
  }
}
