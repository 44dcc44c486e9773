#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A run of consecutive port ids: first to first + count - 1.
struct SPortGroup {
  int32_t mFirstPortID = 0;
  int32_t mPortCount = 0;
};

using PortGroupList = std::vector<const SPortGroup*>;

// The first group holding the id gives its index and the id's offset in
// it, result true; otherwise false. Both outputs are -1 unless found.
bool FindPortID(const PortGroupList& list, int32_t id, int32_t* group, int32_t* offset);
bool ContainsPortID(const PortGroupList& list, int32_t id);
