#pragma once

#include "dsp/filters/HighPassMapping.h"
#include "dsp/filters/Filter.h"
#include "dsp/filters/ParamInfo.h"
#include "dsp/filters/butterworth/DesignStorage.h"
#include "dsp/filters/butterworth/ShelfPrototype.h"

namespace Dsp {
namespace Butterworth {
namespace Design {

// The gain at Nyquist, half of it (in dB) at the corner, 1 at DC.
template <int MaxOrder>
class HighShelf : public DesignStorage<ShelfPrototype, (MaxOrder + 1) / 2, MaxOrder, MaxOrder> {
 public:
  static constexpr int kKind = 5;
  static constexpr const char* kName = "Butterworth High Shelf";
  static constexpr ParamInfoMaker kParamMakers[] = {
      MakeSampleRateParamInfo,
      MakeOrderParamInfo,
      MakeCutoffFrequencyParamInfo,
      MakeGainParamInfo,
  };
  static constexpr int kNumParams = static_cast<int>(sizeof kParamMakers / sizeof kParamMakers[0]);

  static ParamInfo getParamInfo(int index) { return ParamInfoAt(kParamMakers, index); }

  void configure(int order, double sampleRate, double cutoffFrequency, double gainDb) {
    this->analog.design(this->ClampOrder(order, MaxOrder), gainDb);
    HighPassMapping(cutoffFrequency / sampleRate).transform(this->analog, this->digital);
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
