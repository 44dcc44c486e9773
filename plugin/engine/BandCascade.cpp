#include "plugin/engine/BandCascade.h"

#include "plugin/engine/BandProcessing.h"
#include "plugin/engine/BandTypes.h"

namespace {

void PackLane(SectionPair& p, int lane, const BiquadSection& s) {
  p.b0[lane] = s.b0n;
  p.b1[lane] = s.b1n;
  p.b2[lane] = s.b2n;
  p.a1[lane] = s.a1n;
  p.a2[lane] = s.a2n;
  p.x1[lane] = s.x1;
  p.x2[lane] = s.x2;
  p.y1[lane] = s.y1;
  p.y2[lane] = s.y2;
}

// A lane without a section: zero coefficients give the offset alone, so
// whatever the scratch buffer holds stays small and finite.
void ClearLane(SectionPair& p, int lane) {
  p.b0[lane] = p.b1[lane] = p.b2[lane] = p.a1[lane] = p.a2[lane] = 0.0;
  p.x1[lane] = p.x2[lane] = p.y1[lane] = p.y2[lane] = 0.0;
}

// The state a section keeps after its last step (x0 and y0 repeat x1 and y1).
void StoreLane(const SectionPair& p, int lane, BiquadSection& s) {
  s.x1 = s.x0 = p.x1[lane];
  s.x2 = p.x2[lane];
  s.y1 = s.y0 = p.y1[lane];
  s.y2 = p.y2[lane];
}

// A first-order low-pass at twice the rate: two steps on each held sample.
void RunTwice(SectionPair& p, int lane, double* samples, int n) {
  const double b0 = p.b0[lane], b1 = p.b1[lane], b2 = p.b2[lane], a1 = p.a1[lane], a2 = p.a2[lane];
  double x1 = p.x1[lane], x2 = p.x2[lane], y1 = p.y1[lane], y2 = p.y2[lane];
  for (int i = 0; i < n; ++i) {
    const double x = samples[i] + kDenormalOffset;
    for (int step = 0; step < 2; ++step) {
      const double y = ((b1 * x1 + b0 * x) + b2 * x2) - a1 * y1 - a2 * y2 + kDenormalOffset;
      x2 = x1;
      x1 = x;
      y2 = y1;
      y1 = y;
    }
    samples[i] = y1;
  }
  p.x1[lane] = x1;
  p.x2[lane] = x2;
  p.y1[lane] = y1;
  p.y2[lane] = y2;
}

}  // namespace

BandCascade::BandCascade() { SetKernel(BestSectionKernel()); }

void BandCascade::SetKernel(SectionKernel kernel) {
  mKernel = IsSectionKernelAvailable(kernel) ? kernel : BestSectionKernel();
  mRunner = GetSectionRunner(mKernel);
}

void BandCascade::AddOp(int channel, int kind, BiquadSection* section, Dsp::Filter* design, double factor) {
  int& count = mOpCount[channel];
  if (count < kMaxOps) mOps[channel][count++] = Op{kind, section, design, factor};
}

// What ProcessBandSample does to one sample, as a list of operations.
void BandCascade::AddBand(int channel, BandFilter& band) {
  if (band.mMode == BandFilter::kModeDesigns) {
    AddOp(channel, kDesign, nullptr, band.mDesignSet1[band.mIndexA].get(), 1.0);
    if (BandUsesSecondDesign(band.mType)) AddOp(channel, kDesign, nullptr, band.mDesignSet2[band.mIndexB].get(), 1.0);
    return;
  }
  if (band.mMode != BandFilter::kModeSections) return;
  ForEachRunningSection(band, [&](BiquadSection& s) {
    AddOp(channel, s.kind == kSectionLowPass1Twice ? kSectionTwice : kSection, &s, nullptr, 1.0);
  });
  if (band.mType == kTypeAFlatTilt) AddOp(channel, kGain, nullptr, nullptr, band.mOutputFactor);
}

