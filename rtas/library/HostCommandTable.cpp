#include "rtas/library/HostCommandTable.h"

#include "platform/corefoundation/CFBundle.h"
#include "rtas/library/CDSP.h"
#include "rtas/library/CProcessGroup.h"
#include "rtas/library/DsiShims.h"
#include "rtas/library/SlotMacros.h"

namespace {

// The group's global lock around a callback, when the host expects the
// library to take it at all.
class CCallbackLock {
 public:
  explicit CCallbackLock(bool wanted) {
    if (wanted && CProcessGroupInterface::GetHostInterfaceVersion() != 0) {
      mGroup = CProcessGroupInterface::GetGroupReference();
      if (mGroup) mGroup->EnterGroupLock();
    }
  }
  ~CCallbackLock() {
    if (mGroup) mGroup->LeaveGroupLock();
  }
  CCallbackLock(const CCallbackLock&) = delete;
  CCallbackLock& operator=(const CCallbackLock&) = delete;

 private:
  CProcessGroupInterface* mGroup = nullptr;
};

// The bundle's own "Dispatcher", null when it exports none.
DispatcherProc BundleDispatcher() {
  CFBundleRef bundle = CProcessGroup::GetBundleRef();
  if (!bundle) return nullptr;
  return reinterpret_cast<DispatcherProc>(CFBundleGetFunctionPointerForName(bundle, CFSTR("Dispatcher")));
}

// The bundle's answer to a hook for the DSP; 0 without a "Dispatcher".
int16_t RunHook(DsiDSP dsp, SDispatcherBlock::EKind kind) {
  DispatcherProc dispatcher = BundleDispatcher();
  if (!dispatcher) return 0;
  SDispatcherBlock block{};
  block.mVersion = 1;
  block.mKind = kind;
  block.mData.mHook.mDSP = reinterpret_cast<HostWord>(dsp);
  return static_cast<int16_t>(dispatcher(&block));
}

// Finds the chip's object and runs the call on it; the client-value
// query's status when the DSP has no object.
template <class Call>
int16_t WithObject(DsiDSP dsp, bool takesLock, Call call) {
  CCallbackLock lock(takesLock);
  HostWord value = 0;
  const int16_t status = GetDSPClientVal(dsp, &value);
  if (status != 0 || value == 0) return status;
  return call(*reinterpret_cast<CDSP*>(value));
}

#define BRIMLOW_CALL_OBJECT(Method, lock, n) \
  WithObject(a1, lock, [&](CDSP& object) { return object.Method(BRIMLOW_TAIL_ARGS(n)); })
#define BRIMLOW_CALLBACK_PLAIN(Method, lock, n) return BRIMLOW_CALL_OBJECT(Method, lock, n);
#define BRIMLOW_CALLBACK_INIT_HOOK(Method, lock, n)                                        \
  if (const int16_t vetoed = RunHook(a1, SDispatcherBlock::kBeforeShellInit)) return vetoed; \
  return BRIMLOW_CALL_OBJECT(Method, lock, n);
#define BRIMLOW_CALLBACK_PAUSE_HOOK(Method, lock, n)           \
  const int16_t status = BRIMLOW_CALL_OBJECT(Method, lock, n); \
  if (status != 0) return status;                              \
  return RunHook(a1, SDispatcherBlock::kAfterShellPause);
#define BRIMLOW_CALLBACK_CATCHING(Method, lock, n) \
  try {                                            \
    return BRIMLOW_CALL_OBJECT(Method, lock, n);   \
  } catch (...) {                                  \
    return -1;                                     \
  }
#define BRIMLOW_DEFINE_CALLBACK(number, Method, slot, lock, form, n, types) \
  int16_t HostCommand##number(BRIMLOW_PARAMS(n, types)) { BRIMLOW_CALLBACK_##form(Method, lock, n) }
BRIMLOW_HOST_COMMAND_CALLBACKS(BRIMLOW_DEFINE_CALLBACK)
#undef BRIMLOW_DEFINE_CALLBACK
#undef BRIMLOW_CALLBACK_PLAIN
#undef BRIMLOW_CALLBACK_INIT_HOOK
#undef BRIMLOW_CALLBACK_PAUSE_HOOK
#undef BRIMLOW_CALLBACK_CATCHING
#undef BRIMLOW_CALL_OBJECT

}  // namespace

const SHostCommandCallback kHostCommandCallbacks[] = {
#define BRIMLOW_CALLBACK_ROW(number, Method, slot, lock, form, n, types) \
  {number, #Method, slot, lock, reinterpret_cast<HostWord>(&HostCommand##number)},
    BRIMLOW_HOST_COMMAND_CALLBACKS(BRIMLOW_CALLBACK_ROW)
#undef BRIMLOW_CALLBACK_ROW
};

const size_t kHostCommandCallbackCount = sizeof(kHostCommandCallbacks) / sizeof(kHostCommandCallbacks[0]);

HostWord HostCommandLookup(int32_t request) {
  if (request < kFirstHostCommandRequest || request > kLastHostCommandRequest) return 0;
  const HostWord own = kHostCommandCallbacks[request - kFirstHostCommandRequest].mCallback;
  DispatcherProc dispatcher = BundleDispatcher();
  if (!dispatcher) return own;
  SDispatcherBlock block{};
  block.mVersion = 1;
  block.mKind = SDispatcherBlock::kLookup;
  block.mData.mLookup.mRequest = static_cast<int16_t>(request);
  block.mData.mLookup.mCallback = own;
  return dispatcher(&block);
}
