#pragma once

// A graph wired the way the editor wires it, over band arrays of its own,
// for a plug-in that records what the graph told it.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <tuple>
#include <vector>

#include "editor/display/IScope.h"
#include "framework/IParam.h"
#include "graphics/IGraphics.h"
#include "tests/editor/display/ScopeFakeGraphics.h"
#include "tests/framework/TestPlug.h"

// The texts of band 0's Type, ChMode and Slope, at the indices the editor
// gives the graph.
class ScopeTestPlug : public TestPlug {
 public:
  enum { kTypeParam = 5, kChModeParam = 6, kSlopeParam = 7, kNumParams = 8 };

  // What the plug-in could read while the graph was telling it.
  struct Notification {
    GraphEventRecord event;
    IMouseMod lastMod;
    bool hasGraphics = false;
  };

  ScopeTestPlug() : TestPlug(kNumParams, "1-1") {
    static const char* const kTypes[16] = {
        "A - Peak",      "A - Low Cut",    "A - High Cut",  "A - Low Shelf",  "A - High Shelf", "A - Tilt Shelf",
        "A - Flat Tilt", "A - Band Pass",  "A - Notch",     "D - Peak",       "D - Low Cut",    "D - High Cut",
        "D - Low Shelf", "D - High Shelf", "D - Tilt Shelf", "D - Band Pass"};
    static const char* const kChannels[5] = {"All", "Left", "Right", "Mid", "Side"};
    Define(kTypeParam, "Type 1", kTypes, 16);
    Define(kChModeParam, "ChMode 1", kChannels, 5);
    static char slopes[16][8];
    static const char* slopeTexts[16];
    for (int i = 0; i < 16; ++i) {
      std::snprintf(slopes[i], sizeof slopes[i], "%2d dB", 6 * (i + 1));
      slopeTexts[i] = slopes[i];
    }
    Define(kSlopeParam, "Slope 1", slopeTexts, 16);
    AttachGraphics(new ScopeFakeGraphics(this));
  }
  // The idle thread reaches into this object.
  ~ScopeTestPlug() override { DeleteGraphics(); }

  ScopeFakeGraphics* Gui() const { return static_cast<ScopeFakeGraphics*>(GetGUI()); }

  void OnParamChange(int idx) override {
    TestPlug::OnParamChange(idx);
    if (idx != mScopeTag || !mScope) return;
    Notification n;
    n.event = mScope->mEvent;
    if (const IGraphics* graphics = GetGUI()) {
      n.lastMod = graphics->mLastMouseMod;
      n.hasGraphics = true;
    }
    mNotes.push_back(n);
    if (mDuringNotify) mDuringNotify();
  }

  IScope* mScope = nullptr;
  int mScopeTag = 141;
  std::vector<Notification> mNotes;
  // Acts as the plug-in would while the graph waits for it.
  std::function<void()> mDuringNotify;

 private:
  void Define(int idx, const char* name, const char* const* texts, int n) {
    IParam* param = GetParam(idx);
    param->InitEnum(name, 0, n);
    for (int i = 0; i < n; ++i) param->SetDisplayText(i, texts[i]);
  }
};

// Rectangles compare (and print) as their four edges.
inline std::tuple<int, int, int, int> Edges(const IRECT& r) { return {r.L, r.T, r.R, r.B}; }

// The number of gesture flags set: one while the graph tells the plug-in,
// none in between.
inline int EventFlagsSet(const GraphEventRecord& e) {
  return e.mEvDown + e.mEvMenu + e.mEvDblClick + e.mEvDrag + e.mEvWheel + e.mEvUp + e.mEvHover;
}

class ScopeFixture : public ::testing::Test {
 protected:
  static constexpr int kTag = 141;

  ScopeFixture() {
    plug.mScope = &scope;
    for (int i = 0; i < IScope::kMaxBands; ++i) {
      freq[i] = 1000.0;
      q[i] = 0.7;
    }
    scope.mNumBands = IScope::kMaxBands;
    scope.mBandActive = active;
    scope.mBandType = type;
    scope.mBandChMode = chMode;
    scope.mBandSlope = slope;
    scope.mBandSolo = solo;
    scope.mBandGain = gain;
    scope.mBandFreq = freq;
    scope.mBandQ = q;
    // As the plug-in's first parameter pass leaves the ranges.
    scope.RecomputeRanges();
  }

  // Band b, active, at the frequency and gain given, its handle placed.
  void PlaceBand(int b, double frequencyHz, double gainDb, int bandType = 0) {
    active[b] = 1;
    freq[b] = frequencyHz;
    gain[b] = gainDb;
    type[b] = bandType;
    scope.UpdateBandHandles();
  }

  const ScopeTestPlug::Notification& OnlyNote() const {
    EXPECT_EQ(plug.mNotes.size(), 1u);
    return plug.mNotes.back();
  }

  ScopeTestPlug plug;
  IScope scope{&plug, IRECT(92, 84, 789, 428), kTag, 10.0, 30000.0, 48000.0};
  int active[IScope::kMaxBands] = {};
  int type[IScope::kMaxBands] = {};
  int chMode[IScope::kMaxBands] = {};
  int slope[IScope::kMaxBands] = {};
  int solo[IScope::kMaxBands] = {};
  double gain[IScope::kMaxBands] = {};
  double freq[IScope::kMaxBands] = {};
  double q[IScope::kMaxBands] = {};
};
