#include "rtas/views/CControlView.h"

#include "rtas/views/CControlEditor.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

CControlView::~CControlView() {
  // Editors outliving their control view must not keep a link to it.
  while (mFirstEditor) DetachEditor(mFirstEditor);
}

void CControlView::ApplyDescription(DescriptionParser* parser) {
  CCustomView::ApplyDescription(parser);
  const DescriptionNode* n = parser->TakeGroup();
  ThrowIfNil(n);
  ThrowIfFalse(n->kind == DescriptionNode::kString);
  const std::string name = n->Text();
  int32_t numbers[3] = {0, INT32_MIN, mDefaultValue};
  int count = 0;
  for (n = n->next; n; n = n->next) {
    ThrowIfFalse(n->kind == DescriptionNode::kInteger && count < 3);
    numbers[count++] = n->Integer();
  }
  if (count < 2) throw CDAEError(-7053);
  SetName(name);
  mSteps = numbers[0];
  mValue = numbers[1];
  mDefaultValue = numbers[2];
}

void CControlView::GetControlHighlight(uint16_t* color, int16_t* second, std::string* text) {
  if (color) *color = mHighlightColor;
  if (second) *second = mHighlightSecond;
  if (text) *text = mHighlightText;
}

void CControlView::GetControlName(std::string* name) {
  if (name) *name = mName;
}

void CControlView::ValueToString(int32_t value, std::string* text, int32_t maxLength) {
  if (!text) return;
  *text = std::to_string(static_cast<int16_t>(static_cast<uint32_t>(value) >> 16));
  if (maxLength >= 0 && text->size() > static_cast<size_t>(maxLength)) text->resize(static_cast<size_t>(maxLength));
}

int32_t CControlView::StringToValue(int32_t* value, const std::string& text) {
  (void)text;
  if (value) *value = 0;
  return 0;
}

void CControlView::IsKeyAcceptable(int16_t character, bool* acceptable) {
  (void)character;
  if (acceptable) *acceptable = false;
}

void CControlView::RedrawEditors() {
  for (CControlEditor* e = mFirstEditor; e; e = e->GetNextEditor()) e->DrawRect(nullptr);
}

void CControlView::SetHighlighted(bool highlighted) {
  if (highlighted == mHighlighted) return;
  mHighlighted = highlighted;
  RedrawEditors();
}

void CControlView::SetHighlight(uint16_t color, int16_t second, const std::string& text) {
  const bool changed = color != mHighlightColor || second != mHighlightSecond;
  mHighlightColor = color;
  mHighlightSecond = second;
  mHighlightText = text;
  if (changed) RedrawEditors();
}

void CControlView::AttachEditor(CControlEditor* editor) {
  if (!editor) return;
  ThrowIfFalse(editor->GetControlView() == nullptr);
  CControlEditor** link = &mFirstEditor;
  while (*link) link = &(*link)->mNextEditor;
  *link = editor;
  editor->mNextEditor = nullptr;
  editor->mControlView = this;
  editor->ValueChanged();
}

void CControlView::DetachEditor(CControlEditor* editor) {
  for (CControlEditor** link = &mFirstEditor; *link; link = &(*link)->mNextEditor) {
    if (*link == editor) {
      *link = editor->mNextEditor;
      editor->mNextEditor = nullptr;
      editor->mControlView = nullptr;
      return;
    }
  }
}

void CControlView::UpdateEditors() {
  for (CControlEditor* e = mFirstEditor; e; e = e->GetNextEditor()) e->ValueChanged();
}
