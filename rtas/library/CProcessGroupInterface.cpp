#include "rtas/library/CProcessGroupInterface.h"

#include "rtas/library/GroupDefaultAnswer.h"
#include "rtas/library/PString.h"
#include "rtas/library/ResultCodes.h"

namespace {

// Process-wide, as the host library kept them: one group per loaded
// bundle, all on the host's main thread.
int32_t gHostInterfaceVersion = 99;
CProcessGroupInterface* gGroup = nullptr;

}  // namespace

CProcessGroupInterface::CProcessGroupInterface() { gHostInterfaceVersion = 99; }

CProcessGroupInterface::~CProcessGroupInterface() = default;

// The rows whose default is only data.
#define BRIMLOW_DEFINE_ANSWER(Ret, Name, result, w1, v1, w2, v2, n, types) \
  Ret CProcessGroupInterface::Name(BRIMLOW_PARAMS(n, types)) {             \
    return groupdefault::Answer<Ret, result, w1, v1, w2, v2>(BRIMLOW_ARGS(n)); \
  }
#define BRIMLOW_DEFINE_CUSTOM(Ret, Name, result, w1, v1, w2, v2, n, types)
#define BRIMLOW_DEFINE_PURE(Ret, Name, result, w1, v1, w2, v2, n, types)
#define BRIMLOW_DEFINE_SLOT(slot, selector, Ret, Name, kind, result, w1, v1, w2, v2, group, typeSlot, TypeName, n, \
                            types)                                                                                 \
  BRIMLOW_CAT(BRIMLOW_DEFINE_, kind)(Ret, Name, result, w1, v1, w2, v2, n, types)
BRIMLOW_GROUP_INTERFACE_SLOTS(BRIMLOW_DEFINE_SLOT)
#undef BRIMLOW_DEFINE_SLOT
#undef BRIMLOW_DEFINE_ANSWER
#undef BRIMLOW_DEFINE_CUSTOM
#undef BRIMLOW_DEFINE_PURE

int32_t CProcessGroupInterface::IsSelectorSupported(uint16_t selector) {
  return selector < kSelectorCount || selector >= kFirstHighSelector;
}

int32_t CProcessGroupInterface::GetManufacturerName(int32_t maxLength, char* text) {
  if (!text) return 0;
  unsigned char* name = reinterpret_cast<unsigned char*>(text);
  static const unsigned char kOther[] = {5, 'O', 't', 'h', 'e', 'r'};
  name[0] = 0;
  AppendPString(maxLength, kOther, name);
  return 0;
}

int32_t CProcessGroupInterface::SetGroupSampleRate(int32_t rate) {
  mSampleRate = rate;
  return 0;
}

int32_t CProcessGroupInterface::SetGroupTimeCodeInfo(SFicTimeCodeInfo* info) {
  if (info) {
    mTimeCode.mCode = info->mCode;
    mTimeCode.mValue = info->mValue;
  }
  return 0;
}

int32_t CProcessGroupInterface::GetStemFormats(uint32_t, int32_t, SFicPlugInStemFormats* formats) {
  if (formats) {
    for (int32_t& format : formats->mFormat) format = -100;
  }
  return DAEResult::kStemFormats;
}

int32_t CProcessGroupInterface::GetGroupAttribute(int16_t selector, int32_t* value, int32_t count, uint32_t* detail) {
  if (value) *value = 0;
  if (selector == 21 && count >= 1) {
    if (value) *value = 1;
    if (detail) *detail = 27;
  }
  return 0;
}

int32_t CProcessGroupInterface::SetSharedPair(int32_t, int32_t b) {
  mSharedPair = b;
  return 0;
}

void CProcessGroupInterface::YieldGroupLock() {
  // Entering and leaving once reports the depth the caller holds without
  // changing it.
  EnterGroupLock();
  const int32_t depth = LeaveGroupLock();
  if (depth < 1) {
    LetSystemRun();
    return;
  }
  while (LeaveGroupLock() > 0) {
  }
  LetSystemRun();
  for (int32_t i = 0; i < depth; ++i) EnterGroupLock();
}

void CProcessGroupInterface::SetHostInterfaceVersion(int32_t version) { gHostInterfaceVersion = version; }

int32_t CProcessGroupInterface::GetGroupTimeCodeCode() { return mTimeCode.mCode; }

