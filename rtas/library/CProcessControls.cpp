// The host's questions about a process's controls, and the way a value
// travels: set, posted or applied, updated.
#include <algorithm>
#include <cstring>
#include <limits>

#include "rtas/library/CDAEError.h"
#include "rtas/library/CProcess.h"
#include "rtas/library/ControlToken.h"
#include "rtas/library/FourCC.h"

namespace {

// The name form controls give the engine and the host.
constexpr int32_t kControlNameLength = 31;
constexpr uint32_t kControlNameTag = FourCC("PcTL");

// Turns the terminated text at `text` into a Pascal string in place.
void MakePascalInPlace(char* text, int32_t maxLength) {
  const size_t length = strnlen(text, static_cast<size_t>(maxLength));
  std::memmove(text + 1, text, length);
  text[0] = static_cast<char>(length);
}

// A Pascal string's length byte counts to 255.
int32_t PascalLength(int32_t length) { return std::clamp(length, 0, 255); }

}  // namespace

int32_t CProcess::GetControlCount(int16_t* count) {
  if (count) *count = static_cast<int16_t>(CountControls());
  return 0;
}

int32_t CProcess::GetMasterBypassControl(int32_t* control) {
  if (control) *control = 0;
  return 0;
}

int32_t CProcess::GetControlAutomatable(int32_t n, int16_t* automatable) {
  if (automatable) *automatable = IsValidControlIndex(n) ? GetControl(n)->IsAutomatable() : 0;
  return 0;
}

int32_t CProcess::GetNumSteps(int32_t n, int32_t* steps) {
  if (steps) *steps = IsValidControlIndex(n) ? GetControl(n)->GetNumSteps() : 0;
  return 0;
}

int32_t CProcess::ConvertControlString(int32_t n, int32_t* value, char* text) {
  if (!IsValidControlIndex(n)) {
    if (value) *value = 0;
    return 0;
  }
  try {
    const int32_t converted = GetControl(n)->ConvertStringToValue(text ? text : "");
    if (value) *value = converted;
  } catch (const CDAEError& error) {
    return error.Code();
  }
  return 0;
}

int32_t CProcess::IsControlKeyAcceptable(int32_t n, char key, uint8_t* acceptable) {
  if (acceptable) {
    *acceptable = IsValidControlIndex(n) && GetControl(n)->IsKeyAcceptable(static_cast<unsigned char>(key));
  }
  return 0;
}

int32_t CProcess::GetControlValueString(int32_t n, int32_t value, char* text, int32_t maxLength) {
  if (!text) return 0;
  const int32_t length = PascalLength(maxLength);
  text[0] = 0;
  if (!IsValidControlIndex(n)) return 0;
  GetControl(n)->ConvertValueToString(text, length, value);
  MakePascalInPlace(text, length);
  return 0;
}

int32_t CProcess::GetControlName(int32_t n, char* text) {
  return GetControlNameOfLength(n, text, kControlNameLength, kControlNameTag, nullptr);
}

int32_t CProcess::GetControlNameOfLength(int32_t n, char* text, int32_t length, uint32_t tag, int16_t* unused) {
  if (unused) *unused = 0;
  if (!text) return 0;
  text[0] = 0;
  if (!IsValidControlIndex(n)) return 0;
  const int32_t fitted = PascalLength(length);
  GetControl(n)->GetNameOfLength(text, fitted, tag);
  MakePascalInPlace(text, fitted);
  return 0;
}

int32_t CProcess::GetControlValue(int32_t n, int32_t* value) {
  if (value) *value = IsValidControlIndex(n) ? GetControl(n)->GetValue() : 0;
  return 0;
}

int32_t CProcess::SetControlValue(int32_t n, int32_t value) {
  // A control number without a control has no name to post to and no
  // value to change.
  if (!IsValidControlIndex(n)) return 0;
  if (IsLinkedToEngine() && mMessages) {
    // The engine applies the value later, through UpdateControlValue.
    TouchControl(n);
    const int16_t status = Post(CControlToken::Value(ControlNameID(n), controltoken::kSetValue, value).Bytes());
    ReleaseControl(n);
    return status;
  }
  UpdateControlValue(n, value);
  UpdateControlView(n);
  return 0;
}

int32_t CProcess::UpdateControlValue(int32_t n, int32_t value) {
  int32_t result = 0;
  if (IsValidControlIndex(n)) {
    GetControl(n)->SetValue(value);
    ControlValueChanged(n);
    if (IsLinkedToEngine() && mMessages) {
      result = Post(CControlToken::Value(ControlNameID(n), controltoken::kCurrentValue, value).Bytes());
    }
  }
  // The host saves the state whenever the counter moved, whatever moved it.
  ++mChangeCount;
  return result;
}

int32_t CProcess::AddWithSaturation(int32_t n, int32_t delta) const {
  const int64_t current = IsValidControlIndex(n) ? GetControl(n)->GetValue() : 0;
  return static_cast<int32_t>(std::clamp<int64_t>(current + delta, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int32_t CProcess::AddToControlValue(int32_t n, int32_t delta) { return SetControlValue(n, AddWithSaturation(n, delta)); }

int32_t CProcess::AddToUpdatedControlValue(int32_t n, int32_t delta) {
  return UpdateControlValue(n, AddWithSaturation(n, delta));
}

int32_t CProcess::GetControlDefaultValue(int32_t n, int32_t* value) {
  if (!IsValidControlIndex(n)) return GetControlValue(n, value);
  if (value) *value = GetControl(n)->GetDefaultValue();
  return 0;
}

int32_t CProcess::SetControlDefaultValue(int32_t n, int32_t value) {
  if (IsValidControlIndex(n)) GetControl(n)->SetDefaultValue(value);
  return 0;
}

int32_t CProcess::GetControlAttribute1(int32_t n, int32_t* value) {
  if (value) *value = IsValidControlIndex(n) ? GetControl(n)->GetAttribute1() : 0;
  return 0;
}

int32_t CProcess::IsControlContinuous(int32_t n, int32_t* continuous) {
  if (continuous) *continuous = IsValidControlIndex(n) ? GetControl(n)->IsContinuous() : 1;
  return 0;
}

int32_t CProcess::GetControlAttribute2(int32_t n, int32_t* value) {
  if (value) *value = IsValidControlIndex(n) ? GetControl(n)->GetAttribute2() : 0;
  return 0;
}

int32_t CProcess::GetControlValueText(int32_t n, int32_t value, char* text, int32_t length) {
  if (length > 99) length -= 100;
  if (!text || length < 0) return 0;
  if (IsValidControlIndex(n)) {
    GetControl(n)->ConvertValueToString(text, length, value);
    return 0;
  }
  char pascal[256];
  GetControlValueString(n, value, pascal, 255);
  const size_t copied = std::min<size_t>(static_cast<unsigned char>(pascal[0]), static_cast<size_t>(length));
  std::memcpy(text, pascal + 1, copied);
  text[copied] = 0;
  return 0;
}
