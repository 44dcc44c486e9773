#include "rtas/library/CDSPMgrLibAccess.h"

#include <iterator>

#include "rtas/library/HostFrameworkLoaders.h"

namespace {

const UDigiLibAccess::SFunctionName kNames[] = {{0, "GetDSPManager"}};

}  // namespace

CDSPMgrLibAccess::CDSPMgrLibAccess() : UDigiLibAccess(kFunctionCount, DSPManagerFrameworkIdentifier()) {}

int32_t CDSPMgrLibAccess::GetFunctionName(int32_t index, Str255 name) const {
  return FindFunctionName(kNames, std::size(kNames), index, name);
}
