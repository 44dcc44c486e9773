#include "rtas/views/CTextControlEditor.h"

#include "rtas/views/CStaticTextView.h"

void CTextControlEditor::RealizeTree() {
  if (!mText) {
    mText = dynamic_cast<CStaticTextView*>(FindViewByID(FourCC("text")));
    if (!mText) {
      mText = new CStaticTextView;
      mText->SetViewID(FourCC("text"));
      AddChild(mText, false);
      if (GetViewPort()) mText->AttachPort(GetViewPort());
    }
    mText->SetFrameRect(Frame());
  }
  CTextEditEditor::RealizeTree();
}

CPlugInView* CTextControlEditor::FindViewAt(Point pt) { return PtInRect(pt, &Frame()) ? this : nullptr; }

void CTextControlEditor::ValueChanged() {
  if (mText && !IsEditing()) mText->SetText(ValueText());
}

void CTextControlEditor::GetEditRect(Rect* r) {
  if (mText) mText->GetTextRect(r); else CTextEditEditor::GetEditRect(r);
}

void CTextControlEditor::GetEditFont(int16_t* font, int16_t* size, Style* face) {
  if (!mText) {
    CTextEditEditor::GetEditFont(font, size, face);
    return;
  }
  *font = mText->GetTextFont();
  *size = mText->GetTextSize();
  *face = mText->GetTextFace();
}

void CTextControlEditor::EditBegan() {
  if (mText) mText->SetHilite(true);
}

void CTextControlEditor::EditEnded() {
  if (mText) mText->SetHilite(false);
}
