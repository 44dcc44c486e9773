#pragma once

#include <array>
#include <complex>
#include <vector>

#include "dsp/filters/ParamInfo.h"
#include "dsp/filters/PoleZeroEntry.h"

namespace Dsp {

constexpr int kMaxParameters = 8;
// A design's parameter vector; the meaning of each index is the design's.
using Params = std::array<double, kMaxParameters>;

// Abstract filter: a design plus its processing state. The order of the
// virtual operations is the one every design shares.
class Filter {
 public:
  Filter() = default;
  Filter(const Filter&) = delete;
  Filter& operator=(const Filter&) = delete;
  virtual ~Filter();

  virtual int getKind() const = 0;
  virtual const char* getName() const = 0;
  virtual int getNumParams() const = 0;
  // Throws std::logic_error("invalid usage of ParamInfo") for an index the
  // design does not define.
  virtual ParamInfo getParamInfo(int index) const = 0;
  // The digital layout's entries in use.
  virtual std::vector<PoleZeroEntry> getPoleZeros() const = 0;
  // Complex response at a normalised frequency (cycles per sample).
  virtual std::complex<double> response(double normalizedFrequency) const = 0;
  virtual int getNumChannels() const = 0;
  // Clears the processing state of every stage of the capacity.
  virtual void reset() = 0;
  // Process each channel in place; a count below 1 changes nothing.
  virtual void process(int numSamples, float* const* arrayOfChannels) = 0;
  virtual void process(int numSamples, double* const* arrayOfChannels) = 0;
  virtual void designFromParams(const Params& parameters) = 0;

  // Stores the parameters and redesigns. The processing state is kept, so a
  // running filter changes its response without a click from a reset.
  void setParams(const Params& parameters);
  const Params& getParams() const { return params; }

 protected:
  Params params{};
};

}  // namespace Dsp
