#include "rtas/library/CPlugIn.h"

#include <cstring>

#include "rtas/library/CDAEError.h"
#include "rtas/library/CProcess.h"
#include "rtas/library/CProcessType.h"
#include "rtas/library/CStructureRegistry.h"
#include "rtas/library/CWordList.h"
#include "rtas/library/DAEFunctions.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/ResultCodes.h"
#include "rtas/library/SystemServices.h"

namespace {

// The type attributes the adaptor reads.
constexpr int32_t kSideChainAttribute = 5;
constexpr int32_t kRenderArgumentAttribute = 38;
constexpr int32_t kExtraStreamsAttribute = 41;
constexpr int32_t kHostFramesAttribute = 48;

template <class T>
void AddSet(CWordList& words, CSet<T>& set) {
  words.AddWord(static_cast<uint32_t>(set.GetCount()));
  for (int32_t i = 1; i <= set.GetCount(); ++i) words.AddPointer(set.GetAt(i));
}

void Describe(void* object, CWordList& words) { CStructureRegistry::Describe(object, words.MakeArray()); }

int32_t QueryType(CProcessType* type, int32_t attribute) {
  int32_t value = 0;
  if (type) type->QueryTypeFeature(attribute, &value);
  return value;
}

void* AsPointer(intptr_t value) { return reinterpret_cast<void*>(value); }

}  // namespace

void CPlugInPort::DescribeToHost() {
  CWordList words;
  words.AddWord(1);
  words.AddPointer(mOwner);
  words.AddWord(static_cast<uint32_t>(mPortNumber));
  words.AddWord(static_cast<uint32_t>(mFormatWord));
  Describe(this, words);
}

CPlugInInput::CPlugInInput(CPlugIn* owner, int32_t number) : CPlugInPort(owner, number) {
  owner->Inputs().Add(this);
  CStructureRegistry::Register(this, kRegistryKind);
}

CPlugInInput::~CPlugInInput() {
  GetOwner()->Inputs().Remove(this);
  CStructureRegistry::Unregister(this);
}

CPlugInOutput::CPlugInOutput(CPlugIn* owner, int32_t number) : CPlugInPort(owner, number) {
  owner->Outputs().Add(this);
  CStructureRegistry::Register(this, kRegistryKind);
}

CPlugInOutput::~CPlugInOutput() {
  GetOwner()->Outputs().Remove(this);
  CStructureRegistry::Unregister(this);
}

CPlugInWorker::CPlugInWorker(CPlugIn* owner, PlugInRenderRoutine routine, const void* context)
    : mOwner(owner), mRoutine(routine), mContext(context) {
  owner->Workers().Add(this);
  CStructureRegistry::Register(this, kRegistryKind);
}

CPlugInWorker::~CPlugInWorker() {
  mOwner->Workers().Remove(this);
  CStructureRegistry::Unregister(this);
}

void CPlugInWorker::DescribeToHost() {
  CWordList words;
  words.AddWord(6);
  words.AddPointer(reinterpret_cast<const void*>(mRoutine));
  words.AddWord(4);
  AddSet(words, mData);
  AddSet(words, mInputs);
  AddSet(words, mOutputs);
  AddSet(words, mFourthSet);
  words.AddPointer(mContext);
  words.AddWord(static_cast<uint32_t>(mLastWord));
  Describe(this, words);
}

CPlugIn::CPlugIn(const SInstanceIdentification& identification) : mIdentification(identification) {
  CStructureRegistry::Register(this, kRegistryKind);
}

CPlugIn::~CPlugIn() { CStructureRegistry::Unregister(this); }

int32_t CPlugIn::GetIdentification(SInstanceIdentification* identification) {
  if (identification) *identification = mIdentification;
  return 0;
}

int32_t CPlugIn::SetInputCount(int32_t count) {
  if (count < 0) return 0;
  if (count != CountInputs()) return CanChangeInputCount() ? 0 : DAEResult::kInputsNotReady;
  PublishToHost();
  return 0;
}

