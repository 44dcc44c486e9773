#pragma once

#include "dsp/filters/BandStopMapping.h"
#include "dsp/filters/Filter.h"
#include "dsp/filters/ParamInfo.h"
#include "dsp/filters/butterworth/DesignStorage.h"
#include "dsp/filters/butterworth/LowPassPrototype.h"

namespace Dsp {
namespace Butterworth {
namespace Design {

// A zero at the centre, -3 dB at the edges, gain 1 at DC; 2N poles in N
// stages.
template <int MaxOrder>
class BandStop1 : public DesignStorage<LowPassPrototype, MaxOrder, MaxOrder, 2 * MaxOrder> {
 public:
  static constexpr int kKind = 1;
  static constexpr const char* kName = "Butterworth Band Stop";
  static constexpr ParamInfoMaker kParamMakers[] = {
      MakeSampleRateParamInfo,
      MakeOrderParamInfo,
      MakeCenterFrequencyParamInfo,
      MakeBandwidthHzParamInfo,
  };
  static constexpr int kNumParams = static_cast<int>(sizeof kParamMakers / sizeof kParamMakers[0]);

  static ParamInfo getParamInfo(int index) { return ParamInfoAt(kParamMakers, index); }

  void configure(int order, double sampleRate, double centerFrequency, double width) {
    this->analog.design(this->ClampOrder(order, MaxOrder));
    BandStopMapping(sampleRate, centerFrequency, width).transform(this->analog, this->digital);
    this->cascade.setLayout(this->digital);
  }

  // Order is params[1]; the others are read as getParamInfo lists them.
  void designFromParams(const Params& p) {
    configure(this->OrderFromParam(p[1], MaxOrder), p[0], p[2], p[3]);
  }
};

}  // namespace Design
}  // namespace Butterworth
}  // namespace Dsp
