#include <functional>
#include <string>
#include <vector>

#include "graphics/controls/IBackgroundControl.h"
#include "graphics/controls/IBitmapControlClick1.h"
#include "graphics/controls/IBitmapControlExt.h"
#include "graphics/controls/IBitmapControlSlider2.h"
#include "graphics/controls/IClickControl.h"
#include "graphics/controls/IFileSelectorControl_Hidden.h"
#include "graphics/controls/IInvisibleClickControl.h"
#include "graphics/controls/IKnobMultiControlText_New.h"
#include "graphics/controls/IParameterButtonExt.h"
#include "graphics/controls/IParameterButtonExtHz.h"
#include "graphics/controls/ISwitchControl_Ext.h"
#include "graphics/controls/ISwitchControl_ExtActive.h"
#include "graphics/controls/ITextControlClick.h"
#include "graphics/controls/ITextControlExt.h"
#include "tests/graphics/controls/ControlsFixture.h"

// What every control does alike: follow the GUI scale, and pass on only
// the values that differ from its own.

namespace {

constexpr int kTag = ControlsTestPlug::kTag;

// The editor's controls as its layout builds them, with images held at
// twice their size: the stripes bitmap is one frame of 30 x 11 at 100 %.
class EditorControls : public ControlsFixture {
 protected:
  EditorControls() : textB(13, kColorWhite), textG(13, kColorWhite), boxColor(128, 19, 22, 26) {
    graphics->SetBitmapScale(2.0, 2.0);
    stripes = graphics->LoadBitmap(kStripes, "stripes.png", kStripesFrames);
    plain = graphics->LoadBitmap(kStripes, "stripes.png");
  }

  // A control, where it sits at 100 %, and the bitmaps it draws.
  struct Placed {
    std::string name;
    IControl* control;
    IRECT unscaled;  // x, y, x + w, y + h
    std::vector<std::function<const IBitmap&()>> bitmaps;
    int textSize;  // at 100 %, 0 when it draws no text
  };

  void BuildAll() {
    auto bitmapOf = [](IBitmapControlExt* c) { return [c]() -> const IBitmap& { return c->GetBitmap(); }; };
    const IRECT frame(0, 0, 30, 11);  // one stripes frame at 100 %
    const auto at = [&](int x, int y) { return IRECT(x, y, x + frame.R, y + frame.B); };

    auto* background = Attach(new IBackgroundControl(&plug, &stripes));
    placed.push_back({"background", background, at(0, 0), {bitmapOf(background)}, 0});
    auto* display = Attach(new IBitmapControlExt(&plug, 5, 20, &stripes));
    placed.push_back({"display", display, at(5, 20), {bitmapOf(display)}, 0});
    auto* click = Attach(new IClickControl(&plug, 40, 20, kTag, &stripes));
    placed.push_back({"click", click, at(40, 20), {bitmapOf(click)}, 0});
    auto* sw = Attach(new ISwitchControl_Ext(&plug, 75, 20, ControlsTestPlug::kToggle, &stripes));
    placed.push_back({"switch", sw, at(75, 20), {bitmapOf(sw)}, 0});
    auto* active = Attach(new ISwitchControl_ExtActive(&plug, 5, 40, ControlsTestPlug::kToggle, &stripes, &textB,
                                                       &textG, "1", 0));
    placed.push_back({"labelled switch", active, at(5, 40), {bitmapOf(active)}, 13});
    auto* slider = Attach(new IBitmapControlSlider2(&plug, 40, 40, &plain, kTag, kColorGray));
    placed.push_back({"slider", slider, IRECT(40, 40, 70, 62), {bitmapOf(slider)}, 0});
    auto* meter = Attach(new IBitmapControlClick1(&plug, 75, 40, &plain, kTag, &plain));
    placed.push_back({"meter",
                      meter,
                      IRECT(75, 40, 105, 62),
                      {bitmapOf(meter), [meter]() -> const IBitmap& { return meter->GetBackgroundBitmap(); }},
                      0});
    knob = Attach(new IKnobMultiControlText_New(&plug, 5, 70, ControlsTestPlug::kGain, &stripes, &textB, &boxColor,
                                                true, IKnobControlExt::kVertical, 8.0));
    placed.push_back({"knob", knob, at(5, 70), {[this]() -> const IBitmap& { return knob->GetBitmap(); }}, 13});
    button = Attach(new IParameterButtonExt(&plug, IRECT(40, 70, 100, 92), ControlsTestPlug::kGain, &textB));
    placed.push_back({"button", button, IRECT(40, 70, 100, 92), {}, 13});
    hz = Attach(new IParameterButtonExtHz(&plug, IRECT(40, 95, 100, 117), ControlsTestPlug::kFreq, &textB));
    placed.push_back({"Hz button", hz, IRECT(40, 95, 100, 117), {}, 13});
    auto* text = Attach(new ITextControlExt(&plug, IRECT(5, 120, 35, 132), &textG, "-inf"));
    placed.push_back({"text", text, IRECT(5, 120, 35, 132), {}, 13});
    auto* clickText = Attach(new ITextControlClick(&plug, IRECT(40, 120, 70, 132), &textG, "-inf", kTag));
    placed.push_back({"clickable text", clickText, IRECT(40, 120, 70, 132), {}, 13});
    auto* invisible = Attach(new IInvisibleClickControl(&plug, IRECT(5, 135, 41, 147), kTag));
    placed.push_back({"invisible", invisible, IRECT(5, 135, 41, 147), {}, 0});
    auto* selector = Attach(new IFileSelectorControl_Hidden(&plug, IRECT(45, 135, 61, 147), kTag, 0, "", "ref"));
    placed.push_back({"file selector", selector, IRECT(45, 135, 61, 147), {}, 0});
  }

