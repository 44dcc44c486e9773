#include "rtas/library/HostRequests.h"

#include "rtas/library/CProcessGroupInterface.h"
#include "rtas/library/DsiShims.h"
#include "rtas/library/ErrorThrowers.h"

namespace {

template <size_t N>
int16_t Request(int16_t selector, const HostWord (&block)[N]) {
  return static_cast<int16_t>(CProcessGroupInterface::CallHost(selector, block, sizeof(block)));
}

}  // namespace

int16_t RequestHost13(HostWord a, HostWord b, HostWord c) { return Request(13, {a, b, c}); }

int16_t RequestHost15(HostWord a, HostWord b) { return Request(15, {a, b}); }

int16_t RequestHost19(HostWord a, HostWord b, HostWord c) { return Request(19, {a, b, c, 0}); }

int16_t RequestHost20(HostWord a, HostWord b) { return Request(20, {a, b, 0, 0}); }

int32_t RequestDriverAnswer(DsiDSP dsp) {
  int32_t driverType = 0;
  ThrowIfError(DSPToDriverType(dsp, &driverType));
  int32_t answer = 0;
  ThrowIfError(RequestHost15(static_cast<HostWord>(static_cast<uint32_t>(driverType)), reinterpret_cast<HostWord>(&answer)));
  return answer;
}