int32_t CPlugIn::SetOutputCount(int32_t count) {
  if (count < 0) return 0;
  if (count != CountOutputs()) return CanChangeOutputCount() ? 0 : DAEResult::kOutputsNotReady;
  PublishToHost();
  return 0;
}

CPlugInInput* CPlugIn::GetInput(int32_t n) {
  CPlugInInput* input = mInputs.GetAt(n);
  if (!input) ThrowPlainCode(static_cast<int16_t>(DAEResult::kNoData));
  return input;
}

CPlugInOutput* CPlugIn::GetOutput(int32_t n) {
  CPlugInOutput* output = mOutputs.GetAt(n);
  if (!output) ThrowPlainCode(static_cast<int16_t>(DAEResult::kNoData));
  return output;
}

void* CPlugIn::GetThirdSetEntry(int32_t n) {
  void* entry = mThirdSet.GetAt(n);
  if (!entry) ThrowPlainCode(static_cast<int16_t>(DAEResult::kNoData));
  return entry;
}

CPlugInObject* CPlugIn::GetOwnedObject() {
  if (!mOwned) ThrowPlainCode(static_cast<int16_t>(DAEResult::kNoData));
  return mOwned.get();
}

CPlugInInput* CPlugIn::CreateInput(int32_t number) {
  return new CPlugInInput(this, number != 0 ? number : CountInputs() + 1);
}

CPlugInOutput* CPlugIn::CreateOutput(int32_t number) {
  return new CPlugInOutput(this, number != 0 ? number : CountOutputs() + 1);
}

void CPlugIn::DescribeUpdate(bool opening) {
  CWordList words;
  words.AddWord(opening ? 2 : 3);
  Describe(this, words);
}

void CPlugIn::DescribeToHost() {
  CWordList words;
  words.AddWord(1);
  words.AddWord(mIdentification.mManufacturerID);
  words.AddWord(mIdentification.mUniqueID);
  words.AddWord(mIdentification.mTypeID);
  words.AddPointer(reinterpret_cast<const void*>(mIdentification.mHostContext));
  words.AddWord(static_cast<uint32_t>(mIdentification.mInstanceNumber));
  AddSet(words, mInputs);
  AddSet(words, mOutputs);
  AddSet(words, mWorkers);
  Describe(this, words);
}

void CPlugIn::PublishToHost() {
  CSet<CPlugInData> data;
  for (int32_t i = 1; i <= mWorkers.GetCount(); ++i) data.AddAll(mWorkers.GetAt(i)->Data());
  DescribeUpdate(true);
  for (int32_t i = 1; i <= mInputs.GetCount(); ++i) mInputs.GetAt(i)->DescribeToHost();
  for (int32_t i = 1; i <= mOutputs.GetCount(); ++i) mOutputs.GetAt(i)->DescribeToHost();
  for (int32_t i = 1; i <= mWorkers.GetCount(); ++i) mWorkers.GetAt(i)->DescribeToHost();
  for (int32_t i = 1; i <= data.GetCount(); ++i) data.GetAt(i)->DescribeToHost();
  DescribeToHost();
  DescribeUpdate(false);
}

CAdaptorPlugIn::CAdaptorPlugIn(const SInstanceIdentification& identification, CProcess* process, void* inputs,
                               void* outputs, PlugInRenderRoutine routine)
    : CPlugIn(identification), mWorker(this, routine ? routine : DefaultRenderRoutine, mName) {
  try {
    BuildPorts(process, inputs, outputs, routine);
  } catch (...) {
    DeletePorts();
    throw;
  }
}

