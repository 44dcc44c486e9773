#pragma once

#include "dsp/filters/LowPassMapping.h"
#include "dsp/filters/Filter.h"
#include "dsp/filters/ParamInfo.h"
#include "dsp/filters/butterworth/DesignStorage.h"
#include "dsp/filters/butterworth/LowPassPrototype.h"

namespace Dsp {
namespace Butterworth {
namespace Design {

// Normalised to gain 1 at DC; (N + 1) / 2 stages, the odd pole giving a
// first-order last stage.
template <int MaxOrder>
class LowPass : public DesignStorage<LowPassPrototype, (MaxOrder + 1) / 2, MaxOrder, MaxOrder> {
 public:
  static constexpr int kKind = 0;
  static constexpr const char* kName = "Butterworth Low Pass";
  static constexpr ParamInfoMaker kParamMakers[] = {
      MakeSampleRateParamInfo,
      MakeOrderParamInfo,
      MakeCutoffFrequencyParamInfo,
  };
  static constexpr int kNumParams = static_cast<int>(sizeof kParamMakers / sizeof kParamMakers[0]);

  static ParamInfo getParamInfo(int index) { return ParamInfoAt(kParamMakers, index); }

  void configure(int order, double sampleRate, double cutoffFrequency) {
    this->analog.design(this->ClampOrder(order, MaxOrder));
    LowPassMapping(cutoffFrequency / sampleRate).transform(this->analog, this->digital);
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
