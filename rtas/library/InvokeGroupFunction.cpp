#include "rtas/library/InvokeGroupFunction.h"

#include <new>

#include "rtas/library/CDAEError.h"
#include "rtas/library/CPlainCodeError.h"
#include "rtas/library/ResultCodes.h"

int32_t InvokeGroupFunction(SGenFuncRetLong& functor) {
  try {
    return functor();
  } catch (const std::bad_alloc&) {
    return DAEResult::kOutOfMemory;
  } catch (const CDAEError& error) {
    return error.Code();
  } catch (...) {
    return DAEResult::kUnexpected;
  }
}
