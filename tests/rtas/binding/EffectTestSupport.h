#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "rtas/binding/CEffectGroup.h"
#include "rtas/binding/CEffectProcessRTAS.h"
#include "rtas/binding/CEffectType.h"
#include "rtas/library/CPluginControl_Linear.h"
#include "rtas/library/CPluginControl_OnOff.h"
#include "rtas/library/FourCC.h"
#include "tests/rtas/library/ProcessTestSupport.h"

// A small effect for the effect layer's tests: a master bypass, a gain
// (continuous) and a mode (discrete). Each rendered frame is half its input
// plus its position in the piece it was rendered in, so a block's output
// shows how it was split.
class TestEffectProcess : public CEffectProcessRTAS {
 public:
  static constexpr uint32_t kBypassID = FourCC("bypa");
  static constexpr uint32_t kGainID = FourCC("gain");
  static constexpr uint32_t kModeID = FourCC("mode");

  void SetUpControls() override {
    AddControl(new CPluginControl_OnOff(kBypassID, "Master Bypass", 0, true));
    AddControl(new CPluginControl_Linear(kGainID, "Gain", -24.0, 24.0, 0.1, 0.0, true, nullptr, nullptr));
    AddControl(new CPluginControl_Discrete(kModeID, "Mode", 0, 10, 3, true));
    SetMasterBypassControl(1);
  }
  CProcessView* CreateView() override { return new FakeView(FourCC("root"), nullptr); }
  void RenderAudio(float** inputs, float** outputs, int32_t frames) override {
    if (mThrows) throw std::runtime_error("block");
    ++mBlocks;
    mLongestPiece = frames > mLongestPiece ? frames : mLongestPiece;
    for (int32_t c = 0; c < GetIOChannelCount(); ++c) {
      for (int32_t i = 0; i < frames; ++i) outputs[c][i] = inputs[c][i] * 0.5f + static_cast<float>(i);
    }
  }

  static float Expected(float input, int32_t frame, int32_t blockSize) {
    return input * 0.5f + static_cast<float>(frame % blockSize);
  }

  bool mThrows = false;
  int32_t mBlocks = 0;
  int32_t mLongestPiece = 0;
};

inline CProcess* CreateTestEffectProcess() { return new TestEffectProcess; }

// The group: manufacturer 'KBYX', product number 3, one RTAS type per
// channel layout ('EFN1' mono, 'EFN2' stereo), each counting the host's
// frames (feature 48).
class TestEffectGroup : public CEffectGroup {
 public:
  static constexpr uint32_t kManufacturer = FourCC("KBYX");
  static constexpr uint32_t kUniqueID = FourCC("KB30");

  TestEffectGroup() {
    SetManufacturer("Kestrelbay\nKBay", kManufacturer);
    SetProduct("Brimlow", 3);
    AddGroupFeature(14);
  }
  void CreateEffectTypes() override {
    const int32_t stems[2] = {0, 1};
    const uint32_t ids[2] = {FourCC("EFN1"), FourCC("EFN2")};
    for (int i = 0; i < 2; ++i) {
      auto type = std::make_unique<CEffectTypeRTAS>(ids[i], kUniqueID, 1);
      type->SetTypeName("Brimlow\nBrim");
      type->SetTypeWord(6);
      type->SetStemFormats(stems[i], stems[i], 0);
      type->AddTypeFeature(48);
      type->SetProcessCreator(CreateTestEffectProcess);
      AddEffectType(std::move(type));
    }
  }
};
