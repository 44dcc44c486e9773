#include "rtas/views/CControlEditor.h"

#include "rtas/views/CControlView.h"
#include "rtas/views/CProcessControlView.h"
#include "rtas/views/CViewProcess.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ControlValue.h"
#include "rtas/library/ErrorThrowers.h"

CControlEditor::~CControlEditor() {
  if (mControlView) mControlView->DetachEditor(this);
}

void CControlEditor::ReadControlIDGroup(DescriptionParser* parser) {
  const DescriptionNode* n = parser->TakeGroup();
  ThrowIfNil(n);
  ThrowIfFalse(n->kind == DescriptionNode::kFourCC && n->next == nullptr);
  mControlID = n->FourCC();
}

void CControlEditor::ApplyDescription(DescriptionParser* parser) {
  CCustomView::ApplyDescription(parser);
  ReadControlIDGroup(parser);
}

CProcessControlView* CControlEditor::BoundProcessControl() {
  return mControlView && mControlView->IsProcessControl() ? static_cast<CProcessControlView*>(mControlView) : nullptr;
}

void CControlEditor::RealizeTree() {
  const bool bindsNothing =
      mControlID == FourCC("NONE") || mControlID == FourCC("NoID") || mControlID == FourCC("NoId");
  if (!bindsNothing && !mControlView) {
    bool found = false;
    for (CPlugInView* ancestor = GetParentView(); ancestor && !found; ancestor = ancestor->GetParentView()) {
      if (CPlugInView* hit = ancestor->FindViewByID(mControlID)) {
        found = true;
        if (CControlView* control = dynamic_cast<CControlView*>(hit)) control->AttachEditor(this);
      }
    }
    if (!found) {
      // No ancestor holds the id: the editor gets a control view of its own
      // beside the root's first child.
      CPlugInView* root = GetRootView();
      CProcessControlView* control = new CProcessControlView;
      control->SetViewID(mControlID);
      if (root->GetFirstChild()) {
        root->GetFirstChild()->AppendSibling(control);
        control->RealizeTree();
        control->AttachEditor(this);
      } else {
        delete control;
      }
    }
  }
  CCustomView::RealizeTree();
}

void CControlEditor::UnrealizeTree() {
  if (mControlView) mControlView->DetachEditor(this);
  CCustomView::UnrealizeTree();
}

void CControlEditor::HandleClick(const EventRecord* event) {
  CProcessControlView* process = BoundProcessControl();
  const int32_t index = process ? process->GetIndex() : 0;
  // A release only follows a touch, so that the process's touch count
  // stays balanced whatever kind of event came in.
  const bool touched = process && process->GetProcess() && event->what == mouseDown;
  if (touched) process->GetProcess()->TouchControl(index);
  if (event->modifiers & optionKey) {
    SetValue(GetDefaultValue());
    while (StillDown()) {
      if (mControlView) mControlView->IdleView(nullptr);
    }
  } else {
    CCustomView::HandleClick(event);
    while (StillDown()) {
      IdleView(event);
      if (process && process->GetProcess()) process->GetProcess()->DoIdle();
    }
  }
  if (touched) process->GetProcess()->ReleaseControl(index);
}

void CControlEditor::GetControlIndex(int32_t* index) {
  if (CProcessControlView* process = BoundProcessControl()) {
    process->GetControlIndex(index);
  } else if (index) {
    *index = 0;
  }
}

bool CControlEditor::HasControlHighlight() { return mControlView ? mControlView->HasControlHighlight() : false; }

void CControlEditor::GetControlHighlight(uint16_t* color, int16_t* second, std::string* text) {
  if (mControlView) {
    mControlView->GetControlHighlight(color, second, text);
    return;
  }
  if (second) *second = 0;
  if (text) text->clear();
}

int32_t CControlEditor::GetDefaultValue() { return mControlView ? mControlView->GetDefaultValue() : 0; }

void CControlEditor::SetValue(int32_t value) {
  if (mControlView) mControlView->SetValue(value); else mOwnValue = value;
}

Point CControlEditor::GetValuePoint() {
  const Rect& f = Frame();
  return Point{static_cast<int16_t>((f.top + f.bottom) / 2), static_cast<int16_t>((f.left + f.right) / 2)};
}

int32_t CControlEditor::GetStepCount() { return mControlView ? mControlView->GetStepCount() : 1; }

int32_t CControlEditor::GetValue() { return mControlView ? mControlView->GetValue() : mOwnValue; }

int32_t CControlEditor::StepToValue(int32_t step) {
  const int32_t n = GetStepCount();
  if (n < 2) return INT32_MIN;
  if (n % 2 == 1 && step == n / 2) return 0;
  return IntToControlValue(step, 0, n - 1);
}

int32_t CControlEditor::GetStep() {
  const int32_t n = GetStepCount();
  if (n < 2) return 0;
  const int32_t value = GetValue();
  if (n % 2 == 1 && value == 0) return n / 2;
  return ControlValueToInt(value, 0, n - 1);
}

void CControlEditor::SetStep(int32_t step) { SetValue(StepToValue(step)); }

void CControlEditor::ShowValueSet() {
  if (mControlView) mControlView->UpdateEditors(); else ValueChanged();
}