void CAdaptorPlugIn::BuildPorts(CProcess* process, void* inputs, void* outputs, PlugInRenderRoutine routine) {
  CProcessType* type = process->GetProcessType();
  char name[kNameBytes + 1] = {};
  if (type && type->GetTypeName(kNameBytes - 1, name) == 0) {
    const size_t length = static_cast<unsigned char>(name[0]);
    std::memcpy(mName, name + 1, length);
    mName[length] = 0;
  } else {
    std::strcpy(mName, "<unknown>");
  }

  if (QueryType(type, kRenderArgumentAttribute) && !routine) mWorker.SetRoutine(DefaultRenderRoutineWithArgument);

  int32_t inputCount = process->InputCount();
  int32_t outputCount = process->OutputCount();
  const bool extraStreams = QueryType(type, kExtraStreamsAttribute) != 0;
  if (extraStreams && type) {
    const int32_t instance = process->GetInstanceNumber();
    int32_t streams = 0;
    type->CountChunkDescriptors(instance, &streams);
    for (int32_t i = 0; i < streams; ++i) {
      SFicPlugInStemInfo description{};
      description.mPresent = 1;
      if (type->GetChunkDescriptor(instance, i, &description) != 0 || description.mPresent == 0) continue;
      const int32_t channels = ChannelCountOfStemFormat(description.mWord2);
      inputCount += channels;
      outputCount += channels;
    }
  }

  const int32_t sideChain = QueryType(type, kSideChainAttribute);
  int32_t inputPorts = sideChain != 0 ? inputCount + 1 : inputCount;
  bool hostFrames = QueryType(type, kHostFramesAttribute) != 0;
  if (hostFrames) {
    intptr_t answer = 0;
    FicGestalt(ficgestalt::kVariableQuantum, &answer);
    if (answer == 0) hostFrames = false;
  }
  if (extraStreams && outputCount > inputCount) {
    inputPorts += outputCount - inputCount;
    inputCount = outputCount;
  }

  for (int32_t n = 1; n <= inputPorts; ++n) {
    const int32_t number = sideChain != 0 && n == inputPorts ? sideChain : n;
    mWorker.Inputs().Add(new CPlugInInput(this, number));
  }
  for (int32_t n = 1; n <= outputCount; ++n) mWorker.Outputs().Add(new CPlugInOutput(this, n));
  mInputPortCount = static_cast<int16_t>(inputPorts);
  mOutputPortCount = static_cast<int16_t>(outputCount);
  mWorker.Data().Add(&mCustomData);

  mCustomData.mProcess.Set(process);
  mCustomData.mInputs.Set(inputs);
  mCustomData.mOutputs.Set(outputs);
  mCustomData.mInputCount.Set(AsPointer(inputCount));
  mCustomData.mOutputCount.Set(AsPointer(outputCount));
  mCustomData.mSideChain.Set(AsPointer(sideChain));
  mCustomData.mHostFrames.Set(AsPointer(hostFrames ? 1 : 0));
}

void CAdaptorPlugIn::DeletePorts() {
  while (CPlugInInput* input = Inputs().GetAt(1)) {
    mWorker.Inputs().Remove(input);
    delete input;
  }
  while (CPlugInOutput* output = Outputs().GetAt(1)) {
    mWorker.Outputs().Remove(output);
    delete output;
  }
  mWorker.Inputs().RemoveAll();
  mWorker.Outputs().RemoveAll();
}

CAdaptorPlugIn::~CAdaptorPlugIn() {
  DeletePorts();
  // The host learns that the ports went; nothing may escape a destructor.
  try {
    PublishToHost();
  } catch (...) {
  }
}

CAdaptorPlugIn* CreateAdaptorPlugIn(const SInstanceIdentification* identification, CProcess* process, void* inputs,
                                    void* outputs, PlugInRenderRoutine routine) {
  ThrowIfNil(identification);
  ThrowIfNil(process);
  return new CAdaptorPlugIn(*identification, process, inputs, outputs, routine);
}

