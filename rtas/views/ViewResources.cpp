#include "rtas/views/ViewResources.h"

#include "platform/carboncore/MacMemory.h"
#include "platform/carboncore/Resources.h"
#include "rtas/views/CViewGroupServices.h"

namespace {

constexpr ResType kPixPatType = 0x70706174;  // 'ppat'

}  // namespace

PixPatHandle LoadBundlePixPat(int16_t id) {
  Handle resource = Get1Resource(kPixPatType, id);
  if (!resource) return nullptr;
  PixPatHandle pattern = GetPixPat(id);
  ReleaseResource(resource);
  return pattern;
}

bool ReadIndexedString(int16_t listId, int16_t index, std::string* text) {
  CBundleResourceScope bundle;
  Str255 s;
  GetIndString(s, listId, index);
  if (text) text->assign(reinterpret_cast<const char*>(s + 1), s[0]);
  return s[0] > 0;
}

bool ReadResourceBytes(OSType type, int16_t id, std::vector<uint8_t>* bytes) {
  CBundleResourceScope bundle;
  Handle resource = Get1Resource(type, id);
  if (!resource) return false;
  const Size size = GetHandleSize(resource);
  if (bytes) bytes->assign(reinterpret_cast<const uint8_t*>(*resource), reinterpret_cast<const uint8_t*>(*resource) + size);
  ReleaseResource(resource);
  return true;
}

Handle ReadDetachedResource(OSType type, int16_t id) {
  CBundleResourceScope bundle;
  Handle resource = Get1Resource(type, id);
  if (resource) DetachResource(resource);
  return resource;
}

void DisposeResourceHandle(Handle handle) {
  if (handle) DisposeHandle(handle);
}
