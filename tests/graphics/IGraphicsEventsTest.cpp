#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/graphics/GraphicsFixtures.h"

namespace {

using Events = std::vector<std::string>;

class Dispatch : public GraphicsFixture {
 protected:
  Dispatch() {
    background = Add(IRECT(0, 0, 200, 100));
    a = Add(IRECT(0, 0, 50, 50), GraphicsTestPlug::kFreq);
    b = Add(IRECT(25, 25, 75, 75));
  }

  IMouseMod left{true};
  ProbeControl* background;
  ProbeControl* a;  // bound to a parameter
  ProbeControl* b;  // attached later, overlapping a
};

struct HitCase {
  bool hideB, grayB;
  int x, y;
  char expected;  // 'a', 'b' or '0' for the background
};

class HitTest : public Dispatch, public ::testing::WithParamInterface<HitCase> {};

TEST_P(HitTest, LaterControlsSitOnTopUnlessHiddenOrGreyed) {
  const HitCase c = GetParam();
  b->Hide(c.hideB);
  b->GrayOut(c.grayB);
  graphics->OnMouseDown(c.x, c.y, &left);
  const Events down = {"down " + std::to_string(c.x) + "," + std::to_string(c.y)};
  EXPECT_EQ(a->mEvents, c.expected == 'a' ? down : Events());
  EXPECT_EQ(b->mEvents, c.expected == 'b' ? down : Events());
  EXPECT_EQ(background->mEvents, c.expected == '0' ? down : Events());
}

INSTANTIATE_TEST_SUITE_P(Overlap, HitTest,
                         ::testing::Values(HitCase{false, false, 30, 30, 'b'}, HitCase{true, false, 30, 30, 'a'},
                                           HitCase{false, true, 30, 30, 'a'}, HitCase{false, false, 10, 10, 'a'},
                                           // Right and bottom edges are outside.
                                           HitCase{false, false, 74, 74, 'b'}, HitCase{false, false, 75, 40, '0'},
                                           HitCase{true, false, 60, 60, '0'}));

TEST_F(Dispatch, TheCapturedControlGetsTheDragsAndTheMouseUpOutsideIt) {
  graphics->OnMouseDown(10, 10, &left);
  EXPECT_TRUE(graphics->mMouseDown);
  graphics->OnMouseDrag(15, 12, &left);
  graphics->OnMouseDrag(15, 12, &left);  // no movement: no call
  graphics->OnMouseDrag(150, 90, &left);
  graphics->OnMouseUp(150, 90, &left);
  EXPECT_EQ(a->mEvents, (Events{"down 10,10", "drag 5,2", "drag 135,78", "up 150,90"}));
  EXPECT_TRUE(background->mEvents.empty());
  EXPECT_FALSE(graphics->mMouseDown);
  EXPECT_EQ(graphics->GetMouseCapture(), -1);

  // Released: a drag reaches nobody, a mouse-up goes to the control under it.
  graphics->OnMouseDrag(20, 20, &left);
  graphics->OnMouseUp(150, 90, &left);
  EXPECT_EQ(a->mEvents.size(), 4u);
  EXPECT_EQ(background->mEvents, Events{"up 150,90"});
}

TEST_F(Dispatch, EveryMouseEventLeavesItsModifiersForThePlugIn) {
  IMouseMod shiftAlt(true, false, true, false, true);
  graphics->OnMouseDown(10, 10, &shiftAlt);
  EXPECT_TRUE(graphics->mLastMouseMod.S && graphics->mLastMouseMod.A && !graphics->mLastMouseMod.C);
  IMouseMod control(false, false, false, true);
  graphics->OnMouseUp(10, 10, &control);
  EXPECT_TRUE(graphics->mLastMouseMod.C && !graphics->mLastMouseMod.S);
}

TEST_F(Dispatch, ABoundControlsClickIsBracketedForTheHost) {
  graphics->OnMouseDown(10, 10, &left);
  graphics->OnMouseUp(10, 10, &left);
  graphics->OnMouseDown(60, 60, &left);  // unbound: nothing for the host
  graphics->OnMouseUp(60, 60, &left);
  EXPECT_EQ(plug.mEdits, (Events{"B1", "E1"}));
}

TEST_F(Dispatch, TheHostNeverHearsAnEndWithoutItsBeginOrTheReverse) {
  // A mouse-up with nothing captured, over a bound control.
  graphics->OnMouseUp(10, 10, &left);
  // A double-click taken as a mouse-down captures without a begin.
  a->SetDblAsSingleClick(true);
  EXPECT_TRUE(graphics->OnMouseDblClick(10, 10, &left));
  graphics->OnMouseUp(10, 10, &left);
  EXPECT_TRUE(plug.mEdits.empty());
  EXPECT_EQ(a->mEvents, (Events{"up 10,10", "down 10,10", "up 10,10"}));

  // A mouse-up that never came: the next click ends the open edit first.
  auto* other = Add(IRECT(100, 0, 150, 50), GraphicsTestPlug::kMode);
  graphics->OnMouseDown(10, 10, &left);
  graphics->OnMouseDown(120, 10, &left);
  graphics->OnMouseUp(120, 10, &left);
  EXPECT_EQ(plug.mEdits, (Events{"B1", "E1", "B0", "E0"}));
  EXPECT_EQ(other->mEvents.size(), 2u);
}

TEST_F(Dispatch, AnEditOpenWhenTheControlsGoIsEnded) {
  graphics->OnMouseDown(10, 10, &left);
  graphics->ResetControls();
  EXPECT_EQ(plug.mEdits, (Events{"B1", "E1"}));
  EXPECT_EQ(graphics->GetMouseCapture(), -1);
}

TEST_F(Dispatch, ADoubleClickGoesToTheControlsOwnHandlerUnlessItWantsAMouseDown) {
  EXPECT_FALSE(graphics->OnMouseDblClick(60, 60, &left));
  EXPECT_EQ(b->mEvents, Events{"dbl 60,60"});
  EXPECT_EQ(graphics->GetMouseCapture(), -1);

  b->SetDblAsSingleClick(true);
  EXPECT_TRUE(graphics->OnMouseDblClick(60, 60, &left));
  graphics->OnMouseDrag(61, 60, &left);
  EXPECT_EQ(b->mEvents, (Events{"dbl 60,60", "down 60,60", "drag 1,0"}));

  graphics->ReleaseMouseCapture();
  EXPECT_FALSE(graphics->OnMouseDblClick(300, 300, &left));  // nothing there
}

TEST_F(Dispatch, TheWheelMarksItsModifiersAndPrefersTheCapturedControl) {
  IMouseMod mod;
  graphics->OnMouseWheel(60, 60, &mod, -2);
  EXPECT_EQ(b->mEvents, Events{"wheel -2 W"});
  EXPECT_TRUE(mod.W);
  EXPECT_TRUE(graphics->mLastMouseMod.W);

  graphics->OnMouseDown(10, 10, &left);
  IMouseMod again;
  graphics->OnMouseWheel(60, 60, &again, 3);
  EXPECT_EQ(a->mEvents, (Events{"down 10,10", "wheel 3 W"}));
}

TEST_F(Dispatch, MouseOverMovesBetweenControlsOnlyWhenHandled) {
  IMouseMod none;
  EXPECT_FALSE(graphics->OnMouseOver(10, 10, &none));
  EXPECT_TRUE(a->mEvents.empty());

  graphics->SetHandleMouseOver(true);
  EXPECT_TRUE(graphics->OnMouseOver(10, 10, &none));
  EXPECT_TRUE(graphics->OnMouseOver(11, 10, &none));  // the same control: no out
  EXPECT_TRUE(graphics->OnMouseOver(60, 60, &none));
  EXPECT_EQ(a->mEvents, (Events{"over 10,10", "over 11,10", "out"}));
  EXPECT_EQ(b->mEvents, Events{"over 60,60"});
  EXPECT_EQ(graphics->GetMouseOver(), 2);

  // Nowhere (off the editor): the last control hears its out, once, and
  // none is under the mouse.
  graphics->OnMouseOver(500, 500, &none);
  graphics->OnMouseOver(501, 500, &none);
  EXPECT_EQ(b->mEvents, (Events{"over 60,60", "out"}));
  EXPECT_EQ(graphics->GetMouseOver(), -1);

  // A greyed control is passed over unless it asks for mouse-over.
  b->GrayOut(true);
  graphics->OnMouseOver(60, 60, &none);
  EXPECT_EQ(background->mEvents, Events{"over 60,60"});
  b->SetMOWhenGrayed(true);
  graphics->OnMouseOver(60, 61, &none);
  EXPECT_EQ(b->mEvents.back(), "over 60,61");
  EXPECT_EQ(background->mEvents.back(), "out");
}

TEST_F(Dispatch, KeysGoToTheFocusThenTheControlThenTheCatcher) {
  EXPECT_TRUE(graphics->OnKeyDown(60, 60, 'x'));
  EXPECT_EQ(b->mEvents, Events{"key 120"});
  // The background does not take keys, and no catcher is set.
  EXPECT_FALSE(graphics->OnKeyDown(150, 80, 'y'));
  EXPECT_TRUE(background->mEvents.empty());

  auto* catcher = new ProbeControl(&plug, IRECT());
  graphics->SetKeyCatcher(catcher);  // owned by the graphics object from here
  EXPECT_TRUE(graphics->OnKeyDown(150, 80, 'y'));
  EXPECT_TRUE(graphics->OnKeyDown(500, 500, 'z'));
  EXPECT_EQ(catcher->mEvents, (Events{"key 121", "key 122"}));

  graphics->SetKeyFocus(a);
  graphics->OnKeyDown(60, 60, 'q');
  EXPECT_EQ(a->mEvents, Events{"key 113"});
  EXPECT_EQ(b->mEvents.size(), 1u);
}

TEST_F(Dispatch, DropsReachAControlOnlyWhenAccepted) {
  graphics->OnDrop("/tmp/a.wav", 60, 60);
  EXPECT_TRUE(b->mEvents.empty());
  graphics->SetAcceptDrops(true);
  graphics->OnDrop("/tmp/a.wav", 60, 60);
  graphics->OnDrop("/tmp/b.wav", 150, 80);  // the background never takes one
  EXPECT_EQ(b->mEvents, Events{"drop /tmp/a.wav"});
  EXPECT_TRUE(background->mEvents.empty());
}

TEST_F(Dispatch, TheParameterAtAPointIsKeptUntilTaken) {
  EXPECT_EQ(graphics->FindParamIdxAtPoint(10, 10), GraphicsTestPlug::kFreq);
  EXPECT_EQ(graphics->TakeParamIdxAtPoint(), GraphicsTestPlug::kFreq);
  EXPECT_EQ(graphics->TakeParamIdxAtPoint(), -1);
  EXPECT_EQ(graphics->FindParamIdxAtPoint(150, 80), -1);  // the background
  EXPECT_EQ(graphics->FindParamIdxAtPoint(500, 500), -1);
  // While a control is captured it answers wherever the mouse is.
  graphics->OnMouseDown(10, 10, &left);
  EXPECT_EQ(graphics->FindParamIdxAtPoint(150, 80), GraphicsTestPlug::kFreq);
}

}  // namespace