namespace {

// Words of the host's render record.
constexpr size_t kHostSpareBuffer = 3;
constexpr size_t kHostRenderArgument = 21;
constexpr size_t kHostFrameCount = 22;
// The call block's word holding the custom data's block.
constexpr size_t kCallBlockData = 2;
constexpr size_t kCallBlockFirstCell = 3;

// The seven fields as the host's block holds them.
struct SAdminBlock {
  HostWord mProcess, mInputs, mOutputs, mInputCount, mOutputCount, mSideChain, mHostFrames;
};

float* CellBuffer(HostWord* callBlock, size_t k) {
  float** cell = reinterpret_cast<float**>(callBlock[kCallBlockFirstCell + k]);
  return cell ? *cell : nullptr;
}

void PointOutputsAtSpare(HostWord* callBlock, HostWord* hostRecord, const SAdminBlock& admin) {
  const size_t first = admin.mInputCount + (admin.mSideChain != 0 ? 1 : 0);
  for (size_t j = 0; j < admin.mOutputCount; ++j) {
    float** cell = reinterpret_cast<float**>(callBlock[kCallBlockFirstCell + first + j]);
    if (cell) *cell = reinterpret_cast<float*>(hostRecord[kHostSpareBuffer]);
  }
}

int32_t RunDefaultRoutine(HostWord* callBlock, HostWord* hostRecord, bool withArgument) {
  if (!callBlock || !hostRecord) return 0;
  const auto* admin = reinterpret_cast<const SAdminBlock*>(callBlock[kCallBlockData]);
  if (!admin) return 0;
  auto* process = reinterpret_cast<CProcess*>(admin->mProcess);
  auto** inputs = reinterpret_cast<SProcessPortRecord**>(admin->mInputs);
  auto** outputs = reinterpret_cast<SProcessPortRecord**>(admin->mOutputs);
  const size_t inputCount = admin->mInputCount;
  const size_t outputCount = admin->mOutputCount;
  const int32_t frames = admin->mHostFrames ? static_cast<int32_t>(hostRecord[kHostFrameCount]) : 32;

  bool complete = process != nullptr;
  for (size_t i = 0; complete && i < inputCount; ++i) {
    SProcessPortRecord* record = inputs ? inputs[i] : nullptr;
    if (!record) {
      if (withArgument) continue;
      if (outputCount == 0) return static_cast<int32_t>(i);
      complete = false;
      break;
    }
    record->mBuffer = CellBuffer(callBlock, i);
    record->mFrameCount = frames;
  }
  const size_t firstOutput = inputCount + (admin->mSideChain != 0 ? 1 : 0);
  for (size_t j = 0; complete && j < outputCount; ++j) {
    SProcessPortRecord* record = outputs ? outputs[j] : nullptr;
    if (!record) {
      if (withArgument) continue;
      complete = false;
      break;
    }
    record->mBuffer = CellBuffer(callBlock, firstOutput + j);
    record->mFrameCount = withArgument ? frames : 0;
  }
  // The side-chain record follows the regular inputs; a number past it
  // would index beyond the process's array.
  if (complete && admin->mSideChain != 0 && admin->mSideChain <= inputCount + 1 && inputs) {
    if (SProcessPortRecord* record = inputs[admin->mSideChain - 1]) {
      record->mBuffer = CellBuffer(callBlock, inputCount);
      record->mFrameCount = frames;
    }
  }
  if (complete && withArgument && !(outputCount > 0 && outputs && outputs[0])) {
    if (outputCount == 0) return 0;
    complete = false;
  }
  if (complete) {
    int32_t zero = 0;
    int32_t argument = static_cast<int32_t>(hostRecord[kHostRenderArgument]);
    const int32_t result = process->RenderPorts(withArgument ? &argument : &zero);
    process->SetRendered(true);
    if (result == 0 || outputCount == 0) return result;
  }
  PointOutputsAtSpare(callBlock, hostRecord, *admin);
  return 0;
}

}  // namespace

int32_t DefaultRenderRoutine(HostWord* callBlock, HostWord* hostRecord) {
  return RunDefaultRoutine(callBlock, hostRecord, false);
}

int32_t DefaultRenderRoutineWithArgument(HostWord* callBlock, HostWord* hostRecord) {
  return RunDefaultRoutine(callBlock, hostRecord, true);
}
