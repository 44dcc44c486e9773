#include "rtas/views/CTextEditEditor.h"

#include <algorithm>

#include "rtas/views/CControlView.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

namespace {

constexpr int16_t kUpArrow = 30;
constexpr int16_t kDownArrow = 31;
constexpr int16_t kBackspace = 8;

}  // namespace

CTextEditEditor::~CTextEditEditor() { TEDispose(mTE); }

void CTextEditEditor::ApplyDescription(DescriptionParser* parser) {
  CCustomView::ApplyDescription(parser);
  for (const DescriptionNode* n = parser->TakeGroup(); n; n = n->next) {
    if (n->kind == DescriptionNode::kFourCC) {
      SetControlID(n->FourCC());
    } else {
      ThrowIfFalse(n->kind == DescriptionNode::kKeyword && n->value == kKeywordReverse);
      mReverse = true;
    }
  }
}

std::string CTextEditEditor::ValueText() {
  std::string text;
  if (CControlView* control = GetControlView()) {
    control->ValueToString(GetValue(), &text, 255);
  } else {
    text = std::to_string(static_cast<int16_t>(static_cast<uint32_t>(GetValue()) >> 16));
  }
  return text;
}

void CTextEditEditor::GetEditRect(Rect* r) {
  *r = Frame();
  InsetRect(r, 3, 3);
}

void CTextEditEditor::GetEditFont(int16_t* font, int16_t* size, Style* face) {
  *font = 3;
  *size = 9;
  *face = normal;
}

void CTextEditEditor::TrackClick(const EventRecord* event, bool synthetic) {
  (void)event;
  (void)synthetic;
  BeginEdit();
}

void CTextEditEditor::BeginEdit() {
  if (mTE || !GetViewPort()) return;
  CViewFocus focus(this, nullptr);
  int16_t font, size;
  Style face;
  GetEditFont(&font, &size, &face);
  TextFont(font);
  TextSize(size);
  TextFace(face);
  const RGBColor black{0, 0, 0};
  const RGBColor white{0xFFFF, 0xFFFF, 0xFFFF};
  RGBForeColor(&black);
  RGBBackColor(&white);
  Rect r;
  GetEditRect(&r);
  mTE = TENew(&r, &r);
  TESetAlignment(teFlushRight, mTE);
  const std::string text = ValueText();
  TESetText(text.data(), static_cast<int32_t>(text.size()), mTE);
  TESetSelect(0, static_cast<int32_t>(text.size()), mTE);
  mModified = false;
  EditBegan();
}

void CTextEditEditor::EndEdit(bool accept) {
  if (!mTE) return;
  const std::string text = (*mTE)->text;
  TEDispose(mTE);
  mTE = nullptr;
  bool taken = false;
  if (accept && mModified && !text.empty() && GetControlView()) {
    int32_t value = 0;
    if (GetControlView()->StringToValue(&value, text.substr(0, kMaxConvertedText)) == 0) {
      SetValue(value);
      ShowValueSet();
      taken = true;
    }
  }
  mModified = false;
  EditEnded();
  if (!taken) ValueChanged();
}

void CTextEditEditor::StepBy(int delta) {
  const int32_t steps = GetStepCount();
  if (steps < 2) return;
  const int32_t step = std::clamp(GetStep() + delta, 0, steps - 1);
  if (step == GetStep()) return;
  SetStep(step);
  ShowValueSet();
  if (mTE) {
    const std::string text = ValueText();
    TESetText(text.data(), static_cast<int32_t>(text.size()), mTE);
    TESetSelect(0, static_cast<int32_t>(text.size()), mTE);
    mModified = false;
  }
}

void CTextEditEditor::KeyChar(int16_t character, bool* handled) {
  if (handled) *handled = false;
  if (character == kUpArrow || character == kDownArrow) {
    const int up = character == kUpArrow ? 1 : -1;
    StepBy(mReverse ? -up : up);
    if (handled) *handled = true;
    return;
  }
  if (!mTE) return;
  bool acceptable = false;
  if (CControlView* control = GetControlView()) control->IsKeyAcceptable(character, &acceptable);
  if (!acceptable && character != kBackspace) return;
  TEKey(character, mTE);
  mModified = true;
  if (handled) *handled = true;
}

void CTextEditEditor::IdleView(const EventRecord* event) {
  if (mTE) TEIdle(mTE);
  CControlEditor::IdleView(event);
}

void CTextEditEditor::DeactivateView() {
  EndEdit(false);
  CControlEditor::DeactivateView();
}