void BandCascade::Collect(const BandChain& chain, int pass, BandFilter* firstBank, BandFilter* secondBank) {
  mOpCount[0] = mOpCount[1] = 0;
  const BandChain::Entry* entries = chain.Entries(pass);
  for (int i = 0; i < chain.Count(pass); ++i) {
    const BandChain::Entry e = entries[i];
    if (e.channel != BandChain::kSecondOnly) AddBand(0, firstBank[e.band]);
    if (e.channel != BandChain::kFirstOnly) AddBand(1, secondBank[e.band]);
  }
}

void BandCascade::AddSlot(int lanes, const Op* first, const Op* second) {
  Slot& slot = mSlots[mSlotCount++];
  slot.kind = first ? first->kind : second->kind;
  slot.lanes = lanes;
  slot.op[0] = first ? *first : Op{};
  slot.op[1] = second ? *second : Op{};
  slot.pair = -1;
  if (slot.kind != kSection && slot.kind != kSectionTwice) return;
  slot.pair = mPairCount++;
  SectionPair& p = mPairs[slot.pair];
  for (int c = 0; c < 2; ++c) {
    if (lanes & (1 << c)) {
      PackLane(p, c, *slot.op[c].section);
    } else {
      ClearLane(p, c);
    }
  }
}

// Pairs the two lists in order. Where the kinds differ, the one that is not
// a plain section goes alone, so the long runs of sections stay paired.
void BandCascade::LayOutSlots() {
  mSlotCount = mPairCount = 0;
  int i = 0, j = 0;
  const int n0 = mOpCount[0], n1 = mOpCount[1];
  while (i < n0 || j < n1) {
    const Op* a = i < n0 ? &mOps[0][i] : nullptr;
    const Op* b = j < n1 ? &mOps[1][j] : nullptr;
    if (a && b && a->kind == b->kind) {
      AddSlot(3, a, b);
      ++i;
      ++j;
    } else if (a && (!b || a->kind != kSection)) {
      AddSlot(1, a, nullptr);
      ++i;
    } else {
      AddSlot(2, nullptr, b);
      ++j;
    }
  }
}

void BandCascade::RunSlots(double* first, double* second, double* scratch, int n) {
  for (int s = 0; s < mSlotCount;) {
    const Slot& slot = mSlots[s];
    double* lane0 = (slot.lanes & 1) ? first : scratch;
    double* lane1 = (slot.lanes & 2) ? second : scratch;
    if (slot.kind == kSection) {
      // The run of section slots on the same lanes: their pairs are consecutive.
      int end = s + 1;
      while (end < mSlotCount && mSlots[end].kind == kSection && mSlots[end].lanes == slot.lanes) ++end;
      mRunner(mPairs + slot.pair, end - s, lane0, lane1, n);
      s = end;
      continue;
    }
    double* channels[2] = {first, second};
    for (int c = 0; c < 2; ++c) {
      if (!(slot.lanes & (1 << c))) continue;
      double* samples = channels[c];
      switch (slot.kind) {
        case kSectionTwice: RunTwice(mPairs[slot.pair], c, samples, n); break;
        case kGain:
          for (int i = 0; i < n; ++i) samples[i] *= slot.op[c].factor;
          break;
        default: slot.op[c].design->process(n, &samples); break;
      }
    }
    ++s;
  }
}

void BandCascade::StoreStates() {
  for (int s = 0; s < mSlotCount; ++s) {
    const Slot& slot = mSlots[s];
    if (slot.pair < 0) continue;
    for (int c = 0; c < 2; ++c) {
      if (slot.lanes & (1 << c)) StoreLane(mPairs[slot.pair], c, *slot.op[c].section);
    }
  }
}

void BandCascade::Run(const BandChain& chain, int pass, BandFilter* firstBank, BandFilter* secondBank, double* first,
                      double* second, double* scratch, int n) {
  if (n < 1) return;
  Collect(chain, pass, firstBank, secondBank);
  LayOutSlots();
  RunSlots(first, second, scratch, n);
  StoreStates();
}
