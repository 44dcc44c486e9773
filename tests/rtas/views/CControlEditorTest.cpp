#include "rtas/views/CControlEditor.h"

#include <cmath>
#include <memory>

#include "FakeViewProcess.h"
#include "ViewTestSupport.h"
#include "rtas/views/CControlView.h"
#include "rtas/views/CProcessControlView.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"

namespace {

// An editor that notes each value it is shown.
class ShowingEditor : public CControlEditor {
 public:
  explicit ShowingEditor(uint32_t id) { SetControlID(id); }
  void ValueChanged() override { mShown.push_back(GetValue()); }
  std::vector<int32_t> mShown;
};

// The step mapping written out: step k of n sits at k / (n - 1) of the way
// from -2^31 to 2^31 - 1, and the middle of an odd count exactly at 0.
int64_t StepValue(int k, int n) {
  if (n % 2 == 1 && k == n / 2) return 0;
  return static_cast<int64_t>(std::trunc(static_cast<double>(k) / (n - 1) * 4294967295.0 - 2147483648.0));
}

class ControlEditor : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    mRoot = std::make_unique<CCustomView>();
    mRoot->SetFrameRect(Rect{0, 0, kHeight, kWidth});
    mControl = new CControlView;
    mControl->SetViewID(FourCC("ctrl"));
    mRoot->AddChild(mControl, false);
    mPanel = new CCustomView;
    mPanel->SetFrameRect(Rect{10, 10, 200, 200});
    mRoot->AddChild(mPanel, false);
  }
  ShowingEditor* AddEditor(uint32_t id) {
    ShowingEditor* editor = new ShowingEditor(id);
    editor->SetFrameRect(Rect{20, 20, 40, 80});
    editor->SetEnabled(true);
    mPanel->AddChild(editor, true);
    return editor;
  }
  std::unique_ptr<CCustomView> mRoot;
  CControlView* mControl;
  CCustomView* mPanel;
};

}  // namespace

TEST_F(ControlEditor, StepsSpanTheWholeRangeAndOddCountsCentreOnZero) {
  ShowingEditor* editor = AddEditor(FourCC("ctrl"));
  mRoot->Realize();
  ASSERT_EQ(editor->GetControlView(), mControl);
  for (int n : {2, 3, 4, 5, 7, 128}) {
    mControl->SetStepCount(n);
    for (int k = 0; k < n; ++k) {
      EXPECT_EQ(editor->StepToValue(k), StepValue(k, n)) << k << " of " << n;
      editor->SetStep(k);
      EXPECT_EQ(mControl->GetValue(), StepValue(k, n)) << k << " of " << n;
      EXPECT_EQ(editor->GetStep(), k) << k << " of " << n;
    }
  }
  mControl->SetStepCount(5);
  mControl->SetValue(0);
  EXPECT_EQ(editor->GetStep(), 2);
  // One step: the bottom of the range, read back as step 0.
  mControl->SetStepCount(1);
  editor->SetStep(0);
  EXPECT_EQ(mControl->GetValue(), INT32_MIN);
  mControl->SetValue(12345);
  EXPECT_EQ(editor->GetStep(), 0);
}

TEST_F(ControlEditor, EditorsBindUpTheirAncestorsAndShareTheirControl) {
  ShowingEditor* first = AddEditor(FourCC("ctrl"));
  ShowingEditor* second = AddEditor(FourCC("ctrl"));
  mControl->SetValue(77);
  mRoot->Realize();
  EXPECT_EQ(first->GetControlView(), mControl);
  EXPECT_EQ(second->GetControlView(), mControl);
  EXPECT_EQ(mControl->GetFirstEditor(), first);
  EXPECT_EQ(first->GetNextEditor(), second);
  EXPECT_EQ(first->mShown, (std::vector<int32_t>{77}));  // shown on binding
  mControl->SetValue(88);
  mControl->UpdateEditors();
  EXPECT_EQ(first->mShown.back(), 88);
  EXPECT_EQ(second->mShown.back(), 88);
  // Binding twice is an error.
  try {
    mControl->AttachEditor(first);
    FAIL();
  } catch (const CDAEError& e) {
    EXPECT_EQ(e.Code(), -7400);
  }
  mRoot->UnrealizeTree();
  EXPECT_EQ(first->GetControlView(), nullptr);
  EXPECT_EQ(mControl->GetFirstEditor(), nullptr);
}

