#include "plugin/engine/BandChain.h"

#include "plugin/engine/BandTypes.h"

void BandChain::Select(const ParamMirrors& m) {
  bool anySolo = false;
  for (int b = 0; b < kNumBands; ++b) anySolo = anySolo || m.bandSolo[b] != 0;
  mPass1Count = mPass2Count = 0;
  for (int b = 0; b < kNumBands; ++b) {
    if (!(m.bandActive[b] > 0)) continue;
    if (anySolo && !(m.bandSolo[b] > 0)) continue;
    switch (m.bandChMode[b]) {
      case kChannelAll: mPass1[mPass1Count++] = {b, kBoth}; break;
      case kChannelLeft: mPass1[mPass1Count++] = {b, kFirstOnly}; break;
      case kChannelRight: mPass1[mPass1Count++] = {b, kSecondOnly}; break;
      case kChannelMid: mPass2[mPass2Count++] = {b, kFirstOnly}; break;
      case kChannelSide: mPass2[mPass2Count++] = {b, kSecondOnly}; break;
      default: break;  // a channel mode outside the list acts nowhere
    }
  }
}
