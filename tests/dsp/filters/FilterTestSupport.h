#pragma once

#include <cmath>
#include <complex>
#include <memory>

#include "dsp/filters/butterworth/Butterworth.h"

namespace FilterTestSupport {

enum class Kind { LowPass, HighPass, LowShelf, HighShelf, BandPass, BandStop, BandShelf };

struct Made {
  std::unique_ptr<Dsp::Filter> filter;
  const Dsp::Cascade* cascade;
};

template <class Design>
Made MakeDesign() {
  auto filter = std::make_unique<Dsp::FilterDesign<Design, 1, Dsp::DirectFormII>>();
  const Dsp::Cascade* cascade = &filter->getCascade();
  return {std::move(filter), cascade};
}

inline Made Make(Kind kind) {
  namespace D = Dsp::Butterworth::Design;
  switch (kind) {
    case Kind::LowPass: return MakeDesign<D::LowPass<16>>();
    case Kind::HighPass: return MakeDesign<D::HighPass<16>>();
    case Kind::LowShelf: return MakeDesign<D::LowShelf<16>>();
    case Kind::HighShelf: return MakeDesign<D::HighShelf<16>>();
    case Kind::BandPass: return MakeDesign<D::BandPass1<16>>();
    case Kind::BandStop: return MakeDesign<D::BandStop1<16>>();
    case Kind::BandShelf: return MakeDesign<D::BandShelf1<16>>();
  }
  return {};
}

// The parameter vector in the order each design reads it.
inline Dsp::Params ParamsFor(Kind kind, double order, double sampleRate, double frequency, double width,
                             double gainDb) {
  switch (kind) {
    case Kind::LowPass:
    case Kind::HighPass: return {sampleRate, order, frequency};
    case Kind::LowShelf:
    case Kind::HighShelf: return {sampleRate, order, frequency, gainDb};
    case Kind::BandPass:
    case Kind::BandStop: return {sampleRate, order, frequency, width};
    case Kind::BandShelf: return {sampleRate, order, frequency, width, gainDb};
  }
  return {};
}

// H(e^jw) from the stage coefficients, each stage written over positive
// powers of z: (b0 z^2 + b1 z + b2) / (z^2 + a1 z + a2).
inline std::complex<double> StageResponse(const Dsp::Cascade& cascade, double w) {
  const std::complex<double> z = std::polar(1.0, w);
  std::complex<double> h(1.0, 0.0);
  for (int i = 0; i < cascade.getNumStages(); ++i) {
    const Dsp::BiquadStage& s = cascade[i];
    h *= (s.b0 * z * z + s.b1 * z + s.b2) / (z * z + s.a1 * z + s.a2);
  }
  return h;
}

inline double StageMagnitudeDb(const Dsp::Cascade& cascade, double w) {
  return 20.0 * std::log10(std::abs(StageResponse(cascade, w)));
}

}  // namespace FilterTestSupport
