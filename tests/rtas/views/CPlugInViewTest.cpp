#include "rtas/views/CPlugInView.h"

#include <memory>

#include "ProbeView.h"
#include "ViewTestSupport.h"
#include "rtas/library/CDAEError.h"
#include "rtas/views/ViewOverlay.h"

namespace {

class PlugInView : public ViewTest {
 protected:
  // root (0,0)-(300,400) holding a (10,10)-(110,210) and b (150,10)-(250,210);
  // a holds a1 (20,20)-(60,100).
  void SetUp() override {
    ViewTest::SetUp();
    mRoot = std::make_unique<ProbeView>(&mJournal, "root", Rect{0, 0, kHeight, kWidth});
    mA = new ProbeView(&mJournal, "a", Rect{10, 10, 110, 210});
    mB = new ProbeView(&mJournal, "b", Rect{150, 10, 250, 210});
    mA1 = new ProbeView(&mJournal, "a1", Rect{20, 20, 60, 100});
    mRoot->AddChild(mA, true);
    mRoot->AddChild(mB, true);
    mRoot->AddChild(mA1, true);
  }
  void Attach() {
    mRoot->AttachPort(mPort);
    mRoot->ActivateView();
    mJournal.clear();
    ClearLog();
  }

  std::vector<std::string> mJournal;
  std::unique_ptr<ProbeView> mRoot;
  ProbeView* mA;
  ProbeView* mB;
  ProbeView* mA1;
};

}  // namespace

TEST_F(PlugInView, AddChildNestsWhereTheFrameFitsAndAppendsOtherwise) {
  EXPECT_EQ(mRoot->GetFirstChild(), mA);
  EXPECT_EQ(mA->GetNextSibling(), mB);
  EXPECT_EQ(mA->GetFirstChild(), mA1);
  EXPECT_EQ(mA1->GetParentView(), mA);
  // Overlapping both children: goes to the end of the top list.
  ProbeView* across = new ProbeView(nullptr, "across", Rect{100, 10, 160, 210});
  mRoot->AddChild(across, true);
  EXPECT_EQ(mB->GetNextSibling(), across);
  EXPECT_EQ(across->GetParentView(), mRoot.get());
  // Without nesting a view inside a goes to the top list too.
  ProbeView* flat = new ProbeView(nullptr, "flat", Rect{30, 30, 40, 40});
  mRoot->AddChild(flat, false);
  EXPECT_EQ(flat->GetParentView(), mRoot.get());
  EXPECT_EQ(across->GetNextSibling(), flat);
  mRoot->AddChild(nullptr, true);
}

TEST_F(PlugInView, HitTestingFindsTheDeepestViewUnderThePoint) {
  EXPECT_EQ(mRoot->FindViewAt(Point{30, 30}), mA1);
  EXPECT_EQ(mRoot->FindViewAt(Point{80, 150}), mA);
  EXPECT_EQ(mRoot->FindViewAt(Point{200, 100}), mB);
  EXPECT_EQ(mRoot->FindViewAt(Point{280, 350}), mRoot.get());
  EXPECT_EQ(mRoot->FindViewAt(Point{300, 10}), nullptr);  // bottom edge is outside
}

TEST_F(PlugInView, FindViewByIDSearchesChildrenFirstAndNeverFindsNone) {
  mA1->SetViewID(FourCC("dupe"));
  mB->SetViewID(FourCC("dupe"));
  EXPECT_EQ(mRoot->FindViewByID(FourCC("dupe")), mB);  // a direct child before a grandchild
  EXPECT_EQ(mA->FindViewByID(FourCC("dupe")), mA1);
  mA->SetViewID(FourCC("NONE"));
  EXPECT_EQ(mRoot->FindViewByID(FourCC("NONE")), nullptr);
  EXPECT_EQ(mRoot->FindViewByID(FourCC("gone")), nullptr);
}

TEST_F(PlugInView, TheVisibleRectIsCutByTheLimitAndEveryAncestor) {
  mA->SetLimitRect(Rect{0, 0, 50, 400});
  Rect r;
  mA1->GetVisibleRect(&r);
  EXPECT_TRUE(SameRect(r, 20, 20, 50, 100));
  mA1->SetLimitRect(Rect{200, 200, 300, 300});
  mA1->GetVisibleRect(&r);
  EXPECT_TRUE(EmptyRect(&r));
}

