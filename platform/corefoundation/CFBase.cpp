#include "platform/corefoundation/CFBase.h"

#include <cstdio>
#include <cstdlib>

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

[[noreturn]] void NullReference(const char* call) {
  std::fprintf(stderr, "%s called with NULL\n", call);
  std::abort();
}

}  // namespace

extern "C" {

// Retaining or releasing null is a fatal error on the Mac: it ends the
// program here too, so code that would crash there fails its tests here.
CFTypeRef CFRetain(CFTypeRef object) {
  if (!object) NullReference("CFRetain");
  ObjectOf(object)->Retain();
  return object;
}

void CFRelease(CFTypeRef object) {
  if (!object) NullReference("CFRelease");
  ObjectOf(object)->Release();
}

CFIndex CFGetRetainCount(CFTypeRef object) { return object ? ObjectOf(object)->RetainCount() : 0; }

CFTypeID CFGetTypeID(CFTypeRef object) { return object ? ObjectOf(object)->TypeID() : 0; }

}  // extern "C"
