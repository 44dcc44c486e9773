#include "platform/corefoundation/CFBase.h"

#include "platform/corefoundation/CFObject.h"

namespace platform {

void CFObject::Release() {
  if (DropReference()) delete this;
}

}  // namespace platform

namespace {

platform::CFObject* ObjectOf(CFTypeRef ref) {
  return const_cast<platform::CFObject*>(static_cast<const platform::CFObject*>(ref));
}

}  // namespace

extern "C" {

CFTypeRef CFRetain(CFTypeRef object) {
  // The Mac crashes on null; here it is only refused.
  if (object) ObjectOf(object)->Retain();
  return object;
}

void CFRelease(CFTypeRef object) {
  if (object) ObjectOf(object)->Release();
}

CFIndex CFGetRetainCount(CFTypeRef object) { return object ? ObjectOf(object)->RetainCount() : 0; }

CFTypeID CFGetTypeID(CFTypeRef object) { return object ? ObjectOf(object)->TypeID() : 0; }

}  // extern "C"
