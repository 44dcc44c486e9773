#include <cstring>
#include <memory>
#include <new>

#include "rtas/library/CProcessGroupInterface.h"
#include "rtas/library/ResultCodes.h"

// The host callbacks: each request is a parameter block of host words
// (pointer-sized: they may carry the host's DSP and chip references) in a
// locked memory handle, given to the host's callback procedure.

namespace {

HostCallbackProc gHostCallback = nullptr;

// Whether the engine wants the hardware form of the DSP request.
bool EngineHasHardware() { return false; }

}  // namespace

int32_t CProcessGroupInterface::StoreHostCallback(HostCallbackProc procedure) {
  gHostCallback = procedure;
  return 0;
}

HostCallbackProc CProcessGroupInterface::GetHostCallback() { return gHostCallback; }

int32_t CProcessGroupInterface::CallHost(int16_t callbackSelector, const void* block, size_t blockBytes) {
  if (!gHostCallback) return DAEResult::kNoHostCallback;
  std::unique_ptr<char[]> data(new (std::nothrow) char[blockBytes]);
  if (!data) return DAEResult::kNoHandle;
  std::memcpy(data.get(), block, blockBytes);
  char* master = data.get();
  return gHostCallback(callbackSelector, nullptr, &master);
}

int32_t CProcessGroupInterface::HostCallback10or17(HostWord* a1, HostWord* a2, int16_t b1, int16_t b2, int16_t b3,
                                                   int16_t b4) {
  if (a1) *a1 = 0;
  if (a2) *a2 = 0;
  struct Block {
    HostWord mA1, mA2, mContext;
    int16_t mB4, mB3, mB2, mB1;
  } block;
  block.mA1 = reinterpret_cast<HostWord>(a1);
  block.mA2 = reinterpret_cast<HostWord>(a2);
  block.mContext = reinterpret_cast<HostWord>(mHostContext);
  if (!EngineHasHardware()) {
    // The older request carries only the words; the four values' room
    // stays zero rather than whatever the block held.
    std::memset(&block.mB4, 0, 4 * sizeof(int16_t));
    return CallHost(10, &block, sizeof(block));
  }
  block.mB4 = b4;
  block.mB3 = b3;
  block.mB2 = b2;
  block.mB1 = b1;
  return CallHost(17, &block, sizeof(block));
}

int32_t CProcessGroupInterface::HostCallback11(HostWord a, HostWord b) {
  const HostWord block[] = {a, b, reinterpret_cast<HostWord>(mHostContext)};
  return CallHost(11, block, sizeof(block));
}

int32_t CProcessGroupInterface::HostCallback12(HostWord a, HostWord b, HostWord c, HostWord d) {
  const HostWord block[] = {a, b, c, d};
  return CallHost(12, block, sizeof(block));
}

int32_t CProcessGroupInterface::HostCallback14(HostWord a, HostWord b) {
  const HostWord block[] = {a, b, 0, 0};
  return CallHost(14, block, sizeof(block));
}

int32_t CProcessGroupInterface::HostCallback19(HostWord a, HostWord b, HostWord c) {
  const HostWord block[] = {a, b, c, 0};
  return CallHost(19, block, sizeof(block));
}

int32_t CProcessGroupInterface::HostCallback20(HostWord a, HostWord b) {
  const HostWord block[] = {a, b, 0, 0};
  return CallHost(20, block, sizeof(block));
}

int32_t CProcessGroupInterface::HostCallback15(HostWord a, HostWord b) {
  const HostWord block[] = {a, b};
  return CallHost(15, block, sizeof(block));
}
