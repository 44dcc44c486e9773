#pragma once

#include "dsp/filters/HighPassMapping.h"
#include "dsp/filters/Filter.h"
#include "dsp/filters/ParamInfo.h"
#include "dsp/filters/butterworth/DesignStorage.h"
#include "dsp/filters/butterworth/LowPassPrototype.h"

namespace Dsp {
namespace Butterworth {
namespace Design {

// Normalised to magnitude 1 at Nyquist. At odd orders the first-order stage's
// numerator is -1 + z^-1, so the pass band is inverted in sign.
template <int MaxOrder>
class HighPass : public DesignStorage<LowPassPrototype, (MaxOrder + 1) / 2, MaxOrder, MaxOrder> {
 public:
  static constexpr int kKind = 1;
  static constexpr const char* kName = "Butterworth High Pass";
  static constexpr ParamInfoMaker kParamMakers[] = {
      MakeSampleRateParamInfo,
      MakeOrderParamInfo,
      MakeCutoffFrequencyParamInfo,
  };
  static constexpr int kNumParams = static_cast<int>(sizeof kParamMakers / sizeof kParamMakers[0]);

  static ParamInfo getParamInfo(int index) { return ParamInfoAt(kParamMakers, index); }

  void configure(int order, double sampleRate, double cutoffFrequency) {
    this->analog.design(this->ClampOrder(order, MaxOrder));
    HighPassMapping(cutoffFrequency / sampleRate).transform(this->analog, this->digital);
    this->cascade.setLayout(this->digital);
  }

  // Order is params[1]; the others are read as getParamInfo lists them.
  void designFromParams(const Params& p) {
    configure(this->OrderFromParam(p[1], MaxOrder), p[0], p[2]);
  }
};

}  // namespace Design
}  // namespace Butterworth
}  // namespace Dsp
