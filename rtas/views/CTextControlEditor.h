#pragma once

#include "rtas/views/CTextEditEditor.h"

class CStaticTextView;

// A text field whose value is shown, between edits, by a child static
// text 'text' covering the editor's frame (made when the tree has none).
class CTextControlEditor : public CTextEditEditor {
 public:
  void RealizeTree() override;
  void ValueChanged() override;
  // Clicks on the text are the editor's.
  CPlugInView* FindViewAt(Point pt) override;

  CStaticTextView* GetTextView() const { return mText; }

 protected:
  void GetEditRect(Rect* r) override;
  void GetEditFont(int16_t* font, int16_t* size, Style* face) override;
  void EditBegan() override;
  void EditEnded() override;

 private:
  CStaticTextView* mText = nullptr;
};
