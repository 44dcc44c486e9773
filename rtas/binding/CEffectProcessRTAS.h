#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "rtas/binding/CEffectProcess.h"
#include "rtas/library/PortGroups.h"
#include "rtas/library/PortSlots.h"

class CAdaptorPlugIn;

// The host-based real-time layer of an effect process: the per-channel
// arrays of buffer pointers and port connections, the render callback
// registered through an adaptor plug-in, the bypass byte that follows the
// master bypass control, and the host's block size. The plug-in's process
// derives from it and renders in RenderAudio.
//
// The channel count n (the arrays' size) is the larger of the type's
// inputs plus a side-chain input and its outputs, fixed at InitProcess.
// The callback runs on the host's audio thread: it allocates nothing,
// clamps the host's channel counts to n, gives null cells or buffers
// silence (inputs) or a scratch buffer (outputs), and splits a block
// longer than the block size into pieces.
class CEffectProcessRTAS : public CEffectProcess {
 public:
  CEffectProcessRTAS();
  ~CEffectProcessRTAS() override;

  // CEffectProcess's initialisation, then the arrays, then ready.
  void InitProcess() override;
  // Before initialisation only.
  virtual void SetIOChannelCount(int32_t n);

  int32_t IsInputPortConnected(int32_t port, uint8_t* connected) override;
  int32_t IsOutputPortFree(int32_t port, uint8_t* isFree) override;
  int32_t IsOutputPortConnected(int32_t port, uint8_t* connected) override;
  int32_t ConnectInputPortSlot(int32_t port, int32_t connection) override;
  int32_t DisconnectInputPortSlot(int32_t port) override;
  int32_t ConnectOutputPortSlot(int32_t port, int32_t connection) override;
  int32_t DisconnectOutputPortSlot(int32_t port) override;
  // The bypass byte follows the master bypass control (value >= 0, where
  // the control reads on).
  int32_t UpdateControlValue(int32_t n, int32_t value) override;

  virtual int32_t GetPortName(int32_t selector, uint8_t* text);
  virtual int32_t GetPortFormat(int16_t a, int16_t b, SPortFormat* format) { return GetDefaultPortFormat(a, b, format); }
  virtual int32_t VerifyPortFormat(int16_t a, int16_t b, const SPortFormat* format) {
    return CheckPortFormat(a, b, format);
  }
  virtual void PortNameHook(char*) {}

  // The adaptor plug-in for the instance, published. A plain code thrown
  // while it is made or published is the result.
  virtual int32_t RegisterRenderCallback(SInstanceIdentification identification);
  // One block of at most the block size, the pointers given for every one
  // of the n channels.
  virtual void RenderAudio(float** inputs, float** outputs, int32_t frames) = 0;

  // The routine the adaptor's worker carries: call block r, render record c.
  static int32_t RenderCallback(HostWord* r, HostWord* c);
  // 'vqta' answered, then the host's maximum, at most 65536; 32 otherwise.
  static int32_t QueryMaxRTASQuantum();

  // Port groups the process owns: ids in them take the direct path.
  void AddPortGroup(const SPortGroup* group) { mPortGroups.push_back(group); }

  bool IsBypassedByControl() const { return mBypass.load(std::memory_order_relaxed) != 0; }
  bool IsReady() const { return mReady != 0; }
  int32_t GetIOChannelCount() const { return mChannels; }
  // The largest block RenderAudio is given (QueryMaxRTASQuantum at
  // initialisation).
  int32_t GetBlockSize() const { return mBlockSize; }
  CAdaptorPlugIn* GetAdaptor() const { return mAdaptor; }
  const HostWord* GetCurrentPortRecord() const { return mPortRecord; }
  const HostWord* GetCurrentRenderRecord() const { return mRenderRecord; }
  float** GetInputPointers() const { return mInputPointers.get(); }
  float** GetOutputPointers() const { return mOutputPointers.get(); }
  const int32_t* GetInputSlots() const { return mInputSlots.get(); }
  const int32_t* GetOutputSlots() const { return mOutputSlots.get(); }

 protected:
  void AllocateIOArrays();

 private:
  bool IsOwnPort(int32_t port) const { return ContainsPortID(mPortGroups, port); }
  bool InChannelRange(int32_t port) const { return port >= 1 && port <= mChannels; }
  void RenderBlock(HostWord* r, HostWord* c);

  // Written by host calls, read by the audio thread's blocks.
  std::atomic<uint8_t> mBypass{0};
  HostWord* mPortRecord = nullptr;
  HostWord* mRenderRecord = nullptr;
  uint8_t mReady = 0;
  int32_t mChannels = 0;
  std::unique_ptr<float*[]> mInputPointers;
  std::unique_ptr<float*[]> mOutputPointers;
  std::unique_ptr<int32_t[]> mInputSlots;
  std::unique_ptr<int32_t[]> mOutputSlots;
  CAdaptorPlugIn* mAdaptor = nullptr;
  PortGroupList mPortGroups;
  int32_t mBlockSize = 32;
  // Silence for missing inputs and a sink for missing outputs, one block.
  std::unique_ptr<float[]> mSilence;
  std::unique_ptr<float[]> mDiscard;
};
