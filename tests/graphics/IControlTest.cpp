#include "graphics/IControl.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphics/controls/ITextControlExt.h"
#include "tests/graphics/GraphicsFixtures.h"

namespace {

using Control = GraphicsFixture;

// Two frames drawn: what a redraw pending leaves dirty is clean after both.
void DrawTwice(IControl* c) {
  c->SetClean();
  c->SetClean();
}

TEST_F(Control, SetDirtyClampsThenPushesTheClampedValue) {
  ProbeControl* c = Add(IRECT(0, 0, 10, 10), GraphicsTestPlug::kFreq);
  c->SetValueFromUserInput(1.3);
  EXPECT_EQ(c->GetValue(), 1.0);
  EXPECT_EQ(plug.GetParam(GraphicsTestPlug::kFreq)->Value(), 20000.0);
  ASSERT_FALSE(plug.mHostValues.empty());
  EXPECT_EQ(plug.mHostValues.back().second, 1.0);

  c->SetClampRange(0.25, 0.5);
  c->SetValueFromUserInput(0.1);
  EXPECT_EQ(c->GetValue(), 0.25);
  EXPECT_EQ(plug.GetParam(GraphicsTestPlug::kFreq)->Value(), 5000.0);
  EXPECT_EQ(plug.mChanged, (std::vector<int>{GraphicsTestPlug::kFreq, GraphicsTestPlug::kFreq}));

  // A NaN is not clamped into the range: nothing is pushed and the control
  // shows the parameter's value again.
  c->SetClampRange(0.0, 1.0);
  c->SetValueFromUserInput(std::nan(""));
  EXPECT_EQ(plug.GetParam(GraphicsTestPlug::kFreq)->Value(), 5000.0);
  EXPECT_EQ(c->GetValue(), 0.25);
  EXPECT_EQ(plug.mChanged.size(), 2u);

  // Without push nothing reaches the plug-in.
  plug.mChanged.clear();
  c->SetDirty(false);
  EXPECT_TRUE(plug.mChanged.empty());
}

TEST_F(Control, TheSameUserValueChangesNothing) {
  ProbeControl* c = Add(IRECT(0, 0, 10, 10), GraphicsTestPlug::kFreq);
  c->SetValueFromUserInput(0.5);
  DrawTwice(c);
  plug.mChanged.clear();
  c->SetValueFromUserInput(0.5);
  EXPECT_TRUE(plug.mChanged.empty());
  EXPECT_FALSE(c->IsDirty());
}

TEST_F(Control, AValueFromThePlugInIsShownButNeverEchoed) {
  // No default yet: the first value becomes it, with no redraw.
  ProbeControl* unbound = Add(IRECT(0, 0, 10, 10));
  DrawTwice(unbound);
  unbound->SetValueFromPlug(0.7);
  EXPECT_EQ(unbound->GetValue(), 0.7);
  EXPECT_EQ(unbound->GetDefaultValue(), 0.7);
  EXPECT_FALSE(unbound->IsDirty());

  ProbeControl* bound = Add(IRECT(0, 0, 10, 10), GraphicsTestPlug::kFreq);
  EXPECT_DOUBLE_EQ(bound->GetDefaultValue(), 1000.0 / 20000.0);
  DrawTwice(bound);
  bound->SetValueFromPlug(0.3);
  EXPECT_EQ(bound->GetValue(), 0.3);
  bound->SetClean();
  EXPECT_TRUE(bound->IsDirty());  // the pending redraw
  bound->SetClean();
  EXPECT_FALSE(bound->IsDirty());
  bound->SetValueFromPlug(0.3);
  EXPECT_FALSE(bound->IsDirty());
  EXPECT_TRUE(plug.mChanged.empty());
  EXPECT_TRUE(plug.mHostValues.empty());
}

TEST_F(Control, AUserChangeRefreshesTheValueAndNameDisplays) {
  auto* value = new ITextControlExt(&plug, IRECT(0, 20, 40, 30));
  auto* name = new ITextControlExt(&plug, IRECT(0, 30, 40, 40));
  graphics->AttachControl(value);
  graphics->AttachControl(name);
  ProbeControl* freq = Add(IRECT(0, 0, 10, 10), GraphicsTestPlug::kFreq);
  freq->SetValueDisplayControl(value);
  freq->SetNameDisplayControl(name);
  value->SetClean();
  freq->SetValueFromUserInput(0.25);
  EXPECT_STREQ(value->GetText(), "5000 Hz");
  EXPECT_STREQ(name->GetText(), "Freq");
  EXPECT_TRUE(value->IsDirty());

  // A display text has no unit: the blank stays.
  ProbeControl* mode = Add(IRECT(0, 0, 10, 10), GraphicsTestPlug::kMode);
  mode->SetValueDisplayControl(value);
  mode->SetValueFromUserInput(1.0);
  EXPECT_STREQ(value->GetText(), "High ");
}

TEST_F(Control, ADoubleClickRestoresADefaultWhenThereIsOne) {
  ProbeControl* bound = Add(IRECT(0, 0, 10, 10), GraphicsTestPlug::kFreq);
  bound->SetValueFromUserInput(0.9);
  bound->IControl::OnMouseDblClick(5, 5, nullptr);
  EXPECT_DOUBLE_EQ(bound->GetValue(), 0.05);
  EXPECT_EQ(plug.GetParam(GraphicsTestPlug::kFreq)->Value(), 1000.0);

  IControl* none = new IControl(&plug, IRECT(0, 0, 10, 10));
  graphics->AttachControl(none);
  none->SetValueFromUserInput(0.4);
  none->OnMouseDblClick(5, 5, nullptr);
  EXPECT_EQ(none->GetValue(), 0.4);
}

struct PromptBoxCase {
  IRECT rect;
  IRECT box;
};

class PromptBox : public GraphicsFixture, public ::testing::WithParamInterface<PromptBoxCase> {};

// Centres are truncated toward zero, also left of or above the origin.
TEST_P(PromptBox, ARightClickOpensA40By16BoxCentredOnTheControl) {
  ProbeControl* c = Add(GetParam().rect, GraphicsTestPlug::kFreq);
  c->SetPromptDisabled(false);
  IMouseMod right(false, true);
  c->OnMouseDown(0, 0, &right);
  EXPECT_EQ(graphics->mEntryControl, c);
  EXPECT_EQ(graphics->mEntryRect, GetParam().box);
}

INSTANTIATE_TEST_SUITE_P(Rects, PromptBox,
                         ::testing::Values(PromptBoxCase{IRECT(10, 20, 61, 45), IRECT(15, 24, 55, 40)},
                                           PromptBoxCase{IRECT(-31, -11, 0, 0), IRECT(-35, -13, 5, 3)}));

TEST_F(Control, PromptsStayClosedUntilEnabledAndCoverAChoiceControl) {
  ProbeControl* mode = Add(IRECT(10, 20, 61, 45), GraphicsTestPlug::kMode);
  IMouseMod right(false, true);
  mode->OnMouseDown(0, 0, &right);
  EXPECT_TRUE(graphics->mPopupItems.empty());

  mode->SetPromptDisabled(false);
  IMouseMod left(true);
  mode->OnMouseDown(0, 0, &left);
  EXPECT_TRUE(graphics->mPopupItems.empty());
  mode->OnMouseDown(0, 0, &right);
  EXPECT_EQ(graphics->mPopupArea, IRECT(10, 20, 61, 45));
  EXPECT_TRUE(mode->IsRedrawPending());

  ProbeControl* unbound = Add(IRECT(0, 0, 10, 10));
  unbound->SetPromptDisabled(false);
  unbound->OnMouseDown(0, 0, &right);
  EXPECT_EQ(graphics->mEntryControl, nullptr);
}

TEST_F(Control, GreyingSetsTheWeightAndUngreyingRestoresFullWeight) {
  IControl* c = new IControl(&plug, IRECT(0, 0, 10, 10), -1, IChannelBlend(IChannelBlend::kBlendAdd, 0.6f));
  graphics->AttachControl(c);
  c->GrayOut(true);
  EXPECT_EQ(c->GetBlend()->mWeight, 0.25f);
  EXPECT_EQ(c->GetBlend()->mMethod, IChannelBlend::kBlendAdd);
  c->GrayOut(false);
  EXPECT_EQ(c->GetBlend()->mWeight, 1.0f);
  c->SetGrayWeight(true);
  EXPECT_EQ(c->GetBlend()->mWeight, 0.25f);
  EXPECT_FALSE(c->IsGrayed());
}

TEST_F(Control, HidingOrDisablingRedrawsForTwoFrames) {
  ProbeControl* c = Add(IRECT(0, 0, 10, 10));
  for (auto change : {+[](IControl* x) { x->Hide(true); }, +[](IControl* x) { x->SetDisabled(true); }}) {
    DrawTwice(c);
    change(c);
    c->SetClean();
    EXPECT_TRUE(c->IsDirty());
  }
}

TEST(ControlGeometry, RectanglesComeFromTheDescriptionsFirstFourCells) {
  IRECTResize d;
  d.mForm = IRECTResize::kFormLTRB;
  d.mX = {5, kAnchorScaled};
  d.mY = {6, kAnchorFixed};
  d.mW = {10, kAnchorScaled};
  d.mH = {20, kAnchorFromBottom};
  d.mL = {100, kAnchorScaled};
  IControl c(nullptr, d);
  EXPECT_EQ(c.GetRECT(), IRECT(5, 6, 15, 26));
  EXPECT_EQ(c.GetTargetRECT(), IRECT(5, 6, 15, 26));
  EXPECT_TRUE(c.GetRescale());
  EXPECT_LT(c.GetDefaultValue(), 0.0);

  // An empty target answers no point, the origin included.
  IControl empty(nullptr, IRECT());
  for (const auto& p : {std::pair<int, int>{0, 0}, {-1, -1}, {1, 1}}) EXPECT_FALSE(empty.IsHit(p.first, p.second));
}

TEST(ControlGeometry, AuxiliaryParametersAreFoundByParameter) {
  IControl c(nullptr, IRECT(0, 0, 10, 10), 0);
  EXPECT_EQ(c.GetAuxParamIdx(3), -1);
  c.AddAuxParam(3);
  c.AddAuxParam(5);
  c.AddAuxParam(3);
  EXPECT_EQ(c.GetAuxParamIdx(3), 0);
  EXPECT_EQ(c.GetAuxParamIdx(5), 1);
  EXPECT_EQ(c.GetAuxParamIdx(0), -1);
}

}  // namespace
