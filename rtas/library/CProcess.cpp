#include "rtas/library/CProcess.h"

#include <cstring>

#include "rtas/library/CPageTableReader.h"
#include "rtas/library/CProcessGroup.h"
#include "rtas/library/CProcessType.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/GlobalLockScope.h"
#include "rtas/library/ResultCodes.h"

namespace {

// Chunk ids default to four blanks.
constexpr uint32_t kNoChunkID = 0x20202020;

}  // namespace

CProcess::CProcess() {
  // The group's settings as they stand when the instance is made; the
  // type's broadcasts keep them current.
  CProcessGroupInterface* group = CProcessGroupInterface::GetGroupReference();
  mSampleRate = group ? group->GetGroupSampleRate() : 44100;
  mTimeCodeCode = static_cast<int16_t>(group ? group->GetGroupTimeCodeCode() : 5);
  mTimeCodeValue = group ? group->GetGroupTimeCodeValue() : 0;
}

// The controls go with the control vector, the view with its pointer.
CProcess::~CProcess() = default;

bool CProcess::IsLinkedToEngine() { return CProcessGroup::GetDAEObject() != 0; }

void CProcess::InitProcess() {
  if (!CProcessGroup::AreViewsDisabled()) {
    std::unique_ptr<CProcessView> view(CreateView());
    ThrowIfNil(view.get());
    // A view whose tree cannot be built is not kept half-made.
    view->Realize();
    mView = std::move(view);
  }
  if (!IsLinkedToEngine()) return;
  CGlobalLockScope scope;
  mMessages = std::make_unique<SControlMessages>(static_cast<size_t>(CountControls()) + 1);
  ThrowIfError(static_cast<int16_t>(ReserveInstanceName(0)));
  ThrowIfError(static_cast<int16_t>(ReserveControlNames()));
  ThrowIfError(static_cast<int16_t>(CreateControlMessageObjects()));
}

// Runs again from the effect process's destructor after the type already
// released the instance; everything it frees is cleared, so the second
// run finds nothing left to do.
void CProcess::ReleaseProcess() {
  if (mMessages) {
    CGlobalLockScope scope;
    DeleteControlMessageObjects();
    FreeControlNames();
    FreeInstanceName();
    mMessages.reset();
  }
  mView.reset();
}

int32_t CProcess::Idle(EventRecord*) {
  DoIdle();
  return 0;
}

int32_t CProcess::SetSampleRate(int32_t sampleRateHz) {
  mSampleRate = sampleRateHz;
  return 0;
}

int32_t CProcess::SetTimeCodeInfo(SFicTimeCodeInfo* info) {
  if (!info) return 0;
  mTimeCodeCode = info->mCode;
  mTimeCodeValue = info->mValue;
  return 0;
}

int32_t CProcess::SetTypeWord1(HostWord word) {
  mTypeWord1 = word;
  return 0;
}

int32_t CProcess::GetTypeWord1(HostWord* word) {
  if (word) *word = mTypeWord1;
  return 0;
}

int32_t CProcess::SetTypeWord2(HostWord word) {
  mTypeWord2 = word;
  return 0;
}

int32_t CProcess::GetTypeWord2(HostWord* word) {
  if (word) *word = mTypeWord2;
  return 0;
}

int16_t CProcess::InputCount() {
  int16_t count = 0;
  if (const int32_t result = GetNumInputs(&count)) ThrowDAEError(static_cast<int16_t>(result));
  return count;
}

int16_t CProcess::OutputCount() {
  int16_t count = 0;
  if (const int32_t result = GetNumOutputs(&count)) ThrowDAEError(static_cast<int16_t>(result));
  return count;
}

int32_t CProcess::SetInputCount(int16_t count) {
  if (!CanSetInputCount()) return DAEResult::kInputsNotReady;
  mInputs = count;
  return 0;
}