TEST_F(ControlEditor, AnIdNoAncestorHoldsGetsAProcessControlViewOfItsOwn) {
  ShowingEditor* editor = AddEditor(FourCC("gain"));
  ShowingEditor* none = AddEditor(FourCC("NoID"));
  mRoot->Realize();
  CProcessControlView* made = dynamic_cast<CProcessControlView*>(editor->GetControlView());
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetViewID(), FourCC("gain"));
  EXPECT_EQ(made->GetParentView(), mRoot.get());
  EXPECT_EQ(none->GetControlView(), nullptr);
  // A hit of another class binds nothing.
  CCustomView* notAControl = new CCustomView;
  notAControl->SetViewID(FourCC("othr"));
  mRoot->AddChild(notAControl, false);
  ShowingEditor* other = AddEditor(FourCC("othr"));
  other->RealizeTree();
  EXPECT_EQ(other->GetControlView(), nullptr);
}

TEST_F(ControlEditor, UnboundEditorsKeepTheirOwnValue) {
  ShowingEditor editor(FourCC("NONE"));
  EXPECT_EQ(editor.GetStepCount(), 1);
  EXPECT_EQ(editor.GetDefaultValue(), 0);
  editor.SetValue(42);
  EXPECT_EQ(editor.GetValue(), 42);
  bool has = true;
  has = editor.HasControlHighlight();
  EXPECT_FALSE(has);
}

TEST_F(ControlEditor, HighlightsReachTheEditorsAndRedrawThem) {
  ShowingEditor* editor = AddEditor(FourCC("ctrl"));
  mRoot->Realize();
  mRoot->AttachPort(mPort);
  ClearLog();
  mControl->SetHighlighted(true);
  EXPECT_TRUE(editor->HasControlHighlight());
  const size_t afterOn = Log().size();
  mControl->SetHighlighted(true);
  EXPECT_EQ(Log().size(), afterOn);  // no change, no redraw
  mControl->SetHighlight(1, 5, "note");
  uint16_t color = 0;
  int16_t second = 0;
  std::string text;
  editor->GetControlHighlight(&color, &second, &text);
  EXPECT_EQ(color, 1);
  EXPECT_EQ(second, 5);
  EXPECT_EQ(text, "note");
  EXPECT_EQ(editor->GetPlateColorIndex(), 5);  // highlight colour 1 uses palette 5
}

TEST_F(ControlEditor, OptionClickSetsTheDefaultInsideATouch) {
  FakeViewProcess process;
  process.mControls[3] = {5, 100, -200};
  CProcessControlView* control = new CProcessControlView;
  control->SetViewID(FourCC("proc"));
  mRoot->AddChild(control, false);
  ShowingEditor* editor = AddEditor(FourCC("proc"));
  mRoot->Realize();
  control->AttachToControl(&process, 3, true);
  EXPECT_EQ(editor->mShown.back(), 100);
  int32_t index = 0;
  editor->GetControlIndex(&index);
  EXPECT_EQ(index, 3);

  platform::ScriptMouse(Point{30, 30}, true, {At(30, 30), At(30, 30, false)});
  EventRecord click = Click(30, 30, optionKey);
  editor->HandleClick(&click);
  EXPECT_EQ(process.mCalls, (std::vector<std::string>{"touch 3", "set 3 -200", "release 3"}));
  EXPECT_GE(process.mIdles, 1);
}

TEST_F(ControlEditor, OnlyAMouseDownTouchesSoEveryReleaseHasItsTouch) {
  FakeViewProcess process;
  process.mControls[1] = {2, 0, 0};
  CProcessControlView* control = new CProcessControlView;
  control->SetViewID(FourCC("proc"));
  mRoot->AddChild(control, false);
  ShowingEditor* editor = AddEditor(FourCC("proc"));
  mRoot->Realize();
  control->AttachToControl(&process, 1, false);
  EventRecord up{mouseUp, 0, 0, Point{30, 30}, 0};
  editor->HandleClick(&up);
  EXPECT_TRUE(process.mCalls.empty());
}

