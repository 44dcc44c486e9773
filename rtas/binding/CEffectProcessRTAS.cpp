#include "rtas/binding/CEffectProcessRTAS.h"

#include <algorithm>
#include <cstring>

#include "rtas/library/CPlugIn.h"
#include "rtas/library/CPlainCodeError.h"
#include "rtas/library/DAEFunctions.h"
#include "rtas/library/ResultCodes.h"

namespace {

constexpr int32_t kDefaultQuantum = 32;
// Far past any real host's largest block. The instance sizes its buffers,
// and the plug-in its own, for the largest block; a longer block is
// rendered in pieces anyway, so a larger claim would only size buffers
// nothing can hold.
constexpr int32_t kLargestQuantum = 65536;
constexpr int32_t kPortNameSelector = 5;

}  // namespace

CEffectProcessRTAS::CEffectProcessRTAS() = default;

CEffectProcessRTAS::~CEffectProcessRTAS() {
  // The adaptor goes first: with it the host's callbacks end.
  delete mAdaptor;
  mAdaptor = nullptr;
  CDSPProcess::ReleaseProcess();
}

void CEffectProcessRTAS::InitProcess() {
  CEffectProcess::InitProcess();
  if (!mReady) {
    const int32_t sideChain = GetSideChainPortID() != 0 ? 1 : 0;
    mChannels = std::max<int32_t>(GetInputChannels() + sideChain, GetOutputChannels());
  }
  mBlockSize = QueryMaxRTASQuantum();
  AllocateIOArrays();
  mSilence = std::make_unique<float[]>(static_cast<size_t>(mBlockSize));
  mDiscard = std::make_unique<float[]>(static_cast<size_t>(mBlockSize));
  mReady = 1;
}

void CEffectProcessRTAS::SetIOChannelCount(int32_t n) {
  if (!mReady) mChannels = std::max<int32_t>(n, 0);
}

void CEffectProcessRTAS::AllocateIOArrays() {
  const size_t n = static_cast<size_t>(mChannels);
  mInputPointers = std::make_unique<float*[]>(n);
  mOutputPointers = std::make_unique<float*[]>(n);
  mInputSlots = std::make_unique<int32_t[]>(n);
  mOutputSlots = std::make_unique<int32_t[]>(n);
  ClearPortArrays(mInputSlots.get(), mOutputSlots.get(), mChannels, mChannels);
}

int32_t CEffectProcessRTAS::IsInputPortConnected(int32_t port, uint8_t* connected) {
  if (IsOwnPort(port)) {
    if (!InChannelRange(port)) return DAEResult::kPortSlotRange;
    if (connected) *connected = mInputSlots[port - 1] != 0 ? 1 : 0;
    return 0;
  }
  return ::IsPortConnected(port, connected, mInputSlots.get(), mChannels);
}

int32_t CEffectProcessRTAS::IsOutputPortFree(int32_t port, uint8_t* isFree) {
  if (IsOwnPort(port)) {
    if (isFree) *isFree = 1;
    return 0;
  }
  return ::IsPortFree(port, isFree, mOutputSlots.get(), mChannels);
}

int32_t CEffectProcessRTAS::IsOutputPortConnected(int32_t port, uint8_t* connected) {
  if (IsOwnPort(port)) {
    if (!InChannelRange(port)) return DAEResult::kPortSlotRange;
    if (connected) *connected = mOutputSlots[port - 1] != 0 ? 1 : 0;
    return 0;
  }
  return ::IsPortConnected(port, connected, mOutputSlots.get(), mChannels);
}

int32_t CEffectProcessRTAS::ConnectInputPortSlot(int32_t port, int32_t connection) {
  if (GetSideChainPortID() != 0 && port == GetSideChainPortID()) SideChainConnected();
  if (IsOwnPort(port)) {
    if (!InChannelRange(port)) return DAEResult::kPortSlotRange;
    mInputSlots[port - 1] = connection;
    return 0;
  }
  return ::ConnectInputPort(port, connection, mInputSlots.get(), mChannels);
}

int32_t CEffectProcessRTAS::DisconnectInputPortSlot(int32_t port) {
  if (GetSideChainPortID() != 0 && port == GetSideChainPortID()) SideChainDisconnected();
  if (IsOwnPort(port)) {
    if (!InChannelRange(port)) return DAEResult::kPortSlotRange;
    mInputSlots[port - 1] = 0;
    return 0;
  }
  return ::DisconnectPort(port, mInputSlots.get(), mChannels);
}

int32_t CEffectProcessRTAS::ConnectOutputPortSlot(int32_t port, int32_t connection) {
  if (IsOwnPort(port)) {
    if (!InChannelRange(port)) return DAEResult::kPortSlotRange;
    mOutputSlots[port - 1] = connection;
    return 0;
  }
  return ::ConnectOutputPort(port, connection, mOutputSlots.get(), mChannels);
}

int32_t CEffectProcessRTAS::DisconnectOutputPortSlot(int32_t port) {
  if (IsOwnPort(port)) {
    if (!InChannelRange(port)) return DAEResult::kPortSlotRange;
    mOutputSlots[port - 1] = 0;
    return 0;
  }
  return ::DisconnectPort(port, mOutputSlots.get(), mChannels);
}

