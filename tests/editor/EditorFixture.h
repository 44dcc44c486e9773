#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "graphics/IGraphics.h"
#include "lice/lice.h"
#include "tests/editor/EditorGraphics.h"
#include "tests/framework/TestPlug.h"

// A plug-in object with one parameter of each kind the editor's menus and
// fields are bound to. It records how a change reached it: through a
// control (SetParameterFromGUI, which tells the host) or straight into
// OnParamChange, and what the host was told.
class EditorTestPlug : public TestPlug {
 public:
  enum {
    kScale = 0,        // seven texts, "50%" .. "200%"
    kFilterMode = 1,   // seven texts
    kGain = 2,         // -48 .. 48 dB
    kShowGrid = 3,     // two-state with texts
    kSpectrogram = 4,  // "Off", "Standard", "Heat map"
    kTooltips = 5,     // two-state with texts
    kSingle = 6,       // an enumeration of one text
    kType = 7,         // sixteen texts
    kSlope = 8,        // -9 .. 9
    kNumParams = 9
  };
  static constexpr int kTag = 146;
  // Empty records the preset tests fill.
  static constexpr int kNumPresets = 4;

  EditorTestPlug() : TestPlug(kNumParams, "1-1 2-2", 0, kAPIRTAS, kNumPresets) {
    SetPluginTexts("Kestrelbay", "Brimlow", "3.2.3");
    DefineEnum(kScale, "GUI Scale", 2, {"50%", "75%", "100%", "125%", "150%", "175%", "200%"});
    DefineEnum(kFilterMode, "Filter Mode", 0,
               {"Zero Latency", "MinimumPhase Eco", "MinimumPhase High", "MinimumPhase Max", "LinearPhase Eco",
                "LinearPhase High", "LinearPhase Max"});
    GetParam(kGain)->InitDouble("Gain", 0.0, -48.0, 48.0, 0.01, "dB");
    GetParam(kShowGrid)->SetType(IParam::kTypeBool);
    DefineEnum(kShowGrid, "AnalyzerShowGrid", 0, {"off", "on"});
    DefineEnum(kSpectrogram, "Spectrogram Mode", 0, {"Off", "Standard", "Heat map"});
    GetParam(kTooltips)->SetType(IParam::kTypeBool);
    DefineEnum(kTooltips, "Toggle Tooltips", 1, {"off", "on"});
    DefineEnum(kSingle, "Single", 0, {"Only"});
    std::vector<std::string> types;
    for (int i = 0; i < 16; ++i) types.push_back("Type " + std::to_string(i));
    DefineEnum(kType, "Type", 0, types);
    GetParam(kSlope)->InitDouble("Slope", 0.0, -9.0, 9.0, 0.1, "%");
  }
  ~EditorTestPlug() override { DeleteGraphics(); }

  void SetParameterFromGUI(int idx, double normalized) override {
    mFromGUI.emplace_back(idx, normalized);
    if (mDuringSet) mDuringSet(idx);
    TestPlug::SetParameterFromGUI(idx, normalized);
  }
  void OnParamChange(int idx) override {
    TestPlug::OnParamChange(idx);
    // Another thread tries the plug mutex while the change is handled.
    if (mProbeLock) {
      bool taken = false;
      std::thread([this, &taken] {
        taken = GetMutex()->TryEnter();
        if (taken) GetMutex()->Leave();
      }).join();
      mLockHeldElsewhere.push_back(!taken);
    }
    if (mDuringChange) mDuringChange(idx);
  }
  // The host hears of every parameter.
  void NotifyHostAllParams() override { ++mAllParamsNotified; }

  void SetValue(int idx, double value) { GetParam(idx)->Set(value); }

  std::vector<std::pair<int, double>> mFromGUI;
  std::function<void(int)> mDuringSet;
  std::function<void(int)> mDuringChange;
  bool mProbeLock = false;
  std::vector<bool> mLockHeldElsewhere;
  int mAllParamsNotified = 0;

 private:
  void DefineEnum(int idx, const char* name, int defaultValue, const std::vector<std::string>& texts) {
    IParam* param = GetParam(idx);
    param->InitEnum(name, defaultValue, static_cast<int>(texts.size()));
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) param->SetDisplayText(i, texts[i].c_str());
  }
};

// Bitmaps the fixture's graphics object loads: the frames of each are one
// colour each, at twice the editor's resolution as the editor's images are.
enum { kTwoFrames = 1, kSixteenFrames = 2 };
constexpr int kBitmapResolution = 2;
constexpr int kTwoFramesW = 60, kTwoFramesH = 88;      // 30 x 22 per frame in the editor
constexpr int kSixteenFramesW = 40, kSixteenFramesH = 640;  // 20 x 20 per frame

inline LICE_pixel FrameColor(int frame) { return LICE_RGBA(10 + 15 * frame, 250 - 14 * frame, 40 + 7 * frame, 255); }

// The resource loader of the fake graphics object: one of the two bitmaps.
inline LICE_IBitmap* MakeTestResource(int id, const char*) {
  const bool two = id == kTwoFrames;
  if (!two && id != kSixteenFrames) return nullptr;
  const int w = two ? kTwoFramesW : kSixteenFramesW;
  const int h = two ? kTwoFramesH : kSixteenFramesH;
  const int frames = two ? 2 : 16;
  auto* b = new LICE_MemBitmap(w, h, 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b->getBits()[y * b->getRowSpan() + x] = FrameColor(y / (h / frames));
  }
  return b;
}

// A plug-in with the scripted graphics object attached, as the plug-in's
// constructor attaches its own; gestures go through the graphics object's
// dispatch, as the platform view sends them.
class EditorFixture : public ::testing::Test {
 protected:
  static constexpr int kWidth = 400, kHeight = 300;

  EditorFixture() : graphics(new EditorGraphics(&plug, kWidth, kHeight)) {
    plug.AttachGraphics(graphics);
    graphics->SetBitmapScale(kBitmapResolution, kBitmapResolution);
    graphics->mLoadResource = MakeTestResource;
  }

  IBitmap TwoFrames() { return graphics->LoadBitmap(kTwoFrames, "two.png", 2); }
  IBitmap SixteenFrames() { return graphics->LoadBitmap(kSixteenFrames, "sixteen.png", 16); }

  template <class T>
  T* Attach(T* control) {
    graphics->AttachControl(control);
    return control;
  }

  void Click(int x, int y, IMouseMod mod = IMouseMod(true)) {
    graphics->OnMouseDown(x, y, &mod);
    graphics->OnMouseUp(x, y, &mod);
  }
  void Wheel(int x, int y, int d, IMouseMod mod = IMouseMod()) { graphics->OnMouseWheel(x, y, &mod, d); }

  LICE_pixel PixelAt(int x, int y) const {
    LICE_IBitmap* s = graphics->GetDrawBitmap();
    return s->getBits()[y * s->getRowSpan() + x];
  }
  void DrawAll() {
    IRECT all(0, 0, kWidth, kHeight);
    graphics->Draw(&all);
  }

  EditorTestPlug plug;
  EditorGraphics* graphics;  // owned by the plug-in
};
