#include "plugin/controller/AudioFileReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/plugin/controller/AudioFileBytes.h"

namespace {

using namespace audiofiletest;

// ---------------------------------------------------------------------------
// Sample conversion in every format, stereo, checked sample by sample.

enum Container { kWav, kWavExtensible, kAiff, kAifc };

struct ConversionCase {
  const char* name;
  Container container;
  uint16_t bits;
  bool isFloat;
  const char* compression;  // AIFC only
};

// Test values for a sample of `bytes` bytes: both extremes and the values
// around zero, where an off-by-one in sign extension shows.
std::vector<int64_t> IntegerValues(int bytes) {
  const int64_t half = int64_t{1} << (8 * bytes - 1);
  return {-half, -half + 1, -1, 0, 1, half / 3, half - 2, half - 1};
}

const std::vector<float> kFloatValues = {0.5f, -1.25f, 1e-30f, 3.0f, -0.0f, 65504.0f, -1.0f, 0.1f};

class AudioFileConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(AudioFileConversion, DecodesEveryFormatIntoPlanarFloats) {
  const ConversionCase c = GetParam();
  const bool bigEndian = c.container == kAiff || c.container == kAifc;
  const int bytes = c.isFloat ? 4 : (c.bits - 1) / 8 + 1;
  const bool unsigned8 = !bigEndian && bytes == 1;

  // Channel 0 takes the values in order, channel 1 in reverse, so a swap of
  // channels or frames shows.
  std::vector<float> expected[2];
  Bytes data;
  const size_t frames = c.isFloat ? kFloatValues.size() : IntegerValues(bytes).size();
  for (size_t i = 0; i < frames; ++i) {
    for (int ch = 0; ch < 2; ++ch) {
      const size_t k = ch == 0 ? i : frames - 1 - i;
      if (c.isFloat) {
        AppendFloat(data, kFloatValues[k], bigEndian);
        expected[ch].push_back(kFloatValues[k]);
      } else {
        const int64_t v = IntegerValues(bytes)[k];
        // WAV 8-bit is offset binary: the stored byte is v + 128.
        AppendInt(data, unsigned8 ? v + 128 : v, bytes, bigEndian);
        expected[ch].push_back(static_cast<float>(std::ldexp(static_cast<double>(v), -(8 * bytes - 1))));
      }
    }
  }

  Bytes file;
  if (bigEndian) {
    AiffFields s;
    s.aifc = c.container == kAifc;
    if (c.compression) s.compression = c.compression;
    s.bits = c.bits;
    s.data = data;
    s.rate = Extended(48000.0);
    file = MakeAiff(s);
  } else {
    WavFields s;
    s.tag = c.isFloat ? 3 : 1;
    s.extensible = c.container == kWavExtensible;
    s.subFormat = s.tag;
    s.channelMask = s.extensible ? 0x3 : 0;
    s.bits = c.bits;
    s.rate = 48000;
    s.data = data;
    // Block align follows the bytes actually stored per frame.
    s.blockAlign = bytes * 2;
    file = MakeWav(s);
  }
  ScratchFolder folder;
  ASSERT_TRUE(folder.Ok());
  const std::string path = folder.Write("case", file);
  ASSERT_FALSE(path.empty());

