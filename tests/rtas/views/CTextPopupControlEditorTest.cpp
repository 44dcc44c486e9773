#include "rtas/views/CTextPopupControlEditor.h"

#include <limits>

#include "FakeViewProcess.h"
#include "ViewTestSupport.h"
#include "rtas/views/CProcessControlView.h"
#include "rtas/views/ViewOverlay.h"

namespace {

class TextPopup : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    mProcess.mControls[1] = {4, 0, 0};
    mRoot.SetFrameRect(Rect{0, 0, kHeight, kWidth});
    CProcessControlView* control = new CProcessControlView;
    control->SetViewID(FourCC("ctrl"));
    mRoot.AddChild(control, false);
    mPopup = new CTextPopupControlEditor;
    mPopup->SetFrameRect(Rect{100, 50, 116, 150});
    mPopup->SetEnabled(true);
    mPopup->SetControlID(FourCC("ctrl"));
    mRoot.AddChild(mPopup, false);
    mRoot.Realize();
    mRoot.AttachPort(mPort);
    control->AttachToControl(&mProcess, 1, false);
    mProcess.mControls[1].value = mPopup->StepToValue(1);
  }
  FakeViewProcess mProcess;
  CCustomView mRoot;
  CTextPopupControlEditor* mPopup;
};

}  // namespace

TEST_F(TextPopup, ShowsTheStepsTextCutToTheFrame) {
  EXPECT_EQ(mPopup->StepText(1), "c1=" + std::to_string(mPopup->StepToValue(1)));
  // 100 pixels less 6 at 4 a character: 23 characters.
  mProcess.mControls[1].value = 0;
  mPopup->SetControlID(FourCC("ctrl"));
  ClearLog();
  mPopup->DrawRect(nullptr);
  const auto texts = Ops(platform::DrawOp::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, mPopup->ShownText(mPopup->GetStep()));
  EXPECT_LE(texts[0].text.size() * 4, 94u);
  EXPECT_EQ(texts[0].textFont, 3);
  EXPECT_EQ(texts[0].textSize, 9);
  EXPECT_EQ(mPopup->ItemHeight(), 7 + 2 + 4);
  EXPECT_EQ(mPopup->ItemWidth("abc"), 3 * 5 + 14);  // bold is a pixel wider a character
}

TEST_F(TextPopup, AChosenItemBecomesTheStep) {
  platform::ScriptMenuChoice(4);
  EventRecord click = Click(60, 105);
  mPopup->TrackClick(&click, false);
  EXPECT_EQ(mPopup->GetStep(), 3);
  EXPECT_EQ(mProcess.mCalls.back(), "set 1 " + std::to_string(mPopup->StepToValue(3)));
  // The menu went up at the click as a hierarchical menu with the present
  // step marked, in the popup's font, which was put back after.
  std::vector<platform::MenuCall> calls = platform::MenuCalls();
  auto find = [&](platform::MenuCallKind kind) {
    for (const auto& c : calls) {
      if (c.kind == kind) return c;
    }
    return platform::MenuCall{kind};
  };
  EXPECT_EQ(find(platform::MenuCallKind::kInsert).id, 1000);
  const platform::MenuCall popUp = find(platform::MenuCallKind::kPopUp);
  EXPECT_EQ(popUp.point, (Point{105, 60}));
  EXPECT_EQ(popUp.item, 2);
  EXPECT_EQ(LMGetSysFontFam(), 0);
  EXPECT_EQ(LMGetSysFontSize(), 12);
  bool switched = false;
  for (const auto& c : calls) switched |= c.kind == platform::MenuCallKind::kSysFont && c.font == 3 && c.size == 9;
  EXPECT_TRUE(switched);
  EXPECT_EQ(platform::LiveMenuCount(), 0);
  EXPECT_FALSE(mPopup->IsHilited());
  // The same item again changes nothing.
  mProcess.mCalls.clear();
  platform::ScriptMenuChoice(4);
  mPopup->TrackClick(&click, false);
  EXPECT_TRUE(mProcess.mCalls.empty());
}

