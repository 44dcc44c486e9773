#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <vector>

#include "plugin/engine/EngineHost.h"
#include "plugin/engine/EqualizerEngine.h"
#include "plugin/engine/FirImpulseBuilder.h"
#include "plugin/engine/ParamMirrors.h"
#include "plugin/engine/SectionRunner.h"

// Signals, a host stand-in and block runners for the engine tests.
namespace EngineTestSupport {

using Channels = std::vector<std::vector<double>>;
constexpr double kPi = 3.141592653589793;

inline std::vector<double> Noise(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> v(n);
  for (double& x : v) x = dist(rng);
  return v;
}

inline std::vector<double> Sine(int n, double frequencyHz, double sampleRate, double amplitude = 1.0) {
  std::vector<double> v(n);
  for (int i = 0; i < n; ++i) v[i] = amplitude * std::sin(2.0 * kPi * frequencyHz * i / sampleRate);
  return v;
}

inline std::vector<double> Impulse(int n, int at) {
  std::vector<double> v(n, 0.0);
  v[at] = 1.0;
  return v;
}

inline int ArgMaxAbs(const std::vector<double>& v) {
  int best = 0;
  for (int i = 1; i < static_cast<int>(v.size()); ++i) {
    if (std::fabs(v[i]) > std::fabs(v[best])) best = i;
  }
  return best;
}

// Level in dB of the component at frequencyHz over [start, start + count),
// by correlation with the complex exponential (count spanning whole cycles).
inline double ToneLevelDb(const std::vector<double>& v, double frequencyHz, double sampleRate, int start, int count) {
  std::complex<double> sum(0.0, 0.0);
  const double w = 2.0 * kPi * frequencyHz / sampleRate;
  for (int i = start; i < start + count; ++i) sum += v[i] * std::polar(1.0, -w * i);
  return 20.0 * std::log10(2.0 * std::abs(sum) / count);
}

// The latency report and host id a plug-in would hand the engine.
class FakeHost : public EngineHost {
 public:
  int GetLatency() const override { return latency; }
  void SetLatency(int samples) override {
    latency = samples;
    ++setLatencyCalls;
  }
  int GetHost() override { return hostId; }
  bool IsDisplayRefreshSuspended() override { return suspended; }

  int latency = 0;
  int setLatencyCalls = 0;
  int hostId = 2;  // ProTools
  bool suspended = false;
};

// Runs whole channels through the engine in blocks whose sizes cycle
// through `blockSizes`. Each block gets buffers of its own, exactly
// nFrames long, so a write past a block is a sanitizer error.
inline Channels Run(EqualizerEngine& engine, const Channels& in, int nOut, const std::vector<int>& blockSizes) {
  const int total = static_cast<int>(in[0].size());
  const int nIn = static_cast<int>(in.size());
  Channels out(nOut, std::vector<double>(total, 0.0));
  int offset = 0;
  for (size_t b = 0; offset < total; ++b) {
    const int n = std::min(blockSizes[b % blockSizes.size()], total - offset);
    Channels inBlock(nIn), outBlock(nOut, std::vector<double>(n, 0.0));
    std::vector<double*> inPtrs(nIn), outPtrs(nOut);
    for (int c = 0; c < nIn; ++c) {
      inBlock[c].assign(in[c].begin() + offset, in[c].begin() + offset + n);
      inPtrs[c] = inBlock[c].data();
    }
    for (int c = 0; c < nOut; ++c) outPtrs[c] = outBlock[c].data();
    engine.ProcessBlock(inPtrs.data(), outPtrs.data(), n);
    for (int c = 0; c < nOut; ++c) std::copy(outBlock[c].begin(), outBlock[c].end(), out[c].begin() + offset);
    offset += n;
  }
  return out;
}

inline Channels Run(EqualizerEngine& engine, const Channels& in, int nOut, int blockSize) {
  return Run(engine, in, nOut, std::vector<int>{blockSize});
}

// What the parameter code does on a change of "Filter Mode" or "OS Mode":
// FIR length, converters, process bands at the new rate and the impulse.
inline void ApplyModes(EqualizerEngine& engine, ParamMirrors& m, int filterMode, int osFactor) {
  const bool osChanged = m.osFactor != osFactor;
  m.filterMode = filterMode;
  m.osFactor = osFactor;
  if (osChanged) {
    engine.FreeOversampling();
    engine.SetupOversampling();
    engine.DesignProcessBands(-1);
    engine.ResetProcessBands();
  }
  if (filterMode > 0) {
    engine.SetFirLength(FirImpulseBuilder::LengthFor(filterMode, osFactor));
    engine.BuildImpulseResponse();
    engine.UpdateConvolution(true, true);
  }
  engine.DistributeLatency();
}

// A band edit: redesigns and, in the FIR modes, swaps the impulse without
// a reset, as a drag of a band handle does.
inline void ApplyBandEdit(EqualizerEngine& engine, const ParamMirrors& m) {
  engine.DesignDisplayBands(-1);
  engine.DesignProcessBands(-1);
  if (m.filterMode > 0) {
    engine.BuildImpulseResponse();
    engine.UpdateConvolution(false, false);
  }
  engine.DistributeLatency();
}

inline void SetPeak(ParamMirrors& m, int band, double frequencyHz, double gainDb, double q, int chMode = 0) {
  m.bandActive[band] = 1;
  m.bandType[band] = 0;  // "A - Peak"
  m.bandChMode[band] = chMode;
  m.bandFreq[band] = frequencyHz;
  m.bandGain[band] = gainDb;
  m.bandQ[band] = q;
}

// Every section runner variant, and its name for test lists.
inline const SectionKernel kAllSectionKernels[] = {SectionKernel::kPortable, SectionKernel::kSse2,
                                                   SectionKernel::kAvx2, SectionKernel::kAvx512};
inline std::string SectionKernelName(SectionKernel kernel) {
  static const char* const kNames[] = {"Portable", "Sse2", "Avx2", "Avx512"};
  return kNames[static_cast<int>(kernel)];
}

}  // namespace EngineTestSupport