int32_t CProcess::SetOutputCount(int16_t count) {
  if (!CanSetOutputCount()) return DAEResult::kOutputsNotReady;
  mOutputs = count;
  return 0;
}

int32_t CProcess::IsInputPortConnected(int32_t, uint8_t* connected) {
  if (connected) *connected = 1;
  return 0;
}

int32_t CProcess::IsOutputPortFree(int32_t, uint8_t* isFree) {
  if (isFree) *isFree = 0;
  return 0;
}

int32_t CProcess::IsOutputPortConnected(int32_t, uint8_t* connected) {
  if (connected) *connected = 0;
  return 0;
}

int32_t CProcess::HostCall156(int32_t, int32_t, int32_t, int32_t*) { return DAEResult::kProcessSlotDefault; }

int32_t CProcess::IsBypassed(int32_t, uint8_t* bypassed) {
  if (bypassed) *bypassed = 0;
  return 0;
}

int32_t CProcess::HostCall052(int32_t, uint8_t* out) {
  if (out) *out = 0;
  return 0;
}

int32_t CProcess::GetFlaggedControl(uint32_t flags, uint32_t* control) {
  if (!mType) return 0;
  uint32_t category = 0;
  const int32_t result = mType->HostCall134(0, &category);
  if ((category & flags) != 0) {
    int32_t bypass = 0;
    GetMasterBypassControl(&bypass);
    if (control) *control = static_cast<uint32_t>(bypass);
  }
  return result;
}

int32_t CProcess::GetProcessMeterCount(int32_t* count) {
  if (count) *count = 0;
  return 0;
}

int32_t CProcess::GetMeterValues(int32_t, int32_t* values) {
  if (values) *values = 0;
  return 0;
}

int32_t CProcess::GetMeterEntryFlag(int32_t, char* flag) {
  if (flag) *flag = 0;
  return 0;
}

int32_t CProcess::GetMeterCountOfKind(char, int32_t* count) {
  if (count) *count = 0;
  return 0;
}

int32_t CProcess::GetNthMeterOfKind(char, int32_t, int32_t* index) {
  if (index) *index = 0;
  return 0;
}

int32_t CProcess::IsClipped(uint8_t* clipped) {
  if (clipped) *clipped = 0;
  return 0;
}

int32_t CProcess::HostCall161(uint8_t* out) {
  if (out) *out = 0;
  return 0;
}

int32_t CProcess::HostCall162(int32_t, void*, uint8_t* out) {
  if (out) *out = 0;
  return 0;
}

int32_t CProcess::CountChunks(int32_t* count) {
  if (count) *count = 0;
  return 0;
}

int32_t CProcess::GetChunkIdAt(int32_t, uint32_t* id) {
  if (id) *id = kNoChunkID;
  return DAEResult::kUnknownChunk;
}

int32_t CProcess::GetChunkName(uint32_t, uint8_t* name) {
  if (name) name[0] = 0;
  return DAEResult::kUnknownChunk;
}

int32_t CProcess::GetChunkSize(uint32_t, int32_t* size) {
  if (size) *size = 0;
  return DAEResult::kUnknownChunk;
}

int32_t CProcess::GetChunk(uint32_t, SFicPlugInChunk*) { return DAEResult::kUnknownChunk; }

int32_t CProcess::SetChunk(uint32_t, SFicPlugInChunk*) { return DAEResult::kUnknownChunk; }

int32_t CProcess::CompareChunk(SFicPlugInChunk*, uint8_t* equal) {
  if (equal) *equal = 0;
  return 0;
}

int32_t CProcess::GetChangeCount(int32_t* count) {
  if (count && mChangeCount >= 0) *count = mChangeCount;
  return 0;
}

int32_t CProcess::HostCall165(char* text) {
  if (text) text[0] = 0;
  return 0;
}

int32_t CProcess::GetLatency16(int16_t* samples) {
  if (samples) *samples = 0;
  return 0;
}