TEST_F(TextPopup, TheMenuIsDrawnOnNearWhiteAndTracksTheMouse) {
  // Item 2 (the present step) lines up with the click: rows are 13 high.
  const int16_t top = static_cast<int16_t>(105 - 13 - 6);
  platform::ScriptMouse(Point{105, 60}, true,
                        {At(70, static_cast<int16_t>(top + 13 * 2 + 3)), At(70, static_cast<int16_t>(top + 13 * 2 + 3), false)});
  EventRecord click = Click(60, 105);
  mPopup->TrackClick(&click, false);
  EXPECT_EQ(mPopup->GetStep(), 2);  // released over the third row
  GrafPtr menu = platform::LastMenuPort();
  ASSERT_NE(menu, nullptr);
  const auto& log = platform::PortLog(menu);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front().op, platform::DrawOp::kEraseRect);
  EXPECT_EQ(log.front().back, CTextPopupControlEditor::kMenuBack);
  // As wide as the widest step text in bold plus 14: "c1=-2147483648".
  EXPECT_EQ(log.front().rect, (Rect{top, 60, static_cast<int16_t>(top + 4 * 13), static_cast<int16_t>(60 + 14 * 5 + 14)}));
  for (const auto& c : log) {
    if (c.op == platform::DrawOp::kText) {
      EXPECT_EQ(c.textSize, 9);
    }
  }
  // The hilited row is drawn with the colours swapped.
  bool swapped = false;
  for (const auto& c : log) swapped |= c.op == platform::DrawOp::kEraseRect && c.back == RGBColor{0, 0, 0};
  EXPECT_TRUE(swapped);
  // The overlay was declared while the menu was up and is gone.
  EXPECT_EQ(ViewOverlay::Port(), nullptr);
}

TEST_F(TextPopup, AMenuTallerThanTheScreenScrolls) {
  mProcess.mControls[1].steps = 100;  // 1300 pixels of rows
  platform::SetScreenBounds(Rect{0, 0, 200, 400});
  // The mouse in the bottom band scrolls down in steps of at most 16.
  platform::ScriptMouse(Point{100, 60}, true, {At(70, 190), At(70, 190), At(70, 190, false)});
  mProcess.mControls[1].value = mPopup->StepToValue(0);
  EventRecord click = Click(60, 100);
  const uint32_t before = TickCount();
  mPopup->TrackClick(&click, false);
  EXPECT_EQ(TickCount() - before, 20u);  // two scroll steps, 10 ticks each
  GrafPtr menu = platform::LastMenuPort();
  bool arrow = false;
  for (const auto& c : platform::PortLog(menu)) arrow |= c.op == platform::DrawOp::kPaintPoly;
  EXPECT_TRUE(arrow);
}

TEST_F(TextPopup, AControlWithMoreStepsThanAMenuCanHoldStillPopsUp) {
  // A fine continuous control has as many steps as a count holds; the menu
  // lists what its numbered, 16-bit-high content can show, and a choice in
  // it still lands on its step.
  for (const int32_t steps : {40000, std::numeric_limits<int32_t>::max()}) {
    SCOPED_TRACE(steps);
    mProcess.mControls[1].steps = steps;
    mProcess.mControls[1].value = mPopup->StepToValue(0);
    platform::ScriptMenuChoice(3);
    EventRecord click = Click(60, 105);
    mPopup->TrackClick(&click, false);
    EXPECT_EQ(mPopup->GetStep(), 2);
    GrafPtr menu = platform::LastMenuPort();
    ASSERT_NE(menu, nullptr);
    const auto& log = platform::PortLog(menu);
    ASSERT_FALSE(log.empty());
    // Rows of 13 pixels within 32767 pixels of content.
    size_t rows = 0;
    for (const auto& c : log) rows += c.op == platform::DrawOp::kText;
    EXPECT_LE(rows, static_cast<size_t>(32767 / mPopup->ItemHeight()));
    EXPECT_GT(rows, 0u);
  }
}
