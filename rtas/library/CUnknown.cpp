#include "rtas/library/CUnknown.h"

namespace DOA {

std::atomic<int32_t> CUnknown::sLiveObjects{0};

CUnknown::CUnknown() : mControllingUnknown(this) { ++sLiveObjects; }

CUnknown::~CUnknown() { --sLiveObjects; }

int32_t CUnknown::NonDelegatingQueryInterface(const SIID& iid, void** object) {
  if (!object) return kNoInterface;
  if (iid == kIID_IUnknown) return GetInterface(static_cast<INondelegatingUnknown*>(this), object);
  *object = nullptr;
  return kNoInterface;
}

int32_t CUnknown::NonDelegatingAddRef() { return ++mRefCount; }

int32_t CUnknown::NonDelegatingRelease() {
  if (--mRefCount == 0) {
    delete this;
    return 0;
  }
  return mRefCount;
}

int32_t CUnknown::GetInterface(IUnknown* unknown, void** object) {
  *object = unknown;
  unknown->AddRef();
  return kOK;
}

int32_t CUnknown::GetInterface(INondelegatingUnknown* unknown, void** object) {
  *object = unknown;
  unknown->NonDelegatingAddRef();
  return kOK;
}

int32_t CUnknown::GetLiveObjectCount() { return sLiveObjects; }

}  // namespace DOA
