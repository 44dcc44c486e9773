// Reading a page table from the bundle's resources.
#include <cstring>

#include "platform/carboncore/MacMemory.h"
#include "platform/carboncore/Resources.h"
#include "rtas/library/CProcessGroup.h"
#include "rtas/library/CProcessType.h"
#include "rtas/library/PString.h"

namespace {

// The name the resource carries, byte for byte with its length.
bool HasName(Handle resource, const uint8_t* wanted) {
  unsigned char name[256] = {0};
  GetResInfo(resource, nullptr, nullptr, name);
  return EqualPStrings(name, wanted);
}

// The resource of the type whose name is exactly `name` in the current
// file. The lookup by name may fold case, so its answer is checked and,
// when it is not exact, the file's resources are searched by index from
// the last; one that cannot be read is passed over.
Handle FindExactlyNamed(uint32_t tag, const uint8_t* name) {
  Handle found = Get1NamedResource(tag, name);
  if (!found) return nullptr;
  if (HasName(found, name)) return found;
  ReleaseResource(found);
  for (short index = Count1Resources(tag); index >= 1; --index) {
    Handle candidate = Get1IndResource(tag, index);
    if (!candidate) continue;
    if (HasName(candidate, name)) return candidate;
    ReleaseResource(candidate);
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<CProcessType::PageTable> CProcessType::LoadPageTable(uint32_t tag) {
  uint8_t name[256] = {0};
  GetTypeIDPString(name);
  const int16_t previous = CProcessGroupUseResourceFile();
  Handle resource = FindExactlyNamed(tag, name);
  if (!resource) {
    CProcessGroupRestoreResourceFile(previous);
    return nullptr;
  }
  DetachResource(resource);
  CProcessGroupRestoreResourceFile(previous);
  HLock(resource);
  const size_t size = static_cast<size_t>(GetHandleSize(resource));
  // A 16-bit zero after the data ends the table even when the resource
  // forgot its own terminator.
  auto table = std::make_unique<PageTable>(size + 2, 0);
  if (size > 0) std::memcpy(table->data(), *resource, size);
  HUnlock(resource);
  DisposeHandle(resource);
  return table;
}