TEST_F(PlugInView, FocusingNestsUpToFourAndRestoresThePort) {
  try {
    mA->FocusView(nullptr);
    FAIL();
  } catch (const CDAEError& e) {
    EXPECT_EQ(e.Code(), -7053);
  }
  Attach();
  GrafPtr other = platform::NewStandInPort(10, 10);
  SetPort(other);
  const Rect within{0, 50, 30, 150};
  mA->FocusView(&within);
  EXPECT_EQ(GetPort(), mPort);
  EXPECT_EQ(platform::ClipRects(mPort), (std::vector<Rect>{Rect{10, 50, 30, 150}}));
  for (int i = 1; i < CPlugInView::kMaxFocusDepth; ++i) mA->FocusView(nullptr);
  EXPECT_EQ(platform::ClipRects(mPort), (std::vector<Rect>{mA->Frame()}));
  try {
    mA->FocusView(nullptr);
    FAIL();
  } catch (const CDAEError& e) {
    EXPECT_EQ(e.Code(), -7400);
  }
  for (int i = 0; i < CPlugInView::kMaxFocusDepth; ++i) mA->UnfocusView();
  EXPECT_EQ(GetPort(), other);
  SetPort(mPort);
  EXPECT_EQ(platform::ClipRects(mPort), (std::vector<Rect>{Rect{-32767, -32767, 32767, 32767}}));
  EXPECT_THROW(mA->UnfocusView(), CDAEError);
  platform::DisposeStandInPort(other);
}

TEST_F(PlugInView, DrawingGoesParentFirstThenChildrenInOrderWithinTheRect) {
  Attach();
  const Rect r{0, 0, 120, 400};  // misses b
  mRoot->DrawRect(&r);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"root draw 0,0,120,400", "a draw 10,10,110,210",
                                                "a1 draw 20,20,60,100"}));
  // Only the root erases, in its back colour and the white pattern.
  const auto erases = Ops(platform::DrawOp::kEraseRect);
  ASSERT_EQ(erases.size(), 1u);
  EXPECT_TRUE(SameRect(erases[0].rect, 0, 0, 120, 400));
  EXPECT_EQ(erases[0].back, (RGBColor{0x8888, 0x8888, 0x8888}));
  EXPECT_EQ(erases[0].backPattern, std::string(8, '\0'));  // white
  EXPECT_EQ(erases[0].clip, (std::vector<Rect>{r}));
  EXPECT_EQ(mA->FocusDepth(), 0);
  EXPECT_EQ(mRoot->FocusDepth(), 0);
}

TEST_F(PlugInView, DrawingNeedsAPortAndAVisiblePart) {
  mRoot->DrawRect(nullptr);
  EXPECT_TRUE(mJournal.empty());
  Attach();
  const Rect outside{400, 500, 410, 510};
  mA->DrawRect(&outside);
  EXPECT_TRUE(mJournal.empty());
  mA->SetLimitRect(Rect{0, 0, 5, 5});
  mA->DrawRect(nullptr);
  EXPECT_TRUE(mJournal.empty());
}

