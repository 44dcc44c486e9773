#pragma once

#include "dsp/filters/Filter.h"
#include "plugin/engine/BandChain.h"
#include "plugin/engine/BandFilter.h"
#include "plugin/engine/SectionPair.h"
#include "plugin/engine/SectionRunner.h"

// One pass of the band chain, a block at a time, with the result of the
// per-sample loop (BandChain::RunPass1 and RunPass2) bit for bit.
//
// Each channel's bands are flattened once per block into the operations
// they perform in turn: section steps, the doubly stepped first-order
// sections, the "A - Flat Tilt" output factor and the "D - " designs. The two
// channels' lists are then laid side by side in slots: the two channels
// never meet inside a pass, so a left operation may share a slot with any
// right operation of its kind, whichever bands they come from. Runs of
// section slots go to the section runner (both channels at once, several
// sections in flight); the rest run over the block one slot at a time.
// A slot with one channel only runs its idle lane on a scratch buffer.
class BandCascade {
 public:
  BandCascade();

  // The runner variant; the fastest available unless a test or a benchmark
  // asks for another.
  void SetKernel(SectionKernel kernel);
  SectionKernel GetKernel() const { return mKernel; }

  // Runs pass 1 or 2 of the chain over n frames of first and second in
  // place, carrying on the states of the bank objects it runs. scratch
  // holds n doubles the pass may overwrite. No allocation, no lock.
  void Run(const BandChain& chain, int pass, BandFilter* firstBank, BandFilter* secondBank, double* first,
           double* second, double* scratch, int n);

 private:
  enum EKind { kSection = 0, kSectionTwice = 1, kGain = 2, kDesign = 3 };
  struct Op {
    int kind;
    BiquadSection* section;
    Dsp::Filter* design;
    double factor;
  };
  // lanes: bit 0 the first channel, bit 1 the second; op[c] is valid when
  // bit c is set. pair: the slot's SectionPair for the two section kinds.
  struct Slot {
    int kind;
    int lanes;
    Op op[2];
    int pair;
  };

  // The most operations one channel's pass can hold: every band at its
  // longest, sixteen sections and an output factor.
  static constexpr int kMaxOps = kNumBands * (BandFilter::kMaxStages + 1);

  void Collect(const BandChain& chain, int pass, BandFilter* firstBank, BandFilter* secondBank);
  void AddBand(int channel, BandFilter& band);
  void AddOp(int channel, int kind, BiquadSection* section, Dsp::Filter* design, double factor);
  void LayOutSlots();
  void AddSlot(int lanes, const Op* first, const Op* second);
  void RunSlots(double* first, double* second, double* scratch, int n);
  void StoreStates();

  Op mOps[2][kMaxOps];
  int mOpCount[2] = {0, 0};
  Slot mSlots[2 * kMaxOps];
  int mSlotCount = 0;
  SectionPair mPairs[2 * kMaxOps];
  int mPairCount = 0;
  SectionKernel mKernel;
  SectionRunner mRunner;
};
