#include "rtas/library/CDSILibAccess.h"

#include <iterator>

#include "rtas/library/FrameworkFunctionList.h"
#include "rtas/library/HostFrameworkLoaders.h"

namespace {

#define BRIMLOW_NAME_ROW(name, index, ...) {index, #name},
const UDigiLibAccess::SFunctionName kNames[] = {
    BRIMLOW_DSI_UNCALLED_NAMES(BRIMLOW_NAME_ROW) BRIMLOW_DSI_FUNCTIONS(BRIMLOW_NAME_ROW)
        BRIMLOW_DSI_IRREGULAR_NAMES(BRIMLOW_NAME_ROW)};
#undef BRIMLOW_NAME_ROW

}  // namespace

CDSILibAccess::CDSILibAccess() : UDigiLibAccess(kFunctionCount, DSIFrameworkIdentifier()) {}

int32_t CDSILibAccess::GetFunctionName(int32_t index, Str255 name) const {
  return FindFunctionName(kNames, std::size(kNames), index, name);
}
