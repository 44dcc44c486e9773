#include "rtas/library/PortGroups.h"

namespace {

bool Holds(const SPortGroup* group, int32_t id) {
  // 64-bit sum: first + count may pass the 32-bit top.
  return group && id >= group->mFirstPortID &&
         static_cast<int64_t>(id) < static_cast<int64_t>(group->mFirstPortID) + group->mPortCount;
}

}  // namespace

bool FindPortID(const PortGroupList& list, int32_t id, int32_t* group, int32_t* offset) {
  if (group) *group = -1;
  if (offset) *offset = -1;
  for (size_t i = 0; i < list.size(); ++i) {
    if (!Holds(list[i], id)) continue;
    if (group) *group = static_cast<int32_t>(i);
    if (offset) *offset = id - list[i]->mFirstPortID;
    return true;
  }
  return false;
}

bool ContainsPortID(const PortGroupList& list, int32_t id) { return FindPortID(list, id, nullptr, nullptr); }
