#include "graphics/controls/IParameterButtonExtHz.h"

#include <cstdio>

#include "framework/IParam.h"

void IParameterButtonExtHz::GetValueText(char* buf, int bufSize) const {
  if (!buf || bufSize < 1) return;
  buf[0] = '\0';
  const IParam* param = DisplayParam();
  if (!param) return;
  const double hz = param->Value();
  int decimals = 0;
  if (hz < 100.0) {
    decimals = 3;
  } else if (hz < 1000.0) {
    decimals = 2;
  } else if (hz < 10000.0) {
    decimals = 1;
  }
  std::snprintf(buf, static_cast<size_t>(bufSize), "%.*f", decimals, hz);
}
