#pragma once

#include "plugin/engine/BandFilter.h"
#include "plugin/engine/BandProcessing.h"
#include "plugin/engine/ParamMirrors.h"

// The order in which the twelve bands act on a pair of samples, taken from
// the mirrors once per block (or per impulse build) so that the block
// cascade and the per-sample loops visit only the bands that act.
//
// A band acts when it is active and, while any band is soloed, soloed too.
// Pass 1 runs the "All", "Left" and "Right" bands on (first, second) =
// (left, right); pass 2 the "Mid" and "Side" bands on (mid, side). Each
// band object is run by one pass only, so the two passes share the banks.
class BandChain {
 public:
  // Fills both passes from the mirrors.
  void Select(const ParamMirrors& mirrors);

  bool HasPass2() const { return mPass2Count > 0; }

  // Which bank objects a band entry runs: both, or only the first's or the
  // second's.
  enum EChannel { kBoth = 0, kFirstOnly = 1, kSecondOnly = 2 };
  struct Entry {
    int band;
    int channel;
  };
  // pass 1 or 2: its entries in running order.
  int Count(int pass) const { return pass == 2 ? mPass2Count : mPass1Count; }
  const Entry* Entries(int pass) const { return pass == 2 ? mPass2 : mPass1; }

  // One frame at a time: first runs the "first" bank's objects (left or
  // mid), second the "second" bank's (right or side). The plain form of what
  // BandCascade runs per block.
  void RunPass1(BandFilter* firstBank, BandFilter* secondBank, double& first, double& second) const {
    for (int i = 0; i < mPass1Count; ++i) {
      const Entry e = mPass1[i];
      if (e.channel != kSecondOnly) first = ProcessBandSample(firstBank[e.band], first);
      if (e.channel != kFirstOnly) second = ProcessBandSample(secondBank[e.band], second);
    }
  }
  void RunPass2(BandFilter* firstBank, BandFilter* secondBank, double& mid, double& side) const {
    for (int i = 0; i < mPass2Count; ++i) {
      const Entry e = mPass2[i];
      if (e.channel == kFirstOnly) {
        mid = ProcessBandSample(firstBank[e.band], mid);
      } else {
        side = ProcessBandSample(secondBank[e.band], side);
      }
    }
  }

 private:
  Entry mPass1[kNumBands] = {};
  Entry mPass2[kNumBands] = {};
  int mPass1Count = 0;
  int mPass2Count = 0;
};
