#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "graphics/IControl.h"
#include "graphics/IGraphics.h"
#include "lice/lice.h"
#include "platform/coretext/Font.h"
#include "tests/framework/TestPlug.h"
#include "tests/graphics/FakeGraphics.h"

// A plug-in object with one parameter of each kind the controls are bound
// to. It records what reaches it from the controls: every value set through
// SetParameterFromGUI, every command tag, and the host's begin and end
// notifications; mDuringTag runs while a tag is being handled, as the
// plug-in reads the control's fields then.
class ControlsTestPlug : public TestPlug {
 public:
  enum { kSwitch = 0, kGain = 1, kFreq = 2, kToggle = 3, kNumParams = 4 };
  static constexpr int kTag = 150;  // any number past the parameters

  ControlsTestPlug() : TestPlug(kNumParams, "1-1") {
    IParam* sw = GetParam(kSwitch);
    sw->InitEnum("Switch", 0, 3);
    sw->SetDisplayText(0, "Low");
    sw->SetDisplayText(1, "Mid");
    sw->SetDisplayText(2, "High");
    GetParam(kGain)->InitDouble("Gain", 0.0, -48.0, 48.0, 0.01, "dB");
    GetParam(kFreq)->InitDouble("Freq", 1000.0, 10.0, 30000.0, 0.001, "Hz");
    IParam* toggle = GetParam(kToggle);
    toggle->SetType(IParam::kTypeBool);
    toggle->InitEnum("Toggle", 0, 2);
  }
  ~ControlsTestPlug() override { DeleteGraphics(); }

  void SetParameterFromGUI(int idx, double normalized) override {
    mFromGUI.emplace_back(idx, normalized);
    if (mDuringSet) mDuringSet(idx);
    TestPlug::SetParameterFromGUI(idx, normalized);
  }
  void OnParamChange(int idx) override {
    TestPlug::OnParamChange(idx);
    if (idx >= kNumParams) {
      mTags.push_back(idx);
      if (mDuringTag) mDuringTag(idx);
    }
  }
  void NotifyHostParamBegin(int idx) override { mEdits.push_back("B" + std::to_string(idx)); }
  void NotifyHostParamEnd(int idx) override { mEdits.push_back("E" + std::to_string(idx)); }

  std::vector<std::pair<int, double>> mFromGUI;
  std::vector<int> mTags;
  std::vector<std::string> mEdits;
  std::function<void(int)> mDuringTag;
  std::function<void(int)> mDuringSet;
};

// The fake platform class with a file dialog: it records what it was
// offered and answers as a confirmed dialog (mAnswerFile set) or as a
// cancelled one (mAnswerFile empty), with the platform's conventions.
class ControlsGraphics : public FakeGraphics {
 public:
  ControlsGraphics(IPlugBase* plug, int width, int height) : FakeGraphics(plug, width, height) {}

  void PromptForFile(WDL_String* fileName, int action, WDL_String* folder, const char* extensions) override {
    mOffered.push_back({fileName->Get(), action, folder->Get(), extensions ? extensions : ""});
    if (mDuringDialog) mDuringDialog();
    fileName->Set("");
    if (mAnswerFile.empty()) return;
    fileName->Set(mAnswerFile.c_str());
    folder->Set(mAnswerFolder.c_str());
  }

  struct Offer {
    std::string fileName;
    int action;
    std::string folder, extensions;
  };
  std::vector<Offer> mOffered;
  std::function<void()> mDuringDialog;
  std::string mAnswerFile, mAnswerFolder;
};

// Two small bitmaps the fixture's graphics object loads: every pixel of
// kPositions tells where it is, so a blit shows which source pixel went
// where; the frames of kStripes are each one colour, which survives
// filtered scaling away from the frame edges.
enum { kPositions = 1, kStripes = 2 };
constexpr int kPositionsW = 40, kPositionsH = 400;
constexpr int kStripesW = 60, kStripesH = 44, kStripesFrames = 2;

inline LICE_pixel PositionPixel(int x, int y) { return LICE_RGBA(x, y & 0xff, y >> 8, 255); }
inline LICE_pixel StripeColor(int frame) { return LICE_RGBA(40 + 100 * frame, 200 - 90 * frame, 30, 255); }

constexpr LICE_pixel kClear = LICE_RGBA(1, 2, 3, 4);

// A plug-in with the fake graphics object attached, as the plug-in's
// constructor attaches its own; mouse gestures go through the graphics
// object's dispatch, as the platform view sends them.
class ControlsFixture : public ::testing::Test {
 protected:
  static constexpr int kWidth = 240, kHeight = 460;

  ControlsFixture() : graphics(new ControlsGraphics(&plug, kWidth, kHeight)) {
    plug.AttachGraphics(graphics);
    graphics->mLoadResource = [](int id, const char*) -> LICE_IBitmap* { return MakeResource(id); };
    ClearSurface();
  }

