#include "rtas/views/CRadioGroupControlEditor.h"

#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

void CRadioGroupControlEditor::ApplyDescription(DescriptionParser* parser) {
  CControlEditor::ApplyDescription(parser);
  for (const DescriptionNode* n = parser->TakeGroup(); n; n = n->next) {
    ThrowIfFalse(n->kind == DescriptionNode::kString);
    if (n->Text() == "EnableHighlight") mHighlightFrame = true;
  }
}

CPlugInView* CRadioGroupControlEditor::ChildAt(int32_t index) const {
  CPlugInView* child = GetFirstChild();
  for (int32_t i = 0; child && i < index; ++i) child = child->GetNextSibling();
  return index >= 0 ? child : nullptr;
}

RGBColor CRadioGroupControlEditor::HighlightFrameColor(uint16_t color) {
  switch (color) {
    case 0: return RGBColor{0xFFFF, 0x0000, 0x0000};
    case 1: return RGBColor{0x0000, 0x0000, 0xAAAA};
    case 3: return RGBColor{0xFFFF, 0xCCCC, 0x0000};
    default: return RGBColor{0x0000, 0xDDDD, 0x0000};
  }
}

CPlugInView* CRadioGroupControlEditor::FindViewAt(Point pt) { return PtInRect(pt, &Frame()) ? this : nullptr; }

void CRadioGroupControlEditor::PickAt(Point pt) {
  int32_t index = 0;
  for (CPlugInView* child = GetFirstChild(); child; child = child->GetNextSibling(), ++index) {
    if (!PtInRect(pt, &child->Frame())) continue;
    if (index < GetStepCount() && index != GetStep()) {
      SetStep(index);
      ShowValueSet();
    }
    return;
  }
}

void CRadioGroupControlEditor::TrackClick(const EventRecord* event, bool synthetic) {
  PickAt(event->where);
  if (!synthetic) return;
  // A click forwarded from a popup menu keeps choosing as the mouse moves.
  while (StillDown()) {
    Point mouse;
    GetMouse(&mouse);
    if (!PtInRect(mouse, &Frame())) break;
    PickAt(mouse);
  }
}

void CRadioGroupControlEditor::ValueChanged() {
  const int32_t step = GetStep();
  if (step == mShownStep) return;
  if (CPlugInView* previous = ChildAt(mShownStep)) previous->SetHilite(false);
  if (CPlugInView* current = ChildAt(step)) current->SetHilite(true);
  mShownStep = step;
}

void CRadioGroupControlEditor::DrawTree(const Rect& r) {
  CControlEditor::DrawTree(r);
  const bool highlighted = mHighlightFrame && HasControlHighlight();
  if (highlighted) {
    uint16_t color = 0;
    int16_t second = 0;
    GetControlHighlight(&color, &second, nullptr);
    RGBColor saved;
    ::GetForeColor(&saved);
    const RGBColor frameColor = HighlightFrameColor(color);
    RGBForeColor(&frameColor);
    PenSize(1, 1);
    FrameRect(&Frame());
    RGBForeColor(&saved);
  } else if (mFrameShown) {
    // The frame was drawn over the children: they must draw again.
    InvalidateFrame();
  }
  mFrameShown = highlighted;
}
