#include "rtas/library/PortSlots.h"

#include "rtas/library/ResultCodes.h"

namespace {

bool InRange(int32_t port, int32_t length) { return port >= 1 && port <= length; }

int32_t Connect(int32_t port, int32_t connection, int32_t* ports, int32_t length, int32_t inUse) {
  if (!InRange(port, length)) return DAEResult::kPortSlotRange;
  if (ports[port - 1] != 0 && connection != 0) return inUse;
  ports[port - 1] = connection;
  return 0;
}

}  // namespace

int32_t ClearPortArrays(int32_t* a, int32_t* b, int32_t lengthA, int32_t lengthB) {
  for (int32_t i = 0; b && i < lengthB; ++i) b[i] = 0;
  for (int32_t i = 0; a && i < lengthA; ++i) a[i] = 0;
  return 0;
}

int32_t IsPortFree(int32_t port, uint8_t* isFree, const int32_t* ports, int32_t length) {
  if (isFree) *isFree = InRange(port, length) && ports[port - 1] == 0 ? 1 : 0;
  return 0;
}

int32_t IsPortConnected(int32_t port, uint8_t* connected, const int32_t* ports, int32_t length) {
  if (!InRange(port, length)) return DAEResult::kPortSlotRange;
  if (connected) *connected = ports[port - 1] != 0 ? 1 : 0;
  return 0;
}

int32_t DisconnectPort(int32_t port, int32_t* ports, int32_t length) {
  if (!InRange(port, length)) return DAEResult::kPortSlotRange;
  if (ports[port - 1] == 0) return DAEResult::kPortSlotEmpty;
  ports[port - 1] = 0;
  return 0;
}

int32_t ConnectInputPort(int32_t port, int32_t connection, int32_t* ports, int32_t length) {
  return Connect(port, connection, ports, length, DAEResult::kInputSlotInUse);
}

int32_t ConnectOutputPort(int32_t port, int32_t connection, int32_t* ports, int32_t length) {
  return Connect(port, connection, ports, length, DAEResult::kOutputSlotInUse);
}

int32_t GetDefaultPortFormat(int16_t, int16_t, SPortFormat* format) {
  if (format) {
    format->mWord1 = 1;
    format->mWord2 = 2;
    format->mWord3 = 1;
    format->mSampleRate = 44100.0f;
  }
  return 0;
}

int32_t CheckPortFormat(int16_t, int16_t, const SPortFormat* format) {
  if (!format || format->mWord1 != 1 || format->mWord2 != 2 || format->mWord3 != 1 || format->mSampleRate == 0.0f) {
    return DAEResult::kPortFormat;
  }
  return 0;
}
