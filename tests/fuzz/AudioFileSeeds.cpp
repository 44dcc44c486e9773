// Seeds for fuzz_audio_file: small WAV, AIFF and AIFC files in every sample
// format the reader takes, laid out as the reader tests build them.

#include <string>
#include <vector>

#include "tests/fuzz/FuzzSeeds.h"
#include "tests/plugin/controller/AudioFileBytes.h"

namespace {

using namespace audiofiletest;

// Five frames of a ramp through both signs, in the sample format given.
Bytes Frames(int channels, int bytes, bool isFloat, bool bigEndian, bool unsigned8) {
  Bytes data;
  for (int i = 0; i < 5; ++i) {
    for (int c = 0; c < channels; ++c) {
      const double x = (i - 2) * 0.45 + c * 0.05;
      if (isFloat) {
        AppendFloat(data, static_cast<float>(x), bigEndian);
      } else {
        const int64_t v = static_cast<int64_t>(std::ldexp(x, 8 * bytes - 1));
        AppendInt(data, unsigned8 ? v + 128 : v, bytes, bigEndian);
      }
    }
  }
  return data;
}

std::vector<FuzzSeed> MakeSeeds() {
  std::vector<FuzzSeed> seeds;
  const auto add = [&](const std::string& name, const Bytes& bytes) { seeds.emplace_back(name, bytes); };

  struct Wav {
    const char* name;
    uint16_t bits;
    uint16_t channels;
    bool isFloat;
    bool extensible;
  };
  const Wav wavs[] = {{"wav-8-stereo", 8, 2, false, false},     {"wav-16-stereo", 16, 2, false, false},
                      {"wav-20-mono", 20, 1, false, false},      {"wav-24-stereo", 24, 2, false, false},
                      {"wav-32-mono", 32, 1, false, false},      {"wav-float-stereo", 32, 2, true, false},
                      {"wavex-24-stereo", 24, 2, false, true},   {"wavex-float-mono", 32, 1, true, true}};
  for (const Wav& w : wavs) {
    WavFields s;
    s.tag = w.isFloat ? 3 : 1;
    s.subFormat = s.tag;
    s.extensible = w.extensible;
    s.channelMask = w.extensible ? (w.channels == 1 ? 0x4 : 0x3) : 0;
    s.bits = w.bits;
    s.channels = w.channels;
    s.rate = 48000;
    s.data = Frames(w.channels, (w.bits - 1) / 8 + 1, w.isFloat, false, w.bits <= 8);
    add(std::string(w.name) + ".wav", MakeWav(s));
  }
  {
    // Chunks the reader must step over, an odd one among them, and "data"
    // ahead of "fmt ".
    WavFields s;
    s.data = Frames(2, 2, false, false, false);
    s.before = {{"LIST", Bytes{'I', 'N', 'F', 'O', 'x'}}};
    s.between = {{"fact", Bytes{5, 0, 0, 0}}};
    s.dataFirst = true;
    add("wav-16-chunks.wav", MakeWav(s));
  }

  struct Aiff {
    const char* name;
    bool aifc;
    const char* compression;
    uint16_t bits;
    uint16_t channels;
    uint32_t ssndOffset;
  };
  const Aiff aiffs[] = {{"aiff-8-mono", false, "NONE", 8, 1, 0},    {"aiff-16-stereo", false, "NONE", 16, 2, 0},
                        {"aiff-24-stereo", false, "NONE", 24, 2, 3}, {"aiff-32-mono", false, "NONE", 32, 1, 0},
                        {"aifc-none-16", true, "NONE", 16, 2, 0},    {"aifc-fl32-stereo", true, "fl32", 32, 2, 0},
                        {"aifc-FL32-mono", true, "FL32", 32, 1, 2}};
  for (const Aiff& a : aiffs) {
    AiffFields s;
    s.aifc = a.aifc;
    s.compression = a.compression;
    s.bits = a.bits;
    s.channels = a.channels;
    s.ssndOffset = a.ssndOffset;
    s.rate = Extended(44100.0);
    const bool isFloat = a.aifc && std::string(a.compression) != "NONE";
    s.data = Frames(a.channels, isFloat ? 4 : (a.bits - 1) / 8 + 1, isFloat, true, false);
    if (a.ssndOffset) s.before = {{"MARK", Bytes{0, 0}}};
    add(std::string(a.name) + (a.aifc ? ".aifc" : ".aiff"), MakeAiff(s));
  }
  return seeds;
}

const FuzzSeedRegistration kRegistration("fuzz_audio_file", MakeSeeds);

}  // namespace
