#pragma once

#include "dsp/filters/BandPassMapping.h"
#include "dsp/filters/Filter.h"
#include "dsp/filters/ParamInfo.h"
#include "dsp/filters/butterworth/DesignStorage.h"
#include "dsp/filters/butterworth/LowPassPrototype.h"

namespace Dsp {
namespace Butterworth {
namespace Design {

// Gain 1 at the centre, -3 dB at the edges centre / (1 + 1/width) and
// centre x (1 + 1/width); 2N poles in N stages. The width is the one
// "Bandwidth (Hz)" parameter, used as a ratio.
template <int MaxOrder>
class BandPass1 : public DesignStorage<LowPassPrototype, MaxOrder, MaxOrder, 2 * MaxOrder> {
 public:
  static constexpr int kKind = 1;
  static constexpr const char* kName = "Butterworth Band Pass";
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
    BandPassMapping(sampleRate, centerFrequency, width).transform(this->analog, this->digital);
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
