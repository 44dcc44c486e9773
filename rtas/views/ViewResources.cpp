#include "rtas/views/ViewResources.h"

// Placeholder until the Resource Manager stand-in is in the tree: the bundle
// has no resources.

PixPatHandle LoadBundlePixPat(int16_t id) {
  (void)id;
  return nullptr;
}

bool ReadIndexedString(int16_t listId, int16_t index, std::string* text) {
  (void)listId;
  (void)index;
  (void)text;
  return false;
}

bool ReadResourceBytes(OSType type, int16_t id, std::vector<uint8_t>* bytes) {
  (void)type;
  (void)id;
  (void)bytes;
  return false;
}

Handle ReadDetachedResource(OSType type, int16_t id) {
  (void)type;
  (void)id;
  return nullptr;
}

void DisposeResourceHandle(Handle handle) { (void)handle; }