  static LICE_IBitmap* MakeResource(int id) {
    LICE_MemBitmap* b = nullptr;
    if (id == kPositions) {
      b = new LICE_MemBitmap(kPositionsW, kPositionsH, 4);
      for (int y = 0; y < kPositionsH; ++y) {
        for (int x = 0; x < kPositionsW; ++x) b->getBits()[y * b->getRowSpan() + x] = PositionPixel(x, y);
      }
    } else if (id == kStripes) {
      b = new LICE_MemBitmap(kStripesW, kStripesH, 4);
      const int frameH = kStripesH / kStripesFrames;
      for (int y = 0; y < kStripesH; ++y) {
        for (int x = 0; x < kStripesW; ++x) b->getBits()[y * b->getRowSpan() + x] = StripeColor(y / frameH);
      }
    }
    return b;
  }

  template <class T>
  T* Attach(T* control) {
    graphics->AttachControl(control);
    return control;
  }

  // ---- Gestures ----
  void Click(int x, int y, IMouseMod mod = IMouseMod(true)) {
    graphics->OnMouseDown(x, y, &mod);
    graphics->OnMouseUp(x, y, &mod);
  }
  // What a double-click sends: the first click, then the second as a
  // double-click, each released.
  void DoubleClick(int x, int y, IMouseMod mod = IMouseMod(true)) {
    Click(x, y, mod);
    graphics->OnMouseDblClick(x, y, &mod);
    graphics->OnMouseUp(x, y, &mod);
  }
  void Drag(int x, int y, int toX, int toY, IMouseMod mod = IMouseMod(true)) {
    graphics->OnMouseDown(x, y, &mod);
    graphics->OnMouseDrag(toX, toY, &mod);
    graphics->OnMouseUp(toX, toY, &mod);
  }
  void Wheel(int x, int y, int d, IMouseMod mod = IMouseMod()) { graphics->OnMouseWheel(x, y, &mod, d); }

  // ---- Pixels ----
  LICE_IBitmap* Surface() const { return graphics->GetDrawBitmap(); }
  LICE_pixel PixelAt(int x, int y) const { return Surface()->getBits()[y * Surface()->getRowSpan() + x]; }
  void ClearSurface() {
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) Surface()->getBits()[y * Surface()->getRowSpan() + x] = kClear;
    }
  }
  std::vector<LICE_pixel> Picture() const {
    std::vector<LICE_pixel> pixels;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) pixels.push_back(PixelAt(x, y));
    }
    return pixels;
  }
  // The whole editor drawn from a clear surface.
  std::vector<LICE_pixel> Drawn() {
    ClearSurface();
    IRECT all(0, 0, kWidth, kHeight);
    graphics->Draw(&all);
    return Picture();
  }

  ControlsTestPlug plug;
  ControlsGraphics* graphics;  // owned by the plug-in
};

// A second surface of the same size for expected pictures: runs drawing
// calls, with arguments a test worked out from the drawing rules, inside
// a Draw of the whole area, on a clear surface.
class ReferencePicture {
 public:
  ReferencePicture(int width, int height) : mGraphics(&mPlug, width, height) {
    mGraphics.PrepDraw();
    mGraphics.AttachControl(mCalls = new CallsControl(&mPlug, IRECT(0, 0, width, height)));
  }
  std::vector<LICE_pixel> Draw(const std::function<void(IGraphics*)>& calls) {
    LICE_IBitmap* s = mGraphics.GetDrawBitmap();
    for (int y = 0; y < s->getHeight(); ++y) {
      for (int x = 0; x < s->getWidth(); ++x) s->getBits()[y * s->getRowSpan() + x] = kClear;
    }
    mCalls->mCalls = calls;
    IRECT all(0, 0, s->getWidth(), s->getHeight());
    mGraphics.Draw(&all);
    std::vector<LICE_pixel> pixels;
    for (int y = 0; y < s->getHeight(); ++y) {
      for (int x = 0; x < s->getWidth(); ++x) pixels.push_back(s->getBits()[y * s->getRowSpan() + x]);
    }
    return pixels;
  }

 private:
  class CallsControl : public IControl {
   public:
    CallsControl(IPlugBase* plug, const IRECT& rect) : IControl(plug, rect) {}
    bool Draw(IGraphics* graphics) override {
      if (mCalls) mCalls(graphics);
      return true;
    }
    std::function<void(IGraphics*)> mCalls;
  };

  TestPlug mPlug{1, "1-1"};
  FakeGraphics mGraphics;
  CallsControl* mCalls = nullptr;
};

// Equal pictures, or where the first difference lies.
inline ::testing::AssertionResult SamePicture(const std::vector<LICE_pixel>& actual,
                                              const std::vector<LICE_pixel>& expected, int width) {
  if (actual.size() != expected.size()) return ::testing::AssertionFailure() << "sizes differ";
  int differing = 0;
  size_t first = 0;
  for (size_t i = 0; i < actual.size(); ++i) {
    if (actual[i] != expected[i] && differing++ == 0) first = i;
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " pixels differ, the first at (" << first % width << ", "
                                       << first / width << "): " << std::hex << actual[first] << " for "
                                       << expected[first];
}

// Text through the deterministic test font, whatever fonts are installed.
class TestFontScope {
 public:
  TestFontScope() { platform::SetTestFontEnabled(true); }
  ~TestFontScope() { platform::SetTestFontEnabled(false); }
};
