#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/controls/IPanelControl.h"
#include "lice/lice.h"
#include "tests/graphics/GraphicsFixtures.h"

namespace {

class Redraw : public GraphicsFixture {
 protected:
  // Two frames: a redraw pending keeps a control dirty for one more.
  void CleanAll() {
    for (int frame = 0; frame < 2; ++frame) {
      for (int i = 0; i < graphics->NControls(); ++i) graphics->GetControl(i)->SetClean();
    }
  }
};

TEST_F(Redraw, OnlyVisibleEnabledDirtyControlsAreReported) {
  Add(IRECT(10, 10, 20, 20));
  Add(IRECT(50, 50, 60, 70));
  Add(IRECT(0, 0, 200, 100))->Hide(true);
  Add(IRECT(0, 0, 200, 100))->SetDisabled(true);
  IRECT area;
  EXPECT_TRUE(graphics->IsDirty(&area));
  EXPECT_EQ(area, IRECT(10, 10, 60, 70));

  CleanAll();
  graphics->GetControl(2)->SetDirty(false);  // still hidden
  area = IRECT();
  EXPECT_FALSE(graphics->IsDirty(&area));
  EXPECT_TRUE(area.Empty());
}

TEST_F(Redraw, TheIdleHookRunsOnEveryTwentyFirstQuietCheck) {
  ProbeControl* shown = Add(IRECT(10, 10, 20, 20));
  ProbeControl* hidden = Add(IRECT(30, 10, 40, 20));
  hidden->Hide(true);
  CleanAll();
  IRECT area;
  for (int round = 0; round < 2; ++round) {
    for (int tick = 0; tick < 20; ++tick) EXPECT_FALSE(graphics->IsDirty(&area));
    EXPECT_EQ(shown->mIdles, round) << "round " << round;
    EXPECT_FALSE(graphics->IsDirty(&area));
    EXPECT_EQ(shown->mIdles, round + 1);
    EXPECT_EQ(hidden->mIdles, round + 1);  // every control, shown or not
  }

  // A dirty check starts the count again.
  for (int tick = 0; tick < 10; ++tick) graphics->IsDirty(&area);
  shown->SetDirty(false);
  EXPECT_TRUE(graphics->IsDirty(&area));
  CleanAll();
  for (int tick = 0; tick < 20; ++tick) graphics->IsDirty(&area);
  EXPECT_EQ(shown->mIdles, 2);
}

TEST_F(Redraw, DrawPaintsTheControlsThatMeetTheAreaInAttachmentOrder) {
  std::vector<const ProbeControl*> order;
  const IRECT area(40, 40, 80, 80);
  ProbeControl* under = Add(IRECT(0, 0, 200, 100));
  ProbeControl* inside = Add(IRECT(50, 50, 60, 60));
  ProbeControl* touchesLeft = Add(IRECT(20, 50, 40, 60));  // its right edge on the area's left
  ProbeControl* touchesRight = Add(IRECT(80, 50, 90, 60));
  ProbeControl* outside = Add(IRECT(100, 0, 120, 20));
  ProbeControl* hidden = Add(IRECT(50, 50, 60, 60));
  ProbeControl* disabled = Add(IRECT(50, 50, 60, 60));
  ProbeControl* empty = Add(IRECT());
  hidden->Hide(true);
  disabled->SetDisabled(true);
  for (ProbeControl* c : {under, inside, touchesLeft, touchesRight, outside, hidden, disabled, empty})
    c->mDrawOrder = &order;
  CleanAll();
  inside->SetValueFromUserInput(0.5);  // dirty with a redraw pending

  IRECT drawn = area;
  EXPECT_TRUE(graphics->Draw(&drawn));
  EXPECT_EQ(order, (std::vector<const ProbeControl*>{under, inside, touchesLeft}));
  ASSERT_EQ(graphics->mScreenRects.size(), 1u);
  EXPECT_EQ(graphics->mScreenRects[0], area);
  // Drawn once, dirty for one more frame.
  EXPECT_TRUE(inside->IsDirty());
  inside->SetClean();
  EXPECT_FALSE(inside->IsDirty());
}

// A control that fills a rectangle of its choosing, inside its own or
// past it.
class FillControl : public IControl {
 public:
  FillControl(IPlugBase* plug, const IRECT& rect, const IRECT& fill, const IColor& color)
      : IControl(plug, rect), mFill(fill), mColor(color) {}
  bool Draw(IGraphics* graphics) override { return graphics->FillIRect(&mColor, &mFill, nullptr); }
  IRECT mFill;
  IColor mColor;
};

// The areas to draw: each dirty control's rectangle with what it painted
// last time, apart from one another unless they overlap, and what a
// control that went away had painted.
TEST_F(Redraw, DirtyAreasAreTheChangedControlsApartAndWhatTheyLastPainted) {
  auto* a = new FillControl(&plug, IRECT(10, 10, 20, 20), IRECT(10, 10, 20, 20), kColorRed);
  auto* b = new FillControl(&plug, IRECT(100, 10, 120, 30), IRECT(95, 10, 120, 35), kColorRed);  // paints past it
  auto* c = new FillControl(&plug, IRECT(110, 25, 150, 40), IRECT(110, 25, 150, 40), kColorRed);
  auto* d = new FillControl(&plug, IRECT(160, 60, 190, 90), IRECT(160, 60, 190, 90), kColorRed);
  for (IControl* control : {static_cast<IControl*>(a), static_cast<IControl*>(b), static_cast<IControl*>(c),
                            static_cast<IControl*>(d)}) {
    graphics->AttachControl(control);
  }
  IRECT whole(0, 0, 200, 100);
  graphics->Draw(&whole);
  CleanAll();

  a->SetDirty(false);
  b->SetDirty(false);
  c->SetDirty(false);
  IRECT area;
  ASSERT_TRUE(graphics->IsDirty(&area));
  EXPECT_EQ(area, IRECT(10, 10, 150, 40));
  // b's paint reaches c's rectangle: the two are one area.
  EXPECT_EQ(graphics->DirtyAreas(), (std::vector<IRECT>{IRECT(10, 10, 20, 20), IRECT(95, 10, 150, 40)}));
  CleanAll();

  // Hidden, d's pixels must give way once; moved, its old place too.
  d->Hide(true);
  area = IRECT();
  ASSERT_TRUE(graphics->IsDirty(&area));
  EXPECT_EQ(graphics->DirtyAreas(), (std::vector<IRECT>{IRECT(160, 60, 190, 90)}));
  EXPECT_FALSE(graphics->IsDirty(&area));
  d->Hide(false);
  graphics->Draw(&whole);
  CleanAll();
  d->SetRECT(IRECT(10, 60, 40, 90));
  d->mFill = d->GetRECT();
  area = IRECT();
  ASSERT_TRUE(graphics->IsDirty(&area));
  EXPECT_EQ(graphics->DirtyAreas(), (std::vector<IRECT>{IRECT(10, 60, 190, 90)}));
}

// A clean control whose paint passes its rectangle is drawn again where a
// changed neighbour is, so what lies on top stays on top.
TEST_F(Redraw, APartialDrawShowsWhatAWholeDrawShows) {
  auto* under = new FillControl(&plug, IRECT(30, 10, 50, 20), IRECT(30, 10, 50, 20), kColorBlue);
  auto* over = new FillControl(&plug, IRECT(10, 10, 20, 20), IRECT(10, 10, 40, 20), kColorGreen);
  graphics->AttachPanelBackground(&kColorBlack);
  graphics->AttachControl(under);
  graphics->AttachControl(over);
  IRECT whole(0, 0, 200, 100);
  graphics->Draw(&whole);
  CleanAll();

  under->mColor = kColorRed;
  under->SetDirty(false);
  IRECT area;
  ASSERT_TRUE(graphics->IsDirty(&area));
  for (IRECT part : graphics->DirtyAreas()) graphics->Draw(&part);
  const auto pixels = [&] {
    LICE_IBitmap* surface = graphics->GetDrawBitmap();
    std::vector<LICE_pixel> all;
    for (int y = 0; y < 100; ++y) {
      const LICE_pixel* row = surface->getBits() + y * surface->getRowSpan();
      all.insert(all.end(), row, row + 200);
    }
    return all;
  };
  const std::vector<LICE_pixel> partial = pixels();
  graphics->Draw(&whole);
  const std::vector<LICE_pixel> full = pixels();
  for (int i = 0; i < 200 * 100; ++i) ASSERT_EQ(partial[i], full[i]) << i % 200 << "," << i / 200;
  EXPECT_EQ(full[15 * 200 + 35], kColorGreen.ToPixel());
  EXPECT_EQ(full[15 * 200 + 45], kColorRed.ToPixel());
}

TEST_F(Redraw, DrawWithoutControlsPutsNothingOnTheScreen) {
  IRECT area(0, 0, 10, 10);
  EXPECT_TRUE(graphics->Draw(&area));
  EXPECT_TRUE(graphics->mScreenRects.empty());
}

// ---- Rescaling -----------------------------------------------------------------------

class RecordingRescale : public ProbeControl {
 public:
  RecordingRescale(IPlugBase* plug, const IRECTResize& rect) : ProbeControl(plug, rect.UnscaledRECT()) {
    mRECTResize = rect;
  }
  void Rescale(double scaleX, double scaleY) override {
    IControl::Rescale(scaleX, scaleY);
    mRescales.push_back(scaleX);
    // A rescale reached from inside one is ignored.
    if (mReenter) GetPlug()->GetGUI()->RescaleControls(1, 1, 9.0, 9.0);
  }
  std::vector<double> mRescales;
  bool mReenter = false;
};

IRECTResize Cells(int form, IRECTp x, IRECTp y, IRECTp w, IRECTp h, IRECTp1 l = {}, IRECTp1 t = {},
                  IRECTp1 r = {}, IRECTp1 b = {}) {
  IRECTResize d;
  d.mForm = form;
  d.mX = x;
  d.mY = y;
  d.mW = w;
  d.mH = h;
  d.mL = l;
  d.mT = t;
  d.mR = r;
  d.mB = b;
  return d;
}

int T(double v) { return static_cast<int>(std::trunc(v)); }

TEST_F(Redraw, RescaleControlsPlacesEveryControlAtEachGuiScale) {
  const int baseW = 872, baseH = 632;
  auto* scaled = new RecordingRescale(&plug, Cells(0, {92, 3}, {84, 3}, {697, 3}, {344, 3}));
  // Anchored 40 pixels in from the right and bottom edges, fixed in size.
  auto* corner = new RecordingRescale(&plug, Cells(1, {}, {}, {}, {}, {-40, 1}, {-30, 2}, {-10, 1}, {-5, 2}));
  // Width from the right edge, height fixed.
  auto* strip = new RecordingRescale(&plug, Cells(0, {-100, 1}, {7, 0}, {0, 1}, {20, 0}));
  auto* unknownForm = new RecordingRescale(&plug, Cells(2, {5, 3}, {5, 3}, {5, 3}, {5, 3}));
  auto* fixed = new RecordingRescale(&plug, Cells(0, {5, 3}, {5, 3}, {5, 3}, {5, 3}));
  fixed->SetRescale(false);
  for (IControl* c : std::vector<IControl*>{scaled, corner, strip, unknownForm, fixed}) graphics->AttachControl(c);

  for (double s : {0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0}) {
    CleanAll();
    graphics->RescaleControls(baseW, baseH, s, s);
    const int x = T(92 * s), y = T(84 * s);
    EXPECT_EQ(scaled->GetRECT(), IRECT(x, y, x + T(697 * s), y + T(344 * s))) << s;
    EXPECT_EQ(scaled->GetTargetRECT(), scaled->GetRECT()) << s;
    EXPECT_EQ(corner->GetRECT(), IRECT(T((baseW - 40) * s), T((baseH - 30) * s), T((baseW - 10) * s),
                                       T((baseH - 5) * s)))
        << s;
    const int sx = T((baseW - 100) * s);
    EXPECT_EQ(strip->GetRECT(), IRECT(sx, 7, sx + sx, 27)) << s;
    EXPECT_TRUE(unknownForm->GetRECT().Empty()) << s;
    EXPECT_EQ(fixed->GetRECT(), IRECT(5, 5, 10, 10)) << s;
    EXPECT_TRUE(scaled->IsDirty()) << s;
    EXPECT_FALSE(fixed->IsDirty()) << s;
    EXPECT_EQ(scaled->GetBaseWidth(), baseW);
    EXPECT_EQ(scaled->GetScaleY(), s);
  }
  EXPECT_EQ(scaled->mRescales, (std::vector<double>{0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0}));
  EXPECT_TRUE(fixed->mRescales.empty());

  scaled->mReenter = true;
  graphics->RescaleControls(baseW, baseH, 1.0, 1.0);
  EXPECT_EQ(corner->mRescales.back(), 1.0);
  EXPECT_EQ(corner->GetScaleX(), 1.0);
}

// ---- The control list -----------------------------------------------------------------

TEST_F(Redraw, TheBackgroundPanelGoesFirstAndStaysPut) {
  ProbeControl* first = Add(IRECT(10, 10, 20, 20));
  ProbeControl* second = Add(IRECT(30, 10, 40, 20));
  IMouseMod left(true);
  graphics->OnMouseDown(35, 15, &left);
  const IColor grey = kColorGray;
  graphics->AttachPanelBackground(&grey);
  // The capture follows its control up the list.
  graphics->OnMouseDrag(36, 15, &left);
  EXPECT_EQ(second->mEvents.back(), "drag 1,0");
  ASSERT_EQ(graphics->NControls(), 3);
  auto* panel = dynamic_cast<IPanelControl*>(graphics->GetControl(0));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(graphics->GetControl(1), first);
  EXPECT_EQ(graphics->GetControl(2), second);
  EXPECT_EQ(panel->GetColor(), grey);
  EXPECT_EQ(panel->GetRECT(), IRECT(0, 0, 200, 100));
  EXPECT_EQ(panel->ParamIdx(), -1);
  EXPECT_EQ(panel->GetBlend()->mMethod, IChannelBlend::kBlendNone);
  EXPECT_EQ(panel->GetBlend()->mWeight, 1.0f);
  graphics->RescaleControls(200, 100, 2.0, 2.0);
  EXPECT_EQ(panel->GetRECT(), IRECT(0, 0, 200, 100));
}

TEST_F(Redraw, BindingHelpersReachEveryBoundControl) {
  ProbeControl* one = Add(IRECT(10, 10, 20, 20), GraphicsTestPlug::kFreq);
  ProbeControl* two = Add(IRECT(30, 10, 40, 20), GraphicsTestPlug::kFreq);
  ProbeControl* other = Add(IRECT(50, 10, 60, 20), GraphicsTestPlug::kMode);
  graphics->GrayOutControl(GraphicsTestPlug::kFreq, true);
  EXPECT_TRUE(one->IsGrayed() && two->IsGrayed());
  EXPECT_FALSE(other->IsGrayed());

  plug.mChanged.clear();
  graphics->SetAllControlsDirty(false);
  EXPECT_TRUE(plug.mChanged.empty());
  graphics->SetAllControlsDirty(true);
  EXPECT_EQ(plug.mChanged, (std::vector<int>{GraphicsTestPlug::kFreq, GraphicsTestPlug::kFreq,
                                             GraphicsTestPlug::kMode}));
}

TEST_F(Redraw, ResizeAndResetRebuildTheControlsAndTellThePlugIn) {
  Add(IRECT(10, 10, 20, 20));
  IMouseMod left(true);
  graphics->OnMouseDown(15, 15, &left);
  EXPECT_TRUE(graphics->Resize(300, 150, true));
  EXPECT_EQ(graphics->NControls(), 1);
  EXPECT_EQ(graphics->GetMouseCapture(), 0);

  graphics->SetHandleMouseOver(true);
  graphics->OnMouseOver(15, 15, &left);
  EXPECT_TRUE(graphics->Resize(400, 200, false));
  EXPECT_EQ(graphics->NControls(), 0);
  EXPECT_EQ(graphics->GetMouseCapture(), -1);
  EXPECT_EQ(graphics->GetMouseOver(), -1);  // no index into the next controls
  EXPECT_EQ(graphics->Width(), 400);
  EXPECT_EQ(graphics->Height(), 200);
  ASSERT_EQ(plug.mResizes.size(), 2u);
  EXPECT_EQ(plug.mResizes[1].width, 400);
  EXPECT_FALSE(plug.mResizes[1].keepControls);

  Add(IRECT(10, 10, 20, 20));
  graphics->ResetControls();
  EXPECT_EQ(graphics->NControls(), 0);
  EXPECT_EQ(plug.mControlsCleared, 1);
}

TEST_F(Redraw, TheTimerHookReachesThePlugIn) {
  graphics->OnGUIIdle();
  graphics->OnGUIIdle();
  EXPECT_EQ(plug.mGUIIdles, 2);
}

}  // namespace