TEST_F(PlugInView, AnOverlayHoldsBackWhatItCoversAndRedrawsItWhenItGoes) {
  Attach();
  GrafPtr menu = platform::NewStandInPort(100, 100, Point{50, 150});  // global (50,150)-(150,250)
  SetPort(menu);
  const Rect local{0, 0, 100, 100};
  CPlugInView::SetOverlayRect(menu, &local);
  mA->DrawRect(nullptr);
  // a's clip is its frame less the overlay, in a's port.
  RgnHandle expected = NewRgn();
  RgnHandle overlay = NewRgn();
  RectRgn(expected, &mA->Frame());
  const Rect covered{50, 150, 150, 250};
  RectRgn(overlay, &covered);
  DiffRgn(expected, overlay, expected);
  const auto frames = Ops(platform::DrawOp::kFrameRect);
  ASSERT_EQ(frames.size(), 2u);  // a and a1
  EXPECT_EQ(platform::RectListArea(frames[0].clip), platform::RegionArea(expected));
  for (const Rect& r : frames[0].clip) {
    Rect meet;
    EXPECT_FALSE(SectRect(&r, &covered, &meet));
  }
  EXPECT_EQ(ViewOverlay::HeldBackCount(), 1);
  // b lies clear of the overlay and is not held back.
  mB->DrawRect(nullptr);
  EXPECT_EQ(ViewOverlay::HeldBackCount(), 1);
  mA1->DrawRect(nullptr);
  EXPECT_EQ(ViewOverlay::HeldBackCount(), 1);  // a1 is clear too
  const Rect part{60, 100, 100, 200};
  mRoot->DrawRect(&part);
  EXPECT_EQ(ViewOverlay::HeldBackCount(), 2);
  mJournal.clear();
  CPlugInView::SetOverlayRect(nullptr, nullptr);
  // Last held back first, each with the rectangle it was held back in.
  ASSERT_GE(mJournal.size(), 2u);
  EXPECT_EQ(mJournal.front(), "root draw 60,100,100,200");
  EXPECT_EQ(ViewOverlay::HeldBackCount(), 0);
  DisposeRgn(expected);
  DisposeRgn(overlay);
  platform::DisposeStandInPort(menu);
}

TEST_F(PlugInView, The129thHeldBackViewFailsWithoutLeavingItsFocus) {
  Attach();
  std::vector<std::unique_ptr<CPlugInView>> views;
  GrafPtr menu = platform::NewStandInPort(400, 300);
  SetPort(menu);
  const Rect all{0, 0, 300, 400};
  CPlugInView::SetOverlayRect(menu, &all);
  for (int i = 0; i <= ViewOverlay::kMaxHeldBack; ++i) {
    views.push_back(std::make_unique<CPlugInView>());
    views.back()->SetFrameRect(Rect{0, 0, 10, 10});
    views.back()->AttachPort(mPort);
  }
  for (int i = 0; i < ViewOverlay::kMaxHeldBack; ++i) views[i]->FocusView(nullptr), views[i]->UnfocusView();
  try {
    views.back()->FocusView(nullptr);
    FAIL();
  } catch (const CDAEError& e) {
    EXPECT_EQ(e.Code(), -7400);
  }
  EXPECT_EQ(views.back()->FocusDepth(), 0);
  // A held-back view that is deleted is not redrawn later.
  views.front().reset();
  EXPECT_EQ(ViewOverlay::HeldBackCount(), ViewOverlay::kMaxHeldBack - 1);
  CPlugInView::SetOverlayRect(nullptr, nullptr);
  platform::DisposeStandInPort(menu);
}

TEST_F(PlugInView, HidingParksTheViewOnceAndShowingBringsItBack) {
  Attach();
  mA->HideView();
  EXPECT_EQ(mA->Frame().left, 10 + CPlugInView::kHideOffset);
  EXPECT_EQ(mA1->Frame().left, 20 + CPlugInView::kHideOffset);
  mA->HideView();
  EXPECT_EQ(mA->Frame().left, 10 + CPlugInView::kHideOffset);
  // The old place and the new one were invalidated.
  EXPECT_EQ(platform::InvalidArea(mWindow), 2 * 100L * 200L);
  mA->ShowView();
  EXPECT_TRUE(SameRect(mA->Frame(), 10, 10, 110, 210));
  EXPECT_TRUE(SameRect(mA1->Frame(), 20, 20, 60, 100));
  mB->ShowView();
  EXPECT_TRUE(SameRect(mB->Frame(), 150, 10, 250, 210));
  // A view reaching past 16383 comes back whole: offsets wrap, not clamp.
  CPlugInView wide;
  wide.SetFrameRect(Rect{0, 8000, 10, 20000});
  wide.HideView();
  wide.ShowView();
  EXPECT_TRUE(SameRect(wide.Frame(), 0, 8000, 10, 20000));
}

