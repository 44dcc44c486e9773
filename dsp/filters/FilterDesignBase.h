#pragma once

#include <vector>

#include "dsp/filters/Cascade.h"
#include "dsp/filters/Filter.h"

namespace Dsp {

// A filter around one design (see dsp/filters/butterworth/): everything but
// the processing state, which FilterDesign adds.
template <class DesignClass>
class FilterDesignBase : public Filter {
 public:
  int getKind() const override { return DesignClass::kKind; }
  const char* getName() const override { return DesignClass::kName; }
  int getNumParams() const override { return DesignClass::kNumParams; }
  ParamInfo getParamInfo(int index) const override { return DesignClass::getParamInfo(index); }

  std::vector<PoleZeroEntry> getPoleZeros() const override {
    const PoleZeroLayout& layout = mDesign.getDigitalLayout();
    std::vector<PoleZeroEntry> entries;
    entries.reserve(static_cast<size_t>(layout.getNumEntries()));
    for (int i = 0; i < layout.getNumEntries(); ++i) entries.push_back(layout[i]);
    return entries;
  }

  std::complex<double> response(double normalizedFrequency) const override {
    return mDesign.getCascade().response(normalizedFrequency);
  }

  void designFromParams(const Params& parameters) override { mDesign.designFromParams(parameters); }

  const DesignClass& getDesign() const { return mDesign; }
  const Cascade& getCascade() const { return mDesign.getCascade(); }

 protected:
  DesignClass mDesign;
};

}  // namespace Dsp
