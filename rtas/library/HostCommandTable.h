#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/protools/DSI.h"
#include "platform/protools/HostWords.h"

// The DSP host's requests to a chip's shell: for each request number from
// 256 to 273 the library has a callback, which finds the chip's object
// through the DSP's client value and runs one of its shell operations.
// A bundle may hand out callbacks of its own through an exported
// "Dispatcher", which is given the library's first.
//
// Columns: request number, the CDSP operation (its slot), whether the
// library's global lock is held around it, what the callback adds
// (PLAIN nothing; INIT_HOOK the bundle may veto the call first;
// PAUSE_HOOK the bundle hears of a call that went through; CATCHING an
// exception becomes -1), and the callback's arguments, the DSP first.
#define BRIMLOW_HOST_COMMAND_CALLBACKS(X)                                                 \
  X(256, SGetXWord, 26, true, PLAIN, 3, (DsiDSP, int32_t, int32_t*))                     \
  X(257, SGetYWord, 27, true, PLAIN, 3, (DsiDSP, int32_t, int32_t*))                     \
  X(258, SGetPWord, 28, true, PLAIN, 3, (DsiDSP, int32_t, int32_t*))                     \
  X(259, SChangeXBits, 29, true, PLAIN, 4, (DsiDSP, int32_t, int32_t, int32_t))          \
  X(260, SChangeYBits, 30, true, PLAIN, 4, (DsiDSP, int32_t, int32_t, int32_t))          \
  X(261, SChangePBits, 31, true, PLAIN, 4, (DsiDSP, int32_t, int32_t, int32_t))          \
  X(262, SExecute, 32, false, PLAIN, 2, (DsiDSP, int16_t))                               \
  X(263, SSetLeftRightBit, 33, false, PLAIN, 2, (DsiDSP, int32_t))                       \
  X(264, SGetControlLatch, 34, false, PLAIN, 2, (DsiDSP, int32_t))                       \
  X(265, SSetControlLatch, 35, false, PLAIN, 2, (DsiDSP, int32_t))                       \
  X(266, SInitShell, 36, false, INIT_HOOK, 1, (DsiDSP))                                  \
  X(267, SStartShell, 37, false, PLAIN, 1, (DsiDSP))                                     \
  X(268, SPauseShell, 38, false, PAUSE_HOOK, 1, (DsiDSP))                                \
  X(269, SResumeShell, 39, false, PLAIN, 1, (DsiDSP))                                    \
  X(270, SSetInputDelay, 40, false, PLAIN, 2, (DsiDSP, int32_t))                         \
  X(271, SSetOutputDelay, 41, false, PLAIN, 2, (DsiDSP, int32_t))                        \
  X(272, SUpdateDSPPeripheral, 42, false, PLAIN, 1, (DsiDSP))                            \
  X(273, SGetDSPCodeInfo, 43, false, CATCHING, 3, (DsiDSP, int16_t, int32_t*))

constexpr int32_t kFirstHostCommandRequest = 256;
constexpr int32_t kLastHostCommandRequest = 273;

// The block handed to a "Dispatcher" (the host's 2-byte packing). Kind 0
// asks for a request's callback; kinds 1 and 2 run before a shell's
// initialisation and after its pause. Addresses are pointer-sized here,
// so the kind-1 and kind-2 reserved word sits at 16 rather than 12.
#pragma pack(push, 2)
struct SDispatcherBlock {
  enum EKind : int32_t { kLookup = 0, kBeforeShellInit = 1, kAfterShellPause = 2 };
  struct SLookup {
    int16_t mRequest;
    HostWord mCallback;
  };
  struct SHook {
    HostWord mDSP;
    HostWord mReserved;
  };
  int32_t mVersion;  // always 1
  int32_t mKind;
  union {
    SLookup mLookup;
    SHook mHook;
  } mData;
};
#pragma pack(pop)
static_assert(offsetof(SDispatcherBlock, mData) == 8, "the request and the DSP sit at offset 8");

typedef HostWord (*DispatcherProc)(SDispatcherBlock* block);

// One row of the callback table, as data.
struct SHostCommandCallback {
  int32_t mRequest;
  const char* mName;
  int32_t mSlot;
  bool mTakesGlobalLock;
  HostWord mCallback;
};
extern const SHostCommandCallback kHostCommandCallbacks[];
extern const size_t kHostCommandCallbackCount;

extern "C" {
// Installed in every shell the library makes: the callback for a request,
// 0 outside 256 to 273.
HostWord HostCommandLookup(int32_t request);
}
