#include "rtas/views/CProcessControlView.h"

#include "rtas/views/CViewGroupServices.h"
#include "rtas/views/CViewProcess.h"

namespace {

// The host callback an idling control view sends.
constexpr int16_t kIdleCallback = 16;

}  // namespace

void CProcessControlView::GetControlIndex(int32_t* index) {
  if (index) *index = mIndex;
}

void CProcessControlView::AttachToControl(CViewProcess* process, int32_t index, bool update) {
  mProcess = process;
  mIndex = index;
  if (process) CControlView::SetValue(process->GetControlValue(index));
  if (update) UpdateEditors();
}

void CProcessControlView::IdleView(const EventRecord* event) {
  if (mProcess) mProcess->DoIdle();
  if (CViewGroupServices* services = GetViewGroupServices()) services->CallHostCallback(kIdleCallback);
  CControlView::IdleView(event);
}

int32_t CProcessControlView::GetStepCount() {
  return mProcess ? mProcess->GetNumSteps(mIndex) : CControlView::GetStepCount();
}

int32_t CProcessControlView::GetDefaultValue() {
  return mProcess ? mProcess->GetControlDefaultValue(mIndex) : CControlView::GetDefaultValue();
}

int32_t CProcessControlView::GetValue() {
  return mProcess ? mProcess->GetControlValue(mIndex) : CControlView::GetValue();
}

void CProcessControlView::SetValue(int32_t value) {
  CControlView::SetValue(value);
  if (mProcess) mProcess->SetControlValue(mIndex, value);
}

void CProcessControlView::ValueToString(int32_t value, std::string* text, int32_t maxLength) {
  if (!mProcess) {
    CControlView::ValueToString(value, text, maxLength);
    return;
  }
  if (text) mProcess->GetControlValueString(mIndex, value, text, maxLength);
}

int32_t CProcessControlView::StringToValue(int32_t* value, const std::string& text) {
  if (!mProcess) return CControlView::StringToValue(value, text);
  int32_t converted = 0;
  const int32_t result = mProcess->ConvertControlString(mIndex, text, &converted);
  if (value) *value = converted;
  return result;
}

void CProcessControlView::IsKeyAcceptable(int16_t character, bool* acceptable) {
  if (!mProcess) {
    CControlView::IsKeyAcceptable(character, acceptable);
    return;
  }
  if (acceptable) *acceptable = mProcess->IsControlKeyAcceptable(mIndex, character);
}
