// Writes the comparison workload's input: stereo white noise at -6 dBFS
// peak as a 32-bit float WAV file. xorshift32 rather than a library
// generator, so every machine times the same file.
//
//   brimlow_noise_file OUT.wav [SECONDS [RATE]]     (default 60 s at 48000 Hz)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tools/WavWriter.h"

namespace {

double Noise(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return (static_cast<double>(state) / 4294967296.0 - 0.5);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: brimlow_noise_file OUT.wav [SECONDS [RATE]]\n");
    return 2;
  }
  const double seconds = argc > 2 ? std::atof(argv[2]) : 60.0;
  const long rate = argc > 3 ? std::atol(argv[3]) : 48000;
  if (!(seconds > 0.0) || rate < 1000 || rate > 768000) {
    std::fprintf(stderr, "brimlow_noise_file: bad length or rate\n");
    return 2;
  }
  const size_t frames = static_cast<size_t>(seconds * static_cast<double>(rate));
  std::vector<double> left(frames), right(frames);
  uint32_t state[2] = {0x12345678u, 0x9E3779B9u};
  for (size_t i = 0; i < frames; ++i) {
    left[i] = Noise(state[0]);
    right[i] = Noise(state[1]);
  }
  const double* channels[2] = {left.data(), right.data()};
  if (!WavWriter::WriteFile(argv[1], channels, 2, frames, static_cast<uint32_t>(rate), 32)) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