TEST_F(ControlEditor, AProcessControlViewAsksItsProcess) {
  FakeViewProcess process;
  process.mControls[2] = {9, 1234, 55};
  CProcessControlView view;
  EXPECT_EQ(view.GetStepCount(), 1);
  std::string text;
  view.ValueToString(0x00070000, &text, 255);
  EXPECT_EQ(text, "7");  // the upper 16 bits in decimal
  view.ValueToString(static_cast<int32_t>(0xFFFE0000u), &text, 255);
  EXPECT_EQ(text, "-2");
  view.AttachToControl(&process, 2, false);
  EXPECT_TRUE(view.IsProcessControl());
  EXPECT_EQ(view.GetStepCount(), 9);
  EXPECT_EQ(view.GetDefaultValue(), 55);
  EXPECT_EQ(view.GetValue(), 1234);
  view.SetValue(99);
  EXPECT_EQ(process.mControls[2].value, 99);
  view.ValueToString(5, &text, 255);
  EXPECT_EQ(text, "c2=5");
  int32_t value = 0;
  EXPECT_EQ(view.StringToValue(&value, "4"), 0);
  EXPECT_EQ(value, 4000);
  EXPECT_EQ(view.StringToValue(&value, "x"), -7401);
  bool acceptable = false;
  view.IsKeyAcceptable('5', &acceptable);
  EXPECT_TRUE(acceptable);

  FakeGroupServices group;
  SetViewGroupServices(&group);
  view.IdleView(nullptr);
  EXPECT_EQ(process.mIdles, 1);
  EXPECT_EQ(group.mCallbacks, (std::vector<int16_t>{16}));
  EXPECT_EQ(group.mYields, 1);
}

TEST_F(ControlEditor, ProcessControlDescriptions) {
  struct Case {
    const char* text;
    int code;  // 0 when accepted
    int32_t steps, value, defaultValue;
  };
  for (const Case& c : {Case{"!ProcessControl[('gain')(\"Gain\" 5 0)]", 0, 5, 0, 0},
                        Case{"!ProcessControl[('gain')(\"Gain\" 5 7 3)]", 0, 5, 7, 3},
                        Case{"!ProcessControl[('gain')(\"Gain\" 5)]", -7053, 0, 0, 0},
                        Case{"!ProcessControl[('gain')(\"Gain\" 5 7 3 1)]", -7400, 0, 0, 0},
                        Case{"!ProcessControl[('gain')(5 7)]", -7400, 0, 0, 0},
                        Case{"!ProcessControl[('gain')]", -7053, 0, 0, 0}}) {
    ViewItem item;
    item.text = c.text;
    DescriptionParser parser(&item);
    ASSERT_TRUE(parser.ParseViewDescription()) << c.text;
    CProcessControlView view;
    int code = 0;
    try {
      view.ApplyDescription(&parser);
    } catch (const CDAEError& e) {
      code = e.Code();
    }
    EXPECT_EQ(code, c.code) << c.text;
    if (code) continue;
    std::string name;
    view.GetControlName(&name);
    EXPECT_EQ(name, "Gain");
    EXPECT_EQ(view.GetStepCount(), c.steps) << c.text;
    EXPECT_EQ(view.GetValue(), c.value) << c.text;
    EXPECT_EQ(view.GetDefaultValue(), c.defaultValue) << c.text;
  }
}

TEST_F(ControlEditor, AControlViewGoingAwayUnbindsItsEditors) {
  ShowingEditor* editor = AddEditor(FourCC("ctrl"));
  mRoot->Realize();
  ASSERT_EQ(editor->GetControlView(), mControl);
  delete mControl;
  EXPECT_EQ(editor->GetControlView(), nullptr);
  editor->SetValue(5);  // its own value now
  EXPECT_EQ(editor->GetValue(), 5);
}