TEST_F(PlugInView, MovingWithRedrawRepaintsTheNewFrameAndTheUncoveredStrips) {
  Attach();
  mB->MoveWithRedraw(30, 20);  // (150,10)-(250,210) to (170,40)-(270,240)
  EXPECT_TRUE(SameRect(mB->Frame(), 170, 40, 270, 240));
  EXPECT_EQ(mJournal, (std::vector<std::string>{"b draw 170,40,270,240", "root draw 150,10,170,210",
                                                "root draw 170,10,250,40"}));
  mJournal.clear();
  mB->MoveWithRedraw(0, 0);
  EXPECT_TRUE(mJournal.empty());
  mB->MoveWithRedraw(0, -200);  // clear of the old frame: all of it is redrawn
  ASSERT_EQ(mJournal.size(), 2u);
  EXPECT_EQ(mJournal[1], "root draw 170,40,270,240");
  CPlugInView loose;
  loose.MoveWithRedraw(5, 5);
  EXPECT_TRUE(SameRect(loose.Frame(), 5, 5, 5, 5));
}

TEST_F(PlugInView, TrackingHilitesWhileTheMouseIsInsideAndYieldsEachRound) {
  FakeGroupServices group;
  SetViewGroupServices(&group);
  Attach();
  platform::ScriptMouse(Point{50, 50}, true, {At(50, 50), At(300, 50), At(60, 60), At(60, 60, false)});
  EventRecord click = Click(50, 50);
  mA->HandleClick(&click);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"a hilite", "a draw 10,10,110,210", "a1 draw 20,20,60,100",
                                                "a unhilite", "a draw 10,10,110,210", "a1 draw 20,20,60,100",
                                                "a hilite", "a draw 10,10,110,210", "a1 draw 20,20,60,100",
                                                "a unhilite", "a draw 10,10,110,210", "a1 draw 20,20,60,100"}));
  EXPECT_EQ(group.mYields, 3);
}

TEST_F(PlugInView, ASyntheticClickOrADisabledViewDoesNotTrack) {
  Attach();
  platform::ScriptMouse(Point{50, 50}, true, {At(50, 50), At(50, 50, false)});
  EventRecord synthetic = Click(50, 50, 0, CPlugInView::kSyntheticClick);
  mA->HandleClick(&synthetic);
  EXPECT_TRUE(mJournal.empty());
  EXPECT_EQ(platform::PendingMouseSamples(), 2);
  mA->SetEnabled(false);
  EventRecord click = Click(50, 50);
  mA->HandleClick(&click);
  EXPECT_TRUE(mJournal.empty());
}

TEST_F(PlugInView, DraggingKeepsTheChildInsideItsContainer) {
  Attach();
  mA1->SetDraggable(true);
  // a1 (20,20)-(60,100) in a (10,10)-(110,210), whose inside less a pixel
  // is (11,11)-(109,209): a1 can go 109 to the right and 49 down.
  platform::ScriptMouse(Point{30, 30}, true, {At(40, 35), At(500, 35), At(500, 500), At(500, 500, false)});
  EventRecord click = Click(30, 30);
  mA1->HandleClick(&click);
  EXPECT_TRUE(SameRect(mA1->Frame(), 69, 129, 109, 209));
  EXPECT_FALSE(mA1->IsHilited());
  EXPECT_FALSE(mA1->IsDragging());
  int moves = 0;
  for (const std::string& line : mJournal) moves += line == "a child moved";
  EXPECT_EQ(moves, 3);
}

TEST_F(PlugInView, AClickGoesToTheFirstEnabledViewAndMovesTheFocus) {
  platform::DisposeStandInWindow(mWindow);
  mWindow = platform::NewStandInWindow(kWidth, kHeight, Point{100, 200});  // content at global (100,200)
  mPort = GetWindowPort(mWindow);
  Attach();
  mA1->SetEnabled(false);
  mA->mFocusable = true;
  mB->mFocusable = true;
  mRoot->SetFocusView(mB);
  platform::ScriptMouse(Point{0, 0}, false, {});
  EventRecord click = Click(230, 130);  // local (30,30): inside a1, which is disabled
  mRoot->DoClick(&click);
  EXPECT_EQ(mRoot->GetFocusView(), mA);
  EXPECT_EQ(mJournal.front(), "b end drop");
  // A view that cannot take focus clears it.
  mJournal.clear();
  EventRecord onRoot = Click(200 + 350, 100 + 280);
  mRoot->DoClick(&onRoot);
  EXPECT_EQ(mRoot->GetFocusView(), nullptr);
  EXPECT_EQ(mJournal.front(), "a end drop");
}