  AudioFileReader reader;
  ASSERT_EQ(reader.OpenAudioFile(path.c_str(), 0, 0, false), kAudioFileOk);
  EXPECT_EQ(reader.GetFrameCount(), frames);
  EXPECT_EQ(reader.GetChannelCount(), 2);
  EXPECT_EQ(reader.GetBitsPerSample(), c.bits);
  EXPECT_EQ(reader.GetSampleRate(), 48000u);
  EXPECT_EQ(reader.GetChannelMask(), c.container == kWavExtensible ? 0x3u : 0u);
  for (int ch = 0; ch < 2; ++ch) {
    const float* block = reader.GetChannelData(ch, false);
    ASSERT_NE(block, nullptr);
    for (size_t i = 0; i < frames; ++i) {
      uint32_t got, want;
      std::memcpy(&got, &block[i], 4);
      std::memcpy(&want, &expected[ch][i], 4);
      EXPECT_EQ(got, want) << "channel " << ch << " frame " << i << ": " << block[i] << " vs " << expected[ch][i];
    }
  }
  EXPECT_EQ(reader.GetChannelData(2, false), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, AudioFileConversion,
    ::testing::Values(
        ConversionCase{"Wav8", kWav, 8, false, nullptr}, ConversionCase{"Wav16", kWav, 16, false, nullptr},
        ConversionCase{"Wav20In3Bytes", kWav, 20, false, nullptr}, ConversionCase{"Wav24", kWav, 24, false, nullptr},
        ConversionCase{"Wav32", kWav, 32, false, nullptr}, ConversionCase{"WavFloat", kWav, 32, true, nullptr},
        ConversionCase{"WavExtensible24", kWavExtensible, 24, false, nullptr},
        ConversionCase{"WavExtensibleFloat", kWavExtensible, 32, true, nullptr},
        ConversionCase{"Aiff8", kAiff, 8, false, nullptr}, ConversionCase{"Aiff16", kAiff, 16, false, nullptr},
        ConversionCase{"Aiff24", kAiff, 24, false, nullptr}, ConversionCase{"Aiff32", kAiff, 32, false, nullptr},
        ConversionCase{"AifcNone16", kAifc, 16, false, "NONE"},
        ConversionCase{"AifcLowerFl32", kAifc, 32, true, "fl32"},
        ConversionCase{"AifcUpperFl32", kAifc, 32, true, "FL32"},
        // Float words are 4 bytes even when the bits field disagrees.
        ConversionCase{"AifcFloatWithBits24", kAifc, 24, true, "fl32"},
        ConversionCase{"AifcFloatWithBits64", kAifc, 64, true, "fl32"}),
    [](const ::testing::TestParamInfo<ConversionCase>& info) { return std::string(info.param.name); });

TEST(AudioFileReader, ExtremesOfTheDocumentedConversions) {
  // 8-bit WAV byte 0 is -1 and 255 is 127/128; the most negative 24-bit
  // value is -1.
  WavFields wav8;
  wav8.channels = 1;
  wav8.bits = 8;
  wav8.data = {0, 255, 128};
  AiffFields aiff24;
  aiff24.channels = 1;
  aiff24.bits = 24;
  aiff24.data = {0x80, 0x00, 0x00, 0x7F, 0xFF, 0xFF};
  ScratchFolder folder;
  AudioFileReader reader;
  ASSERT_EQ(reader.OpenAudioFile(folder.Write("a.wav", MakeWav(wav8)).c_str(), 0, 0, false), kAudioFileOk);
  const float* s = reader.GetChannelData(0, false);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s[0], -1.0f);
  EXPECT_EQ(s[1], 0.9921875f);
  EXPECT_EQ(s[2], 0.0f);
  ASSERT_EQ(reader.OpenAudioFile(folder.Write("b.aif", MakeAiff(aiff24)).c_str(), 0, 0, false), kAudioFileOk);
  s = reader.GetChannelData(0, false);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s[0], -1.0f);
  EXPECT_EQ(s[1], static_cast<float>(8388607.0 / 8388608.0));
}

// ---------------------------------------------------------------------------
// Chunk layouts: padding, order and extra chunks must not change the samples.

struct LayoutCase {
  const char* name;
  Bytes file;
};

Bytes SixteenBitStereoData() {
  Bytes d;
  for (int i = 0; i < 6; ++i) {
    AppendInt(d, 1000 * i - 2500, 2, false);
    AppendInt(d, -700 * i + 3, 2, false);
  }
  return d;
}

Bytes BigEndian(const Bytes& littleEndian16) {
  Bytes b = littleEndian16;
  for (size_t i = 0; i + 1 < b.size(); i += 2) std::swap(b[i], b[i + 1]);
  return b;
}

