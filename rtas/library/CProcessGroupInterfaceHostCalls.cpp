#include <cstring>

#include "platform/carboncore/MacMemory.h"
#include "rtas/library/CProcessGroupInterface.h"
#include "rtas/library/DAEFunctions.h"
#include "rtas/library/HostCallback.h"
#include "rtas/library/ResultCodes.h"

// The host callbacks: each request is a parameter block of host words
// (pointer-sized: they may carry the host's DSP and chip references) in a
// locked memory handle, given to the host's callback procedure.

namespace {

// Whether the engine wants the newer form of the DSP request.
bool EngineHasHardware() {
  intptr_t answer = 0;
  return FicGestalt(ficgestalt::kHardware, &answer) == 0 && answer != 0;
}

}  // namespace

int32_t CProcessGroupInterface::StoreHostCallback(HostCallbackProc procedure) {
  SetHostCallbackProcedure(procedure);
  return 0;
}

HostCallbackProc CProcessGroupInterface::GetHostCallback() { return GetHostCallbackProcedure(); }

int32_t CProcessGroupInterface::CallHost(int16_t callbackSelector, const void* block, size_t blockBytes) {
  const HostCallbackProc host = GetHostCallbackProcedure();
  if (!host) return DAEResult::kNoHostCallback;
  Handle handle = NewHandle(static_cast<Size>(blockBytes));
  if (!handle) return DAEResult::kNoHandle;
  HLock(handle);
  std::memcpy(*handle, block, blockBytes);
  const int16_t status = host(callbackSelector, nullptr, handle);
  HUnlock(handle);
  DisposeHandle(handle);
  return status;
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