TEST_F(PlugInView, KeysGoToTheFocusView) {
  Attach();
  ProbeView* c = new ProbeView(&mJournal, "c", Rect{260, 10, 280, 50});
  mRoot->AddChild(c, true);
  mA->mFocusable = mB->mFocusable = c->mFocusable = true;
  mB->SetEnabled(false);
  bool handled = true;
  EventRecord tab = Key(9);
  mRoot->DoKey(&tab, &handled);
  EXPECT_FALSE(handled);  // no focus yet

  struct Step {
    char key;
    uint16_t modifiers;
    const char* focusAfter;
    std::vector<std::string> journal;
  };
  mRoot->SetFocusView(mA);
  const Step steps[] = {
      {3, 0, "a", {"a end accept", "a begin"}},
      {9, 0, "c", {"a end accept", "c begin"}},                // b is disabled
      {9, 0, "a", {"c end accept", "a begin"}},                // wraps to the first before
      {9, shiftKey, "c", {"a end accept", "c begin"}},         // nothing before a: the last after
      {9, shiftKey, "a", {"c end accept", "a begin"}},         // the nearest before
      {'x', 0, "a", {"a key x"}},
      {13, 0, "", {"a end accept"}},
  };
  for (const Step& s : steps) {
    mJournal.clear();
    EventRecord key = Key(s.key, s.modifiers);
    handled = false;
    mRoot->DoKey(&key, &handled);
    EXPECT_EQ(mJournal, s.journal) << int(s.key);
    EXPECT_EQ(handled, s.key != 'x') << int(s.key);
    CPlugInView* focus = mRoot->GetFocusView();
    const std::string name = focus == mA ? "a" : focus == c ? "c" : focus ? "?" : "";
    EXPECT_EQ(name, s.focusAfter) << int(s.key);
  }
  mRoot->SetFocusView(c);
  mJournal.clear();
  EventRecord escape = Key(27);
  mRoot->DoKey(&escape, &handled);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"c end drop"}));
  EXPECT_EQ(mRoot->GetFocusView(), nullptr);
  // Tab with no other candidate ends the edit and clears the focus.
  mA->mFocusable = false;
  mRoot->SetFocusView(c);
  mJournal.clear();
  mRoot->DoKey(&tab, &handled);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"c end accept"}));
  EXPECT_EQ(mRoot->GetFocusView(), nullptr);
}

TEST_F(PlugInView, DetachingThePortEndsTheEdit) {
  platform::DisposeStandInWindow(mWindow);
  mWindow = platform::NewStandInWindow(kWidth, kHeight);
  mPort = GetWindowPort(mWindow);
  SetPort(mPort);
  SetOrigin(5, 7);
  Attach();
  SetPort(nullptr);
  mRoot->SetFocusView(mA);
  mRoot->AttachPort(nullptr);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"a end drop"}));
  EXPECT_EQ(mRoot->GetFocusView(), nullptr);
  EXPECT_EQ(mA1->GetViewPort(), nullptr);
  // The origin taken at attach is the port's top-left at that time.
  mRoot->AttachPort(mPort);
  mA->FocusView(nullptr);
  Rect bounds;
  GetPortBounds(mPort, &bounds);
  EXPECT_EQ(bounds.left, 5);
  EXPECT_EQ(bounds.top, 7);
  mA->UnfocusView();
}

TEST_F(PlugInView, DeletingAViewInATreeUnlinksItAndItsFocus) {
  Attach();
  mRoot->SetFocusView(mA1);
  delete mA;  // takes a1 with it
  EXPECT_EQ(mRoot->GetFirstChild(), mB);
  EXPECT_EQ(mRoot->GetFocusView(), nullptr);
  mRoot->DrawRect(nullptr);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"root draw 0,0,300,400", "b draw 150,10,250,210"}));
}

TEST_F(PlugInView, IdlingReachesEveryViewThenYields) {
  FakeGroupServices group;
  SetViewGroupServices(&group);
  mRoot->IdleView(nullptr);
  // Each view yields once after its children.
  EXPECT_EQ(group.mYields, 4);
}
