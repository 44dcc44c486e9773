#pragma once

#include <utility>
#include <vector>

#include "framework/IPlugBase.h"
#include "framework/Utilities.h"

// A plug-in object with no host: records what it tells the host and which
// parameters changed.
class TestPlug : public IPlugBase {
 public:
  TestPlug(int nParams, const char* channels, int latency = 0, int api = kAPIRTAS, int nPresets = 0)
      : IPlugBase(nParams, channels, nPresets, "Effect", "Product", "Maker", 0x010203, FourCharCode("TEST"), FourCharCode("MAKR"), latency, false,
                  false, false, api) {}

  void NotifyHostParamBegin(int) override {}
  void NotifyHostParamValue(int idx, double normalized) override { mHostValues.emplace_back(idx, normalized); }
  void NotifyHostParamEnd(int) override {}
  void NotifyHostAllParams() override {}
  int GetSamplePos() override { return 0; }
  double GetTempo() override { return 120.0; }
  void GetTimeSig(int*, int*) override {}
  void GetTime(ITimeInfo*) override {}
  bool ResizeGraphics(int, int, bool) override { return false; }
  void OnParamChange(int idx) override {
    IPlugBase::OnParamChange(idx);
    mChanged.push_back(idx);
  }
  bool IsStateAccessAllowed(int kind) override { return !(kind >= 0 && kind < 8 && mDeniedAccess[kind]); }
  void OnPresetRestored() override { ++mPresetsRestored; }

  using IPlugBase::SetLatencyDelayLine;

  std::vector<std::pair<int, double>> mHostValues;
  std::vector<int> mChanged;
  bool mDeniedAccess[8] = {};
  int mPresetsRestored = 0;
};