int32_t CProcess::GetLatency(int32_t* samples) {
  int16_t latency = 0;
  const int32_t result = GetLatency16(&latency);
  if (samples) *samples = latency;
  return result;
}

int32_t CProcess::HostCall094(int16_t, int16_t, char* text) {
  if (text) text[0] = 0;
  return 0;
}

int32_t CProcess::HostCall095(int16_t, int16_t, char* text) {
  if (text) text[0] = 0;
  return 0;
}

int32_t CProcess::HostCall096(int16_t, int16_t, int16_t, int16_t* out) {
  if (out) *out = 0;
  return 0;
}

int32_t CProcess::HostCall097(int16_t, int16_t, int16_t, int16_t, char* text) {
  if (text) text[0] = 0;
  return 0;
}

int32_t CProcess::HostCall101() { return DAEResult::kUnsupported; }

int32_t CProcess::HostCall103(int16_t, int32_t, int32_t* out) {
  if (out) *out = 0;
  return 0;
}

int32_t CProcess::HostCall104(int32_t* out) {
  if (out) *out = 0;
  return 0;
}

int32_t CProcess::HostCall105(int32_t* out) {
  if (out) *out = 0;
  return 0;
}

void CProcess::GetBaseName(char* text) {
  if (text) std::strcpy(text, "Plug-Ins/Undefined BaseName");
}

int32_t CProcess::GetStemFormatName(int32_t, uint8_t*) { return DAEResult::kUnsupported; }

int32_t CProcess::SetSharedPair(int32_t, int32_t b) {
  mSharedPair = b;
  return 0;
}

int32_t CProcess::HostCall130(int32_t word) {
  mWord130 = word;
  return 0;
}

int32_t CProcess::GetStoredRecord(void* record) {
  if (record) std::memcpy(record, mStoredRecord, kStoredRecordBytes);
  return 0;
}

int32_t CProcess::StoreRecord(void* record) {
  if (record) std::memcpy(mStoredRecord, record, kStoredRecordBytes);
  return 0;
}

int32_t CProcess::HostCall141(SFicPlugInSpec*, int32_t, int32_t* out) {
  if (out) *out = 0;
  return 0;
}

int32_t CProcess::HostCall142(SFicPlugInSpec*, int32_t, int32_t* out) {
  if (out) *out = 0;
  return 0;
}

int32_t CProcess::CountChunkDescriptors(int32_t* count) {
  if (count) *count = 0;
  return 0;
}

int32_t CProcess::HostCall172(IACFUnknown** out) {
  if (out) *out = nullptr;
  return 0;
}

int32_t CProcess::HostCall152(int32_t, int32_t* out) {
  if (out) *out = 0;
  return 0;
}

int32_t CProcess::HostCall153(int32_t* out) {
  if (out) *out = 0;
  return 0;
}

int32_t CProcess::HostCall155(int32_t, int32_t* out) {
  if (out) *out = 0;
  return 0;
}

const std::vector<uint8_t>* CProcess::GetPageTable(uint32_t tag) { return mType ? mType->GetPageTable(tag) : nullptr; }

namespace {

CPageTableReader ReaderOf(const std::vector<uint8_t>* table) {
  return table ? CPageTableReader(table->data(), table->size()) : CPageTableReader(nullptr, 0);
}

}  // namespace

int32_t CProcess::HasSurfacePages(uint32_t tag, int16_t kind) {
  return ReaderOf(GetPageTable(tag)).HasLayoutFor(static_cast<uint16_t>(kind)) ? 1 : 0;
}

int32_t CProcess::CountSurfacePages(uint32_t tag, int16_t kind) {
  return ReaderOf(GetPageTable(tag)).CountPages(static_cast<uint16_t>(kind));
}

int32_t CProcess::GetSurfacePageEntry(uint32_t tag, int16_t kind, int16_t page, int16_t position) {
  return ReaderOf(GetPageTable(tag)).GetEntry(static_cast<uint16_t>(kind), page, position);
}
