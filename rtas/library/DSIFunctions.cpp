#include "rtas/library/DSIFunctions.h"

namespace {

using OnEmptyHostPort = frameworkfunction::Function<frameworkfunction::DSI, 223, DsiDoHostCommandOnEmptyHostPortProc,
                                                    frameworkfunction::Result::Status16, BRIMLOW_NOT_LOADED,
                                                    BRIMLOW_MISSING>;
using WithDataList = frameworkfunction::Function<frameworkfunction::DSI, 224, DsiDoHostCommandWithDataListProc,
                                                 frameworkfunction::Result::Status16, BRIMLOW_NOT_LOADED,
                                                 BRIMLOW_MISSING>;

constexpr int16_t kHostPortEmptyBit = 2;

int16_t SendWords(DsiDSP dsp, int32_t count, const int32_t* words) {
  for (int32_t i = 0; i < count; ++i) {
    if (const int16_t status = DsiSendLo24of32(dsp, words[i], kDsiStepTimeout)) return status;
  }
  return noErr;
}

}  // namespace

int16_t DsiDoHostCommandOnEmptyHostPort(DsiDSP dsp, int32_t command, int32_t timeout) {
  if (OnEmptyHostPort::Exists()) return OnEmptyHostPort{}(dsp, command, timeout);
  if (const int16_t status = DsiWaitHostBit(dsp, kHostPortEmptyBit, 1, timeout)) return status;
  return DsiDoHostCommand(dsp, static_cast<int16_t>(command & 0xffff), timeout);
}

int16_t DsiDoHostCommandWithDataList(DsiDSP dsp, int32_t command, uint8_t sendFirst, int32_t receiveCount,
                                     int32_t* receive, int32_t sendCount, const int32_t* send) {
  if (WithDataList::Exists()) return WithDataList{}(dsp, command, sendFirst, receiveCount, receive, sendCount, send);
  if (sendCount < 0) sendCount = 0;
  if (receiveCount < 0) receiveCount = 0;
  if ((sendCount > 0 && !send) || (receiveCount > 0 && !receive)) return paramErr;
  if (sendFirst) {
    if (const int16_t status = SendWords(dsp, sendCount, send)) return status;
  }
  if (const int16_t status = DsiDoHostCommandOnEmptyHostPort(dsp, command, kDsiStepTimeout)) return status;
  if (!sendFirst) {
    if (const int16_t status = SendWords(dsp, sendCount, send)) return status;
  }
  for (int32_t i = 0; i < receiveCount; ++i) {
    if (const int16_t status = DsiGetLo24ofS32(dsp, &receive[i], kDsiStepTimeout)) return status;
  }
  return noErr;
}