std::vector<LayoutCase> LayoutCases() {
  std::vector<LayoutCase> cases;
  WavFields w;
  w.data = SixteenBitStereoData();
  cases.push_back({"WavPlain", MakeWav(w)});
  WavFields list = w;
  list.between = {{"LIST", {'I', 'N', 'F', 'O', 'x'}}};  // odd size: a pad byte follows
  cases.push_back({"WavOddListBeforeData", MakeWav(list)});
  WavFields junk = w;
  junk.before = {{"JUNK", {1, 2, 3}}};
  junk.between = {{"fact", {6, 0, 0, 0}}};
  cases.push_back({"WavOddJunkBeforeFmt", MakeWav(junk)});
  WavFields dataFirst = w;
  dataFirst.dataFirst = true;
  dataFirst.between = {{"LIST", {'a', 'b', 'c'}}};
  cases.push_back({"WavDataBeforeFmt", MakeWav(dataFirst)});

  AiffFields a;
  a.data = BigEndian(SixteenBitStereoData());
  cases.push_back({"AiffPlain", MakeAiff(a)});
  AiffFields name = a;
  name.before = {{"NAME", {'h', 'e', 'l', 'l', 'o'}}};
  name.ssndOffset = 3;
  cases.push_back({"AiffOddNameAndOffset", MakeAiff(name)});
  AiffFields ssndFirst = a;
  ssndFirst.ssndFirst = true;
  ssndFirst.before = {{"ANNO", {'x'}}};
  cases.push_back({"AiffSoundBeforeComm", MakeAiff(ssndFirst)});
  AiffFields aifc = a;
  aifc.aifc = true;
  aifc.before = {{"FVER", {0xA2, 0x80, 0x51, 0x40}}};
  cases.push_back({"AifcWithVersion", MakeAiff(aifc)});
  return cases;
}

class AudioFileLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(AudioFileLayouts, FindTheSameSamples) {
  ScratchFolder folder;
  AudioFileReader reader;
  ASSERT_EQ(reader.OpenAudioFile(folder.Write("f", GetParam().file).c_str(), 0, 0, false), kAudioFileOk);
  ASSERT_EQ(reader.GetFrameCount(), 6u);
  ASSERT_EQ(reader.GetSampleRate(), 44100u);
  const float* left = reader.GetChannelData(0, false);
  const float* right = reader.GetChannelData(1, false);
  ASSERT_TRUE(left && right);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(left[i], (1000.0f * i - 2500.0f) / 32768.0f) << i;
    EXPECT_EQ(right[i], (-700.0f * i + 3.0f) / 32768.0f) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Chunks, AudioFileLayouts, ::testing::ValuesIn(LayoutCases()),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Result codes.

struct ErrorCase {
  const char* name;
  Bytes file;
  int code;
};

WavFields BaseWav() {
  WavFields s;
  s.data = SixteenBitStereoData();
  return s;
}

AiffFields BaseAiff() {
  AiffFields s;
  s.data = BigEndian(SixteenBitStereoData());
  return s;
}

template <class Fields, class Edit>
Fields With(Fields s, Edit edit) {
  edit(s);
  return s;
}

std::vector<ErrorCase> ErrorCases() {
  const auto wav = [](auto edit) { return MakeWav(With(BaseWav(), edit)); };
  const auto aiff = [](auto edit) { return MakeAiff(With(BaseAiff(), edit)); };
  const auto rate = [&](double hz) { return aiff([hz](AiffFields& s) { s.rate = Extended(hz); }); };
  return {
      {"TooShortForAnId", {'R', 'I'}, kAudioFileUnknownFormat},
      {"NeitherRiffNorForm", wav([](WavFields& s) { s.riff = "RIFX"; }), kAudioFileUnknownFormat},
      {"RiffButNotWave", wav([](WavFields& s) { s.form = "AVI "; }), kAudioFileUnknownFormat},
      {"FormButNotAiff", aiff([](AiffFields& s) { s.form = "8SVX"; }), kAudioFileUnknownFormat},
      {"WavAdpcm", wav([](WavFields& s) { s.tag = 2; }), kAudioFileUnsupported},
      {"WavExtensibleAdpcm", wav([](WavFields& s) {
         s.extensible = true;
         s.subFormat = 2;
       }),
       kAudioFileUnsupported},
      {"WavBlockAlignDisagrees", wav([](WavFields& s) { s.blockAlign = 6; }), kAudioFileUnsupported},
      {"WavFortyBits", wav([](WavFields& s) { s.bits = 40; }), kAudioFileUnsupported},
      {"WavFloatOfSixteenBits", wav([](WavFields& s) { s.tag = 3; }), kAudioFileUnsupported},
      {"WavDoubleFloat", wav([](WavFields& s) {
         s.tag = 3;
         s.bits = 64;
       }),
       kAudioFileUnsupported},
      {"WavZeroBits", wav([](WavFields& s) { s.bits = 0; }), kAudioFileCorrupt},
      {"WavZeroChannels", wav([](WavFields& s) { s.channels = 0; }), kAudioFileCorrupt},
      {"WavRateZero", wav([](WavFields& s) { s.rate = 0; }), kAudioFileUnsupported},
      {"WavRateTooLow", wav([](WavFields& s) { s.rate = 999; }), kAudioFileUnsupported},
      {"WavRateTooHigh", wav([](WavFields& s) { s.rate = 768001; }), kAudioFileUnsupported},
      {"WavNoData", wav([](WavFields& s) { s.omitData = true; }), kAudioFileCorrupt},
      {"WavNoFmt", wav([](WavFields& s) { s.omitFmt = true; }), kAudioFileCorrupt},
      {"WavFmtTooShort", wav([](WavFields& s) { s.fmtBodyCut = 2; }), kAudioFileCorrupt},
      {"WavExtensibleFmtTooShort", wav([](WavFields& s) {
         s.extensible = true;
         s.fmtBodyCut = 24;
       }),
       kAudioFileCorrupt},
      {"WavDataBeyondTheFile", wav([](WavFields& s) { s.dataSize = 24 + 4; }), kAudioFileCorrupt},
      {"WavDataSizeHuge", wav([](WavFields& s) { s.dataSize = 0xFFFFFFF0; }), kAudioFileCorrupt},
      {"AifcSowt", aiff([](AiffFields& s) {
         s.aifc = true;
         s.compression = "sowt";
       }),
       kAudioFileUnsupported},
      {"AifcUlaw", aiff([](AiffFields& s) {
         s.aifc = true;
         s.compression = "ulaw";
       }),
       kAudioFileUnsupported},
      {"AifcLowerCaseNone", aiff([](AiffFields& s) {
         s.aifc = true;
         s.compression = "none";
       }),
       kAudioFileUnsupported},
      {"AiffFortyBits", aiff([](AiffFields& s) {
         s.bits = 40;
         s.frames = 1;
       }),
       kAudioFileUnsupported},
      {"AiffZeroBits", aiff([](AiffFields& s) {
         s.bits = 0;
         s.frames = 6;
       }),
       kAudioFileCorrupt},
      {"AiffZeroChannels", aiff([](AiffFields& s) {
         s.channels = 0;
         s.frames = 6;
       }),
       kAudioFileCorrupt},
      {"AiffNoComm", aiff([](AiffFields& s) { s.omitComm = true; }), kAudioFileCorrupt},
      {"AiffFramesWithoutSound", aiff([](AiffFields& s) { s.omitSsnd = true; }), kAudioFileCorrupt},
      {"AiffCommTooShort", aiff([](AiffFields& s) { s.commSize = 16; }), kAudioFileCorrupt},
      {"AifcCommWithoutCompression", aiff([](AiffFields& s) {
         s.aifc = true;
         s.commSize = 18;
       }),
       kAudioFileCorrupt},
      {"AiffFramesBeyondTheFile", aiff([](AiffFields& s) { s.frames = 7; }), kAudioFileCorrupt},
      {"AiffFrameCountHuge", aiff([](AiffFields& s) { s.frames = 0xFFFFFFFF; }), kAudioFileCorrupt},
      {"AiffOffsetBeyondTheFile", aiff([](AiffFields& s) { s.ssndOffsetField = 0x7FFFFFFF; }), kAudioFileCorrupt},
      {"AiffRateZero", rate(0.0), kAudioFileUnsupported},
      {"AiffRateTooLow", rate(999.0), kAudioFileUnsupported},
      {"AiffRateTooHigh", rate(1e9), kAudioFileUnsupported},
      {"AiffRateNegative", rate(-44100.0), kAudioFileUnsupported},
      {"AiffRateHuge", rate(1e300), kAudioFileUnsupported},
      {"AiffRateInfinite", aiff([](AiffFields& s) { s.rate = {0x7F, 0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0}; }),
       kAudioFileUnsupported},
  };
}

class AudioFileErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(AudioFileErrors, GiveTheirCodeAndKeepThePreviousLoad) {
  ScratchFolder folder;
  AudioFileReader reader;
  ASSERT_EQ(reader.OpenAudioFile(folder.Write("good", MakeWav(BaseWav())).c_str(), 0, 0, false), kAudioFileOk);
  EXPECT_EQ(reader.OpenAudioFile(folder.Write("bad", GetParam().file).c_str(), 0, 0, false), GetParam().code);
  EXPECT_EQ(reader.OpenAudioFile(folder.PathOf("bad").c_str(), 0, 0, true), GetParam().code);
  EXPECT_EQ(reader.GetFrameCount(), 6u);
  const float* left = reader.GetChannelData(0, false);
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(left[5], 2500.0f / 32768.0f);
}

INSTANTIATE_TEST_SUITE_P(Codes, AudioFileErrors, ::testing::ValuesIn(ErrorCases()),
                         [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

TEST(AudioFileReader, PathsThatCannotBeOpened) {
  ScratchFolder folder;
  AudioFileReader reader;
  EXPECT_EQ(reader.OpenAudioFile(nullptr, 0, 0, false), kAudioFileCannotOpen);
  EXPECT_EQ(reader.OpenAudioFile("", 0, 0, false), kAudioFileCannotOpen);
  EXPECT_EQ(reader.OpenAudioFile(folder.PathOf("missing.wav").c_str(), 0, 0, false), kAudioFileCannotOpen);
  EXPECT_EQ(reader.OpenAudioFile(folder.PathOf("").c_str(), 0, 0, false), kAudioFileCannotOpen);  // a folder
}

// Every header read is checked: a file cut anywhere before its last sample
// byte is refused, never read from uninitialised fields.
TEST(AudioFileReader, EveryTruncationIsRefused) {
  const Bytes files[] = {
      MakeWav(BaseWav()),
      MakeWav(With(BaseWav(),
                   [](WavFields& s) {
                     s.extensible = true;
                     s.between = {{"LIST", {'x'}}};
                   })),
      MakeAiff(BaseAiff()),
      MakeAiff(With(BaseAiff(),
                    [](AiffFields& s) {
                      s.aifc = true;
                      s.ssndOffset = 2;
                    })),
  };
  ScratchFolder folder;
  for (const Bytes& file : files) {
    for (size_t length = 0; length < file.size(); ++length) {
      const Bytes cut(file.begin(), file.begin() + length);
      AudioFileReader reader;
      const int code = reader.OpenAudioFile(folder.Write("cut", cut).c_str(), 0, 0, false);
      EXPECT_EQ(code, length < 4 ? kAudioFileUnknownFormat : kAudioFileCorrupt) << "length " << length;
      EXPECT_EQ(reader.GetChannelData(0, false), nullptr);
    }
  }
}

// ---------------------------------------------------------------------------
// Sample rates.

struct RateCase {
  double extended;
  uint32_t stored;
};

class AiffSampleRate : public ::testing::TestWithParam<RateCase> {};

// The extended value is rounded half up, then truncated.
TEST_P(AiffSampleRate, IsRoundedToTheNearestInteger) {
  ScratchFolder folder;
  AudioFileReader reader;
  const Bytes file = MakeAiff(With(BaseAiff(), [](AiffFields& s) { s.rate = Extended(GetParam().extended); }));
  ASSERT_EQ(reader.OpenAudioFile(folder.Write("r", file).c_str(), 0, 0, true), kAudioFileOk);
  EXPECT_EQ(reader.GetSampleRate(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Rates, AiffSampleRate,
                         ::testing::Values(RateCase{44100.0, 44100}, RateCase{44100.5, 44101},
                                           RateCase{44100.49, 44100}, RateCase{22050.25, 22050},
                                           RateCase{48000.0, 48000}, RateCase{8000.0, 8000}, RateCase{1000.0, 1000},
                                           RateCase{768000.0, 768000}, RateCase{176399.999, 176400}));

TEST(AudioFileReader, AiffRateFromTheStandardBytes) {
  // 44100 Hz as AIFF writers store it: exponent 0x400E, mantissa 0xAC44 << 48.
  const std::array<unsigned char, 10> bytes = {0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Extended(44100.0), bytes);
  ScratchFolder folder;
  AudioFileReader reader;
  const std::string path = folder.Write("r", MakeAiff(With(BaseAiff(), [&](AiffFields& s) { s.rate = bytes; })));
  ASSERT_EQ(reader.OpenAudioFile(path.c_str(), 0, 0, false), kAudioFileOk);
  EXPECT_EQ(reader.GetSampleRate(), 44100u);
}

// ---------------------------------------------------------------------------
// Windows, pieces, header-only opens and empty files.

TEST(AudioFileReader, WindowsOfFrames) {
  ScratchFolder folder;
  const std::string wav = folder.Write("w", MakeWav(BaseWav()));
  const std::string aif = folder.Write("a", MakeAiff(BaseAiff()));
  struct Window {
    uint32_t start, max, first, count;
  };
  const Window windows[] = {{0, 0, 0, 6}, {2, 3, 2, 3}, {4, 0, 4, 2}, {1, 100, 1, 5}, {0, 1, 0, 1}, {5, 5, 5, 1}};
  for (const std::string& path : {wav, aif}) {
    for (const Window& w : windows) {
      AudioFileReader reader;
      ASSERT_EQ(reader.OpenAudioFile(path.c_str(), w.start, w.max, false), kAudioFileOk);
      ASSERT_EQ(reader.GetFrameCount(), w.count) << w.start << " " << w.max;
      const float* left = reader.GetChannelData(0, false);
      const float* right = reader.GetChannelData(1, false);
      ASSERT_TRUE(left && right);
      for (uint32_t i = 0; i < w.count; ++i) {
        const int frame = static_cast<int>(w.first + i);
        EXPECT_EQ(left[i], (1000.0f * frame - 2500.0f) / 32768.0f);
        EXPECT_EQ(right[i], (-700.0f * frame + 3.0f) / 32768.0f);
      }
    }
  }
}

TEST(AudioFileReader, HeaderOnlyAndEmptyWindowsLoadNoSamples) {
  ScratchFolder folder;
  const std::string path = folder.Write("w", MakeWav(BaseWav()));
  AudioFileReader reader;
  ASSERT_EQ(reader.OpenAudioFile(path.c_str(), 0, 0, false), kAudioFileOk);
  ASSERT_NE(reader.GetChannelData(0, false), nullptr);

  ASSERT_EQ(reader.OpenAudioFile(path.c_str(), 2, 0, true), kAudioFileOk);
  EXPECT_EQ(reader.GetFrameCount(), 4u);  // what a decode of the window would give
  EXPECT_EQ(reader.GetChannelCount(), 2);
  EXPECT_EQ(reader.GetBitsPerSample(), 16);
  EXPECT_EQ(reader.GetSampleRate(), 44100u);
  EXPECT_EQ(reader.GetChannelData(0, false), nullptr);

  for (const uint32_t start : {6u, 7u, 0xFFFFFFFFu}) {
    ASSERT_EQ(reader.OpenAudioFile(path.c_str(), start, 0, false), kAudioFileOk);
    EXPECT_EQ(reader.GetFrameCount(), 0u);
    EXPECT_EQ(reader.GetChannelData(0, false), nullptr);
  }
}

TEST(AudioFileReader, FilesWithoutFramesLoadNothing) {
  const Bytes files[] = {
      MakeWav(With(BaseWav(), [](WavFields& s) { s.data.clear(); })),
      MakeWav(With(BaseWav(), [](WavFields& s) { s.data.resize(3); })),  // less than one frame
      MakeAiff(With(BaseAiff(),
                    [](AiffFields& s) {
                      s.frames = 0;
                      s.omitSsnd = true;  // not needed without frames
                    })),
  };
  ScratchFolder folder;
  for (const Bytes& file : files) {
    AudioFileReader reader;
    ASSERT_EQ(reader.OpenAudioFile(folder.Write("e", file).c_str(), 0, 0, false), kAudioFileOk);
    EXPECT_EQ(reader.GetFrameCount(), 0u);
    EXPECT_EQ(reader.GetChannelCount(), 2);
    EXPECT_EQ(reader.GetChannelData(0, false), nullptr);
  }
}

// Files longer than the reader's work buffer are decoded piece by piece;
// the seams must not show, and windows read one after the other must add up
// to the whole file.
TEST(AudioFileReader, LongFilesAndConsecutiveWindowsMatchTheWhole) {
  const uint32_t frames = 300001;  // 24-bit stereo: about 1.8 MB of samples
  const auto value = [](uint32_t frame, int ch) {
    return static_cast<int64_t>((frame * 2654435761u + ch * 40503u) % 16777216u) - 8388608;
  };
  Bytes data;
  data.reserve(frames * 6);
  for (uint32_t i = 0; i < frames; ++i) {
    for (int ch = 0; ch < 2; ++ch) AppendInt(data, value(i, ch), 3, true);
  }
  ScratchFolder folder;
  const std::string path = folder.Write("long.aif", MakeAiff(With(BaseAiff(), [&](AiffFields& s) {
                                          s.bits = 24;
                                          s.data = std::move(data);
                                        })));
  AudioFileReader whole;
  ASSERT_EQ(whole.OpenAudioFile(path.c_str(), 0, 0, false), kAudioFileOk);
  ASSERT_EQ(whole.GetFrameCount(), frames);
  for (int ch = 0; ch < 2; ++ch) {
    const float* s = whole.GetChannelData(ch, false);
    ASSERT_NE(s, nullptr);
    for (uint32_t i = 0; i < frames; ++i) {
      ASSERT_EQ(s[i], static_cast<float>(std::ldexp(static_cast<double>(value(i, ch)), -23))) << ch << " " << i;
    }
  }

  AudioFileReader pieces;
  ASSERT_EQ(pieces.OpenAudioFile(path.c_str(), 0, 0, true), kAudioFileOk);
  const uint32_t total = pieces.GetFrameCount();
  ASSERT_EQ(total, frames);
  const uint32_t piece = 65536;
  for (uint32_t start = 0; start < total; start += piece) {
    ASSERT_EQ(pieces.OpenAudioFile(path.c_str(), start, piece, false), kAudioFileOk);
    const uint32_t n = pieces.GetFrameCount();
    ASSERT_EQ(n, std::min(piece, total - start));
    for (int ch = 0; ch < 2; ++ch) {
      ASSERT_EQ(std::memcmp(pieces.GetChannelData(ch, false), whole.GetChannelData(ch, false) + start, n * 4), 0)
          << start;
    }
  }
}

// ---------------------------------------------------------------------------
// The busy flag.

TEST(AudioFileReader, ChannelDataLockIsReleasedByAnUnlockedCall) {
  ScratchFolder folder;
  const std::string path = folder.Write("w", MakeWav(BaseWav()));
  AudioFileReader reader;
  ASSERT_EQ(reader.OpenAudioFile(path.c_str(), 0, 0, false), kAudioFileOk);
  float* left = reader.GetChannelData(0, true);
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(reader.GetChannelData(1, true), left + 6);  // already busy: the block at once
  EXPECT_EQ(reader.GetChannelData(0, false), left);     // releases
  // A reload would wait forever on a busy flag left set.
  ASSERT_EQ(reader.OpenAudioFile(path.c_str(), 1, 0, false), kAudioFileOk);
  ASSERT_NE(reader.GetChannelData(0, true), nullptr);
  EXPECT_EQ(reader.GetChannelData(9, true), nullptr);  // no such channel: busy cleared
  ASSERT_EQ(reader.OpenAudioFile(path.c_str(), 0, 0, false), kAudioFileOk);
  EXPECT_EQ(reader.GetFrameCount(), 6u);
}

}  // namespace
