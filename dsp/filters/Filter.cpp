#include "dsp/filters/Filter.h"

namespace Dsp {

Filter::~Filter() = default;

void Filter::setParams(const Params& parameters) {
  params = parameters;
  designFromParams(params);
}

}  // namespace Dsp
