#include "rtas/views/CTextControlEditor.h"

#include "FakeViewProcess.h"
#include "ViewTestSupport.h"
#include "rtas/views/CProcessControlView.h"
#include "rtas/views/CStaticTextView.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ControlValue.h"

namespace {

class TextEditor : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    mProcess.mControls[4] = {11, IntToControlValue(5, 0, 10), 0};
    mRoot.SetFrameRect(Rect{0, 0, kHeight, kWidth});
    mControl = new CProcessControlView;
    mControl->SetViewID(FourCC("ctrl"));
    mRoot.AddChild(mControl, false);
    mEditor = new CTextControlEditor;
    mEditor->SetFrameRect(Rect{10, 10, 30, 90});
    mEditor->SetEnabled(true);
    ViewItem item;
    item.text = "!TextEditor[('edit')(reverse 'ctrl')]";
    DescriptionParser parser(&item);
    EXPECT_TRUE(parser.ParseViewDescription());
    mEditor->ApplyDescription(&parser);
    mRoot.AddChild(mEditor, false);
    mRoot.Realize();
    mRoot.AttachPort(mPort);
    mRoot.ActivateView();
    mControl->AttachToControl(&mProcess, 4, true);
  }
  void Type(const char* keys) {
    for (const char* k = keys; *k; ++k) {
      bool handled = false;
      EventRecord key = Key(*k);
      mRoot.DoKey(&key, &handled);
    }
  }
  FakeViewProcess mProcess;
  CCustomView mRoot;
  CProcessControlView* mControl;
  CTextControlEditor* mEditor;
};

}  // namespace

TEST_F(TextEditor, ShowsTheValueInItsStaticText) {
  EXPECT_EQ(mEditor->GetControlID(), FourCC("ctrl"));
  EXPECT_TRUE(mEditor->IsReversed());
  CStaticTextView* text = mEditor->GetTextView();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->GetViewID(), FourCC("text"));
  EXPECT_EQ(text->Frame(), mEditor->Frame());
  EXPECT_EQ(text->GetText(), "c4=" + std::to_string(mProcess.mControls[4].value));
}

TEST_F(TextEditor, AClickOpensAFieldAndReturnTakesTheTypedValue) {
  platform::ScriptMouse(Point{15, 15}, true, {});
  EventRecord click = Click(15, 15);
  mRoot.DoClick(&click);
  ASSERT_TRUE(mEditor->IsEditing());
  EXPECT_EQ(mRoot.GetFocusView(), mEditor);
  TEHandle te = mEditor->GetTextEdit();
  EXPECT_EQ((*te)->viewRect, (Rect{13, 13, 27, 87}));  // the static text's text rectangle
  EXPECT_EQ((*te)->just, teFlushRight);
  EXPECT_EQ((*te)->txFont, 3);
  EXPECT_EQ((*te)->txSize, 9);
  EXPECT_EQ((*te)->selStart, 0);
  EXPECT_EQ((*te)->selEnd, static_cast<int16_t>((*te)->text.size()));
  EXPECT_TRUE(mEditor->GetTextView()->IsHilited());

  Type("7x2");  // the letter is not acceptable to the control
  EXPECT_EQ((*mEditor->GetTextEdit())->text, "72");
  Type("\r");
  EXPECT_FALSE(mEditor->IsEditing());
  EXPECT_EQ(mProcess.mControls[4].value, 72000);
  EXPECT_FALSE(mEditor->GetTextView()->IsHilited());
  EXPECT_EQ(mEditor->GetTextView()->GetText(), "c4=72000");
}

TEST_F(TextEditor, EscapeAndBadTextKeepTheValue) {
  const int32_t before = mProcess.mControls[4].value;
  mEditor->BeginEdit();
  Type("9");
  mRoot.SetFocusView(mEditor);
  Type("\x1b");
  EXPECT_EQ(mProcess.mControls[4].value, before);
  // Accepted but unconvertible: the shown value comes back.
  mEditor->BeginEdit();
  TESetText("", 0, mEditor->GetTextEdit());
  mEditor->EndEdit(true);
  EXPECT_EQ(mProcess.mControls[4].value, before);
  EXPECT_EQ(mEditor->GetTextView()->GetText(), "c4=" + std::to_string(before));
  // Deactivation drops the edit.
  mEditor->BeginEdit();
  Type("1");
  mRoot.DeactivateView();
  EXPECT_FALSE(mEditor->IsEditing());
  EXPECT_EQ(mProcess.mControls[4].value, before);
}

TEST_F(TextEditor, ArrowsStepTheValueReversedHere) {
  mRoot.SetFocusView(mEditor);
  const int32_t start = ControlValueToInt(mProcess.mControls[4].value, 0, 10);
  ASSERT_EQ(start, 5);
  Type("\x1e");  // up, which "reverse" turns into down
  EXPECT_EQ(mProcess.mControls[4].value, IntToControlValue(4, 0, 10));
  Type("\x1f\x1f");
  EXPECT_EQ(mProcess.mControls[4].value, IntToControlValue(6, 0, 10));
  mProcess.mControls[4].value = IntToControlValue(10, 0, 10);
  Type("\x1f");  // already at the last step
  EXPECT_EQ(mProcess.mControls[4].value, IntToControlValue(10, 0, 10));
}
