#include "platform/hitoolbox/Scrap.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

struct OpaqueScrapRef {
  std::map<ScrapFlavorType, std::string> flavors;
};

namespace {

OpaqueScrapRef& TheScrap() {
  static OpaqueScrapRef scrap;
  return scrap;
}

}  // namespace

OSStatus GetCurrentScrap(ScrapRef* scrap) {
  if (!scrap) return -50;
  *scrap = &TheScrap();
  return noErr;
}

OSStatus ClearCurrentScrap() {
  TheScrap().flavors.clear();
  return noErr;
}

OSStatus PutScrapFlavor(ScrapRef scrap, ScrapFlavorType type, uint32_t flags, int32_t size, const void* data) {
  (void)flags;
  if (!scrap || size < 0 || (size > 0 && !data)) return -50;
  scrap->flavors[type].assign(static_cast<const char*>(data), static_cast<size_t>(size));
  return noErr;
}

OSStatus GetScrapFlavorSize(ScrapRef scrap, ScrapFlavorType type, int32_t* size) {
  if (!scrap || !size) return -50;
  auto it = scrap->flavors.find(type);
  if (it == scrap->flavors.end()) return noTypeErr;
  *size = static_cast<int32_t>(it->second.size());
  return noErr;
}

OSStatus GetScrapFlavorData(ScrapRef scrap, ScrapFlavorType type, int32_t* size, void* data) {
  if (!scrap || !size || *size < 0) return -50;
  auto it = scrap->flavors.find(type);
  if (it == scrap->flavors.end()) return noTypeErr;
  const int32_t n = std::min<int32_t>(*size, static_cast<int32_t>(it->second.size()));
  if (n > 0 && data) std::memcpy(data, it->second.data(), static_cast<size_t>(n));
  *size = n;
  return noErr;
}