int32_t CEffectProcessRTAS::UpdateControlValue(int32_t n, int32_t value) {
  // The two-state control reads "On" from 0 up (its integer value is 1
  // there), and the host's bypass query answers the same: the audio
  // follows what both report.
  if (n != 0 && n == GetMasterBypassIndex()) mBypass.store(value >= 0 ? 1 : 0, std::memory_order_relaxed);
  return CEffectProcess::UpdateControlValue(n, value);
}

int32_t CEffectProcessRTAS::GetPortName(int32_t selector, uint8_t* text) {
  if (!text) return 0;
  if (selector == kPortNameSelector) {
    char name[256];
    const size_t length = text[0];
    std::memcpy(name, text + 1, length);
    name[length] = 0;
    PortNameHook(name);
    const size_t count = std::min<size_t>(std::strlen(name), 255);
    text[0] = static_cast<uint8_t>(count);
    std::memcpy(text + 1, name, count);
    return 0;
  }
  return LookUpSecondaryName(static_cast<uint32_t>(selector), text);
}

int32_t CEffectProcessRTAS::RegisterRenderCallback(SInstanceIdentification identification) {
  CAdaptorPlugIn* adaptor = nullptr;
  try {
    adaptor = CreateAdaptorPlugIn(&identification, this, mInputSlots.get(), mOutputSlots.get(), RenderCallback);
    delete mAdaptor;
    mAdaptor = adaptor;
    mAdaptor->PublishToHost();
  } catch (const CPlainCodeError& error) {
    if (mAdaptor == adaptor) mAdaptor = nullptr;
    delete adaptor;
    return error.Code();
  }
  return 0;
}

int32_t CEffectProcessRTAS::QueryMaxRTASQuantum() {
  intptr_t answer = 0;
  FicGestalt(ficgestalt::kVariableQuantum, &answer);
  if (answer == 0) return kDefaultQuantum;
  const int32_t quantum = FicGetMaximumRTASQuantum();
  return quantum < 1 ? kDefaultQuantum : std::min(quantum, kLargestQuantum);
}

int32_t CEffectProcessRTAS::RenderCallback(HostWord* r, HostWord* c) {
  if (!r) return 0;
  auto* descriptor = reinterpret_cast<HostWord*>(r[hostwords::kCallBlockPortDescriptor]);
  if (!descriptor) return 0;
  auto* base = reinterpret_cast<CProcess*>(descriptor[hostwords::kPortDescriptorProcess]);
  auto* process = dynamic_cast<CEffectProcessRTAS*>(base);
  if (!process || !process->mAdaptor || !process->mReady) return 0;
  process->RenderBlock(r, c);
  return 0;
}

void CEffectProcessRTAS::RenderBlock(HostWord* r, HostWord* c) {
  HostWord* descriptor = reinterpret_cast<HostWord*>(r[hostwords::kCallBlockPortDescriptor]);
  mPortRecord = descriptor;
  mRenderRecord = c;

  const int64_t hostInputs = static_cast<int64_t>(descriptor[hostwords::kPortDescriptorInputs]) +
                             (descriptor[hostwords::kPortDescriptorSideChain] != 0 ? 1 : 0);
  const int64_t hostOutputs = static_cast<int64_t>(descriptor[hostwords::kPortDescriptorOutputs]);
  const int32_t inputs = static_cast<int32_t>(std::clamp<int64_t>(hostInputs, 0, mChannels));
  const int32_t outputs = static_cast<int32_t>(std::clamp<int64_t>(hostOutputs, 0, mChannels));
  int32_t frames = kDefaultQuantum;
  if (descriptor[hostwords::kPortDescriptorHasFrameCount] != 0) {
    frames = c ? static_cast<int32_t>(static_cast<intptr_t>(c[hostwords::kRenderRecordFrameCount])) : 0;
  }
  if (frames <= 0) return;

  const auto buffer = [&](int64_t entry) -> float* {
    auto** cell = reinterpret_cast<float**>(r[hostwords::kCallBlockFirstBufferCell + entry]);
    return cell ? *cell : nullptr;
  };
  try {
    // The host may hand a block longer than the buffers the plug-in sized
    // to the block size: it is rendered in pieces.
    for (int32_t done = 0; done < frames; done += mBlockSize) {
      const int32_t piece = std::min(mBlockSize, frames - done);
      for (int32_t k = 0; k < mChannels; ++k) {
        float* in = k < inputs ? buffer(k) : nullptr;
        float* out = k < outputs ? buffer(hostInputs + k) : nullptr;
        if (!in) std::fill(mSilence.get(), mSilence.get() + piece, 0.0f);
        mInputPointers[k] = in ? in + done : mSilence.get();
        mOutputPointers[k] = out ? out + done : mDiscard.get();
      }
      RenderAudio(mInputPointers.get(), mOutputPointers.get(), piece);
    }
    SetRendered(true);
  } catch (...) {
    float* failure = c ? reinterpret_cast<float*>(c[hostwords::kRenderRecordFailureBuffer]) : nullptr;
    for (int32_t k = 0; k < mChannels; ++k) mOutputPointers[k] = failure;
  }
}
