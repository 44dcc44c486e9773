#include "rtas/library/ResultCodes.h"

const SResultCode kResultCodes[] = {
#define BRIMLOW_DAE_RESULT_ROW(name, code, meaning) {code, &#name[1], meaning},  // the name without its k
    BRIMLOW_DAE_RESULT_CODES(BRIMLOW_DAE_RESULT_ROW)
#undef BRIMLOW_DAE_RESULT_ROW
};

const size_t kResultCodeCount = sizeof(kResultCodes) / sizeof(kResultCodes[0]);

const SResultCode* FindResultCode(int32_t code) {
  for (size_t i = 0; i < kResultCodeCount; ++i) {
    if (kResultCodes[i].mCode == code) return &kResultCodes[i];
  }
  return nullptr;
}