int32_t CProcessGroupInterface::GetGroupTimeCodeValue() { return mTimeCode.mValue; }

int32_t CProcessGroupInterface::GetGroupSampleRate() { return mSampleRate; }

void CProcessGroupInterface::LetSystemRun() {}

int32_t CProcessGroupInterface::SetHostCallback(HostCallbackProc procedure) {
  StoreHostCallback(procedure);
  return 0;
}

int32_t CProcessGroupInterface::SetHostContext(void* context) {
  mHostContext = context;
  return 0;
}

int32_t CProcessGroupInterface::StoreTDMAutoElemResult(uint32_t typeID, int32_t instance, int32_t a3,
                                                       SFicTDMAutoElem*** result) {
  SFicTDMAutoElem** elements = HostCall073(typeID, instance, a3);
  if (result) *result = elements;
  return 0;
}

int32_t CProcessGroupInterface::StorePointerResult(uint32_t typeID, int32_t instance, int32_t a3, void** result) {
  void* pointer = HostCall074(typeID, instance, a3);
  if (result) *result = pointer;
  return 0;
}

int32_t CProcessGroupInterface::UnpackProcessSpecifier(const SProcessSpecifier* specifier, uint32_t a3, int16_t a4,
                                                       int16_t a5, int16_t a6) {
  if (!specifier) return DAEResult::kMissingObject;
  return HostCall121(specifier->mTypeID, specifier->mInstance, a3, a4, a5, a6);
}

int32_t CProcessGroupInterface::UnpackControlSpecifier(const SControlSpecifier* specifier, char* text, int32_t a5,
                                                       uint32_t a6, int16_t* a7) {
  if (!specifier) return DAEResult::kMissingObject;
  return GetControlNameOfLength(specifier->mTypeID, specifier->mInstance, specifier->mControl, text, a5, a6, a7);
}

int32_t CProcessGroupInterface::UnpackControlSpecifierLongText(const SControlSpecifier* specifier, int32_t value,
                                                               char* text, int32_t length) {
  if (!specifier) return DAEResult::kMissingObject;
  return GetControlValueText(specifier->mTypeID, specifier->mInstance, specifier->mControl, value, text, length);
}

int32_t CProcessGroupInterface::UnpackControlSpecifierText(const SControlSpecifier* specifier, char* text,
                                                           int32_t* value) {
  if (!specifier) return DAEResult::kMissingObject;
  return ConvertControlString(specifier->mTypeID, specifier->mInstance, specifier->mControl, text, value);
}

int32_t CProcessGroupInterface::UnpackStemSpecifiers(SFicPlugInSpec* spec, int32_t a2, const SStemSpecifier* first,
                                                     const SStemSpecifier* second) {
  if (!first || !second) return DAEResult::kMissingObject;
  return MatchPlugInSpecFull(spec, a2, first->mSecond, second->mSecond, first->mFirst, second->mFirst);
}

int32_t CProcessGroupInterface::UnpackParamSpecifier(const SParamSpecifier* specifier, int16_t* out) {
  if (!specifier) return DAEResult::kMissingObject;
  return HostCall096(specifier->mTypeID, specifier->mInstance, specifier->mValue1, specifier->mValue2,
                     specifier->mValue3, out);
}

int32_t CProcessGroupInterface::UnpackParamSpecifierWithText(const SParamSpecifier* specifier, int16_t value,
                                                             char* text) {
  if (!specifier) return DAEResult::kMissingObject;
  return HostCall097(specifier->mTypeID, specifier->mInstance, specifier->mValue1, specifier->mValue2,
                     specifier->mValue3, value, text);
}

int16_t CProcessGroupInterface::ForwardToGroupSlot110(HostWord chip, int32_t kind, void* out) {
  if (!gGroup) return static_cast<int16_t>(DAEResult::kNoGroupForDSP);
  return static_cast<int16_t>(gGroup->QueryChip(chip, kind, out));
}

CProcessGroupInterface* CProcessGroupInterface::GetGroupReference() { return gGroup; }

void CProcessGroupInterface::SetGroupReference(CProcessGroupInterface* group) { gGroup = group; }

int32_t CProcessGroupInterface::GetHostInterfaceVersion() { return gHostInterfaceVersion; }
