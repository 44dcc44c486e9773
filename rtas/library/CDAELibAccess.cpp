#include "rtas/library/CDAELibAccess.h"

#include <iterator>

#include "rtas/library/FrameworkFunctionList.h"
#include "rtas/library/HostFrameworkLoaders.h"

namespace {

// Only the entries the library calls (and the first few) are named; the
// host's other names would be resolved and never used.
#define BRIMLOW_NAME_ROW(name, index, ...) {index, #name},
const UDigiLibAccess::SFunctionName kNames[] = {
    BRIMLOW_DAE_FUNCTIONS(BRIMLOW_NAME_ROW) BRIMLOW_DAE_IRREGULAR_NAMES(BRIMLOW_NAME_ROW)
        BRIMLOW_DAE_UNCALLED_NAMES(BRIMLOW_NAME_ROW)};
#undef BRIMLOW_NAME_ROW

}  // namespace

CDAELibAccess::CDAELibAccess() : UDigiLibAccess(kFunctionCount, DAEFrameworkIdentifier()) {}

int32_t CDAELibAccess::GetFunctionName(int32_t index, Str255 name) const {
  return FindFunctionName(kNames, std::size(kNames), index, name);
}
