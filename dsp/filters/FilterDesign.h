#pragma once

#include "dsp/filters/DirectFormII.h"
#include "dsp/filters/FilterDesignBase.h"

namespace Dsp {

// The concrete filter: a design with the processing state of Channels
// channels, one StateType per stage of the design's capacity. Everything
// lives inside the object; nothing is allocated after construction.
//
//   Dsp::FilterDesign<Dsp::Butterworth::Design::LowPass<16>, 1, Dsp::DirectFormII> f;
//   Dsp::Params p{48000.0, 4.0, 1000.0};  // sample rate, order, cut-off
//   f.setParams(p);
//   double* channels[1] = {samples};
//   f.process(n, channels);
template <class DesignClass, int Channels = 1, class StateType = DirectFormII>
class FilterDesign : public FilterDesignBase<DesignClass> {
  static_assert(Channels >= 1, "a filter has at least one channel");

 public:
  FilterDesign() { reset(); }

  int getNumChannels() const override { return Channels; }

  void reset() override {
    for (auto& channel : mState) {
      for (StateType& stage : channel) stage.reset();
    }
  }

  void process(int numSamples, float* const* arrayOfChannels) override {
    processChannels(numSamples, arrayOfChannels);
  }
  void process(int numSamples, double* const* arrayOfChannels) override {
    processChannels(numSamples, arrayOfChannels);
  }

 private:
  // All arithmetic is in double; float samples are converted on the way in
  // and out. A design with no stage yet (never designed) passes samples
  // through unchanged instead of running undefined coefficients.
  template <class Sample>
  void processChannels(int numSamples, Sample* const* arrayOfChannels) {
    const Cascade& cascade = this->mDesign.getCascade();
    const int stageCount = cascade.getNumStages();
    if (numSamples < 1 || !arrayOfChannels || stageCount < 1) return;
    const BiquadStage first = cascade[0];
    for (int c = 0; c < Channels; ++c) {
      Sample* samples = arrayOfChannels[c];
      if (!samples) continue;
      StateType* state = mState[c];
      for (int i = 0; i < numSamples; ++i) {
        double y = state[0].process1(static_cast<double>(samples[i]), first);
        for (int s = 1; s < stageCount; ++s) y = state[s].process1(y, cascade[s]);
        samples[i] = static_cast<Sample>(y);
      }
    }
  }

  StateType mState[Channels][DesignClass::kMaxStages];
};

}  // namespace Dsp
