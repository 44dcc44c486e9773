#include "rtas/library/SConversantInfo.h"

#include <algorithm>
#include <vector>

#include "rtas/library/DAEFunctions.h"
#include "rtas/library/ResultCodes.h"

namespace {

using PortCall = int32_t (*)(SConversantInfo* info, int32_t index);

HostWord WordOf(SConversantInfo* info) { return reinterpret_cast<HostWord>(info); }

int32_t ReactivateTalker(SConversantInfo* info, int32_t index) {
  return FicReactivateTalker(WordOf(info), static_cast<int16_t>(index));
}
int32_t DeactivateTalker(SConversantInfo* info, int32_t index) {
  return FicDeactivateTalker(WordOf(info), static_cast<int16_t>(index));
}
int32_t ReactivateListener(SConversantInfo* info, int32_t index) {
  return FicReactivateListener(WordOf(info), static_cast<int16_t>(index));
}
int32_t DeactivateListener(SConversantInfo* info, int32_t index) {
  return FicDeactivateListener(WordOf(info), static_cast<int16_t>(index));
}
int32_t Gestalt(OSType selector, intptr_t* answer) { return FicGestalt(selector, answer); }
int32_t PrepareForConnections(int16_t begin) { return FicPrepareForConnections(0, begin); }
int32_t PrepareForConnectionsStatus() { return FicPrepareForConnectionsStatus(0); }
int32_t CreatePlugInSpec(const SConversantInfo* info, SFicPlugInSpec* spec) {
  return FicCreatePlugInSpec(info->mManufacturerID, info->mProductID, info->mTypeID, spec);
}

// The ports of a range, and the side chain after them when asked.
std::vector<int32_t> Ports(int32_t first, int32_t count, const SConversantInfo& info, bool withSideChain) {
  std::vector<int32_t> ports;
  for (int32_t i = 0; i < count; ++i) ports.push_back(first + i);
  if (withSideChain && info.mHasSideChain == 1) ports.push_back(info.mSideChainIndex);
  return ports;
}

// `markable` leading ports are passed over when the record marks them.
int32_t Walk(SConversantInfo* info, const std::vector<int32_t>& ports, PortCall call, PortCall undo,
             size_t markable = 0) {
  std::vector<int32_t> done;
  for (size_t i = 0; i < ports.size(); ++i) {
    const int32_t port = ports[i];
    if (i < markable && info->IsFeatureSupported(port)) continue;
    const int32_t result = call(info, port);
    if (result == 0 || result == DAEResult::kPortGroupEnd) {
      done.push_back(port);
      continue;
    }
    for (int32_t back : done) undo(info, back);
    return result;
  }
  return 0;
}

}  // namespace

const SFicConnectionsAPI kPIFicConnectionsAPI = {ReactivateTalker,      DeactivateTalker,      ReactivateListener,
                                                 DeactivateListener,    Gestalt,               PrepareForConnections,
                                                 PrepareForConnectionsStatus, CreatePlugInSpec};

int32_t DeactivateTalkers(SConversantInfo* info) {
  return Walk(info, Ports(info->mFirstOutput, info->mOutputCount, *info, false), info->mAPI->mDeactivateTalker,
              info->mAPI->mReactivateTalker);
}

int32_t ReactivateTalkers(SConversantInfo* info) {
  return Walk(info, Ports(info->mFirstOutput, info->mOutputCount, *info, false), info->mAPI->mReactivateTalker,
              info->mAPI->mDeactivateTalker);
}

int32_t DeactivateListeners(SConversantInfo* info) {
  return Walk(info, Ports(info->mFirstInput, info->mInputCount, *info, true), info->mAPI->mDeactivateListener,
              info->mAPI->mReactivateListener);
}

int32_t ReactivateListeners(SConversantInfo* info) {
  return Walk(info, Ports(info->mFirstInput, info->mInputCount, *info, true), info->mAPI->mReactivateListener,
              info->mAPI->mDeactivateListener, static_cast<size_t>(std::max(info->mInputCount, 0)));
}