  // As the editor layout rescales.
  void Rescale(double scale) {
    graphics->ClearScaledBitmapCache();
    graphics->SetGUIScale(scale, scale);
    graphics->SetBitmapScale(2.0, 2.0);
    graphics->RescaleControls(872, 632, scale, scale);
  }

  IText textB, textG;
  IColor boxColor;
  IBitmap stripes, plain;
  std::vector<Placed> placed;
  IKnobMultiControlText_New* knob = nullptr;
  IParameterButtonExt* button = nullptr;
  IParameterButtonExtHz* hz = nullptr;
};

int Trunc(double v) { return static_cast<int>(v); }

// Each cell of the 100 % rectangle times the scale, truncated on its own.
IRECT AtScale(const IRECT& r, double s) {
  const int l = Trunc(r.L * s), t = Trunc(r.T * s);
  return IRECT(l, t, l + Trunc(r.W() * s), t + Trunc(r.H() * s));
}

class EditorControlsAtScale : public EditorControls, public ::testing::WithParamInterface<double> {};

TEST_P(EditorControlsAtScale, RectanglesBitmapsAndTextFollowTheScale) {
  const double s = GetParam();
  BuildAll();
  for (const Placed& p : placed) {
    EXPECT_EQ(p.control->GetRECT(), p.unscaled) << p.name << " before any rescale";
  }
  Rescale(s);
  for (const Placed& p : placed) {
    EXPECT_EQ(p.control->GetRECT(), AtScale(p.unscaled, s)) << p.name;
    EXPECT_EQ(p.control->GetTargetRECT(), p.control->GetRECT()) << p.name;
    for (const auto& bitmapOf : p.bitmaps) {
      const IBitmap& b = bitmapOf();
      // The whole image at 100 % is 60 / 2 by 44 / 2, then times the scale.
      EXPECT_EQ(b.mW, Trunc(30 * s)) << p.name;
      EXPECT_EQ(b.mH, Trunc(22 * s)) << p.name;
      EXPECT_NE(b.mData, nullptr) << p.name;
      EXPECT_EQ(b.mResourceID, kStripes) << p.name;
    }
    if (p.textSize > 0) {
      EXPECT_EQ(p.control->GetIText()->mSize, Trunc(p.textSize * s)) << p.name;
    }
  }
  // The rectangles of their own follow the editor's GUI scale, each edge
  // on its own.
  const auto edges = [s](const IRECT& r) {
    return IRECT(Trunc(r.L * s), Trunc(r.T * s), Trunc(r.R * s), Trunc(r.B * s));
  };
  EXPECT_EQ(knob->GetKnobRECT(), edges(IRECT(5, 70, 35, 81)));
  EXPECT_EQ(knob->GetTextRECT(), edges(IRECT(5, 81 - 1 - 13, 35, 81)));
  EXPECT_EQ(knob->GetPromptRECT(), edges(IRECT(5, 81 - 1 - 13, 35, 81 + 6)));
  EXPECT_EQ(button->GetTextRECT(), edges(IRECT(40, 70, 100, 92)));
  EXPECT_EQ(hz->GetPromptRECT(), edges(IRECT(40, 95, 100, 117)));
}

// Each bitmap control shows the first frame's colour at its centre once
// rescaled: the frame offsets work on the scaled bitmap, not the loaded one.
TEST_P(EditorControlsAtScale, TheScaledBitmapIsTheOneDrawn) {
  const double s = GetParam();
  BuildAll();
  Rescale(s);
  const std::vector<LICE_pixel> drawn = Drawn();
  for (const char* name : {"background", "display", "click", "switch"}) {
    for (const Placed& p : placed) {
      if (p.name != name) continue;
      const IRECT r = p.control->GetRECT();
      const int x = (r.L + r.R) / 2, y = (r.T + r.B) / 2;
      if (x >= kWidth || y >= kHeight) continue;
      EXPECT_EQ(drawn[y * kWidth + x], StripeColor(0)) << p.name << " at " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(GUIScales, EditorControlsAtScale, ::testing::Values(0.5, 0.75, 1.0, 1.5, 2.0));

// The controller pushes every changed value to the controls before it acts
// on it; a control that echoed an unchanged value would start the round
// again.
TEST_F(EditorControls, ABoundControlPassesOnOnlyValuesThatDiffer) {
  BuildAll();
  const struct {
    int param;
    int controls;  // bound to it
    double value;
  } rows[] = {{ControlsTestPlug::kToggle, 2, 1.0}, {ControlsTestPlug::kGain, 2, 0.25}, {ControlsTestPlug::kFreq, 1, 0.75}};
  for (const auto& r : rows) {
    plug.mFromGUI.clear();
    graphics->SetParameterViaControls(r.param, r.value, true);
    EXPECT_EQ(plug.mFromGUI, (std::vector<std::pair<int, double>>(r.controls, {r.param, r.value}))) << r.param;
    plug.mFromGUI.clear();
    graphics->SetParameterViaControls(r.param, r.value, true);
    EXPECT_TRUE(plug.mFromGUI.empty()) << r.param;
  }
}

}  // namespace
