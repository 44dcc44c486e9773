#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "plugin/controller/AudioFileReader.h"
#include "tools/WavWriter.h"

using Channels = std::vector<std::vector<float>>;

// A deterministic broadband signal (xorshift noise under a slow sine), with
// values between the steps of every integer format; amplitude below 0.9.
inline Channels MakeNoise(int channels, size_t frames, uint32_t seed = 0x2468ACE1u) {
  Channels s(static_cast<size_t>(channels), std::vector<float>(frames));
  uint32_t state = seed;
  for (size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      const double noise = static_cast<double>(state) / 4294967296.0 - 0.5;
      s[static_cast<size_t>(c)][i] = static_cast<float>(0.6 * noise + 0.25 * std::sin(0.001 * static_cast<double>(i) + c));
    }
  }
  return s;
}

// Written as 32-bit float, so every sample reads back exactly.
inline bool WriteFloatWav(const std::string& path, const Channels& s, uint32_t rate) {
  std::vector<std::vector<double>> d;
  std::vector<const double*> ptrs;
  for (const auto& ch : s) d.emplace_back(ch.begin(), ch.end());
  for (const auto& ch : d) ptrs.push_back(ch.data());
  return WavWriter::WriteFile(path.c_str(), ptrs.data(), static_cast<int>(s.size()), s.empty() ? 0 : s[0].size(),
                              rate, 32);
}

// Through the plug-in's own reader; empty when the file cannot be read.
inline Channels ReadAudio(const std::string& path, uint32_t* rate = nullptr, int* bits = nullptr) {
  AudioFileReader reader;
  if (reader.OpenAudioFile(path.c_str(), 0, 0, false) != 0) return {};
  if (rate) *rate = reader.GetSampleRate();
  if (bits) *bits = reader.GetBitsPerSample();
  Channels s;
  for (uint32_t c = 0; c < reader.GetChannelCount(); ++c) {
    const float* data = reader.GetChannelData(c, false);
    s.emplace_back(data, data + (data ? reader.GetFrameCount() : 0));
  }
  return s;
}
