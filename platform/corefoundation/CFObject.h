#pragma once

#include <atomic>

#include "platform/corefoundation/CFBase.h"

// The object behind every Core Foundation reference of the stand-in.
// Private to platform/corefoundation.
namespace platform {

enum CFStandInTypeID : CFTypeID { kCFStringTypeID = 7, kCFURLTypeID = 29, kCFBundleTypeID = 31 };

class CFObject {
 public:
  explicit CFObject(CFTypeID typeID) : mTypeID(typeID) {}
  virtual ~CFObject() = default;
  CFObject(const CFObject&) = delete;
  CFObject& operator=(const CFObject&) = delete;

  void Retain() { mRetainCount.fetch_add(1, std::memory_order_relaxed); }
  // Deletes the object when the count reaches 0. A kind that others can
  // find by lookup (bundles) overrides it to drop out of the lookup first.
  virtual void Release();
  CFIndex RetainCount() const { return mRetainCount.load(std::memory_order_relaxed); }
  CFTypeID TypeID() const { return mTypeID; }

 protected:
  // True when this was the last reference.
  bool DropReference() { return mRetainCount.fetch_sub(1, std::memory_order_acq_rel) == 1; }

 private:
  std::atomic<CFIndex> mRetainCount{1};
  CFTypeID mTypeID;
};

// The object behind a reference when it is of the given kind, else null.
template <class T>
T* CFObjectOf(CFTypeRef ref, CFTypeID typeID) {
  CFObject* object = const_cast<CFObject*>(static_cast<const CFObject*>(ref));
  return object && object->TypeID() == typeID ? static_cast<T*>(object) : nullptr;
}

}  // namespace platform
