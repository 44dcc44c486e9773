#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/IParam.h"
#include "framework/Utilities.h"
#include "rtas/binding/IPlugRTAS.h"
#include "rtas/binding/ParamControls.h"
#include "rtas/binding/ProcessInterface.h"
#include "rtas/library/CPluginControl.h"

// A small plug-in on the RTAS wrapper: a double, an enumeration with texts
// and an integer, stereo, with a gain of 2 as its processing so processed
// and bypassed blocks differ.
class RtasTestPlug : public IPlugRTAS {
 public:
  explicit RtasTestPlug(int latency = 0, int nPresets = 1)
      : IPlugRTAS(3, 3, "1-1 2-2", nPresets, "Test", "", "Kestrelbay", 0x30203, FourCharCode("KB30"),
                  FourCharCode("KBYX"), latency, false, true, false, 0) {
    GetParam(0)->InitDouble("Gain", 0.0, -24.0, 24.0, 0.1);
    GetParam(1)->InitEnum("Mode", 1, 3);
    GetParam(1)->SetDisplayText(0, "Low");
    GetParam(1)->SetDisplayText(1, "Mid");
    GetParam(1)->SetDisplayText(2, "High");
    GetParam(2)->SetType(IParam::kTypeInt);
    GetParam(2)->InitEnum("Steps", 4, 10);
  }
  void OnParamChange(int idx) override { changes.push_back(idx); }
  void ProcessBlock(double** inputs, double** outputs, int nFrames) override {
    blockSizes.push_back(nFrames);
    for (int c = 0; c < 2; ++c) {
      for (int i = 0; i < nFrames; ++i) outputs[c][i] = 2.0 * inputs[c][i];
    }
  }

  std::vector<int> changes;
  std::vector<int> blockSizes;
};

// The process side as the wrapper sees it: one control per parameter after
// a bypass control, every call recorded as "name n".
class FakeProcess : public ProcessInterface {
 public:
  explicit FakeProcess(const IPlugBase& plug) {
    for (int i = 0; i < plug.NParams(); ++i) {
      controls.push_back(paramcontrols::MakeParamControl(*plug.GetParam(i), i, true));
    }
  }
  int32_t SetControlValue(int32_t n, int32_t value) override {
    calls.push_back("value " + std::to_string(n));
    if (CPluginControl* c = FindControl(n)) c->SetValue(value);
    return 0;
  }
  int32_t GetControlValue(int32_t, int32_t*) override { return 0; }
  int32_t GetControlDefaultValue(int32_t, int32_t*) override { return 0; }
  void SetCustomUI(IPlugCustomUI*) override {}
  int32_t TouchControl(int32_t n) override {
    calls.push_back("touch " + std::to_string(n));
    return 0;
  }
  int32_t ReleaseControl(int32_t n) override {
    calls.push_back("release " + std::to_string(n));
    return 0;
  }
  void IdleAndYield() override {}
  int32_t GetProcessWord() override { return 0; }
  int16_t UseResourceFile() override { return 0; }
  void RestoreResourceFile(int16_t) override {}
  int GetHostBlockSize() override { return blockSize; }
  double GetTransportTempo() override { return 0.0; }
  void GetTransportTimeSig(int*, int*) override {}
  int64_t GetTransportSamplePos() override { return 0; }
  void GetTransportTime(ITimeInfo*) override {}
  int GetHostVersion() override { return hostVersion; }
  int32_t RequestResize(int width, int height, bool) override {
    calls.push_back("resize " + std::to_string(width) + "x" + std::to_string(height));
    return 0;
  }
  void BumpChangeCounter() override { calls.push_back("bump"); }
  CPluginControl* FindControl(int32_t n) override {
    return n >= 2 && n - 2 < static_cast<int32_t>(controls.size()) ? controls[n - 2].get() : nullptr;
  }

  std::vector<std::unique_ptr<CPluginControl>> controls;
  std::vector<std::string> calls;
  int blockSize = 512;
  int hostVersion = 0x0A0300;
};
