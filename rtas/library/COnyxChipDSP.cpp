#include "rtas/library/COnyxChipDSP.h"

#include <cstring>

#include "rtas/library/DsiShims.h"
#include "rtas/library/ResultCodes.h"

namespace {

constexpr int kControl = 0;
constexpr int kStatus = 4;
constexpr int kCommand = 8;
constexpr int kTransmit = 12;
constexpr int kReceive = 16;

// Status flags the waits look for.
constexpr int32_t kTransmitReady = 1;
constexpr int32_t kReceiveReady = 4;
constexpr uint32_t kTransmitReadyBit = 1u << 1;
constexpr uint32_t kReceiveReadyBit = 1u << 2;

int32_t SignExtend24(uint32_t word) {
  word &= 0xffffff;
  return (word & 0x800000) ? static_cast<int32_t>(word | 0xff000000u) : static_cast<int32_t>(word);
}

// The DSI's host bit for a control-register flag.
int16_t HostBitOfMask(int32_t mask) {
  switch (mask) {
    case 8: return 4;
    case 16: return 5;
    case 32: return 6;
    default: return -1;
  }
}

// The DSI's host bit for a status bit (bits 3 to 5).
int16_t HostBitOfStatus(int bit) { return bit >= 3 && bit <= 5 ? static_cast<int16_t>(bit + 4) : -1; }

}  // namespace

COnyxChipDSP::COnyxChipDSP() { SetMemoryBase(kOnyxMemoryBase); }

uint32_t COnyxChipDSP::ReadRegister(int offset) {
  SyncIO();
  uint32_t value = 0;
  if (uint8_t* base = GetHostPortBase()) std::memcpy(&value, base + offset, sizeof value);
  SyncIO();
  return value;
}

void COnyxChipDSP::WriteRegister(int offset, uint32_t value) {
  SyncIO();
  if (uint8_t* base = GetHostPortBase()) std::memcpy(base + offset, &value, sizeof value);
  SyncIO();
}

void COnyxChipDSP::SetHostPortBase(uint8_t* base) { StoreHostPortBase(base); }

bool COnyxChipDSP::WaitCommandClear() {
  const uint32_t deadline = Ticks() + kWaitTicks;
  while ((ReadRegister(kCommand) & 1u) != 0) {
    if (TickReached(Ticks(), deadline)) return false;
  }
  return true;
}

int16_t COnyxChipDSP::DoHostCommand(int16_t command) {
  const int32_t doubled = (mOnyxHostCommandBase + command) * 2;
  if (UsesDsiAccessors()) {
    return DSPDoHostCommand(GetDSP(), static_cast<int16_t>(doubled & 0xffff), kDsiTimeout);
  }
  // A chip that does not take the command in time is left alone: the
  // command is dropped without a report.
  if (!WaitCommandClear()) return 0;
  WriteRegister(kCommand, static_cast<uint32_t>(doubled + 1));
  WaitCommandClear();
  return 0;
}

int16_t COnyxChipDSP::DoHostCommandOnEmptyHostPort(int16_t command) {
  WaitHostFlag(kTransmitReady);
  return DoHostCommand(command);
}

int16_t COnyxChipDSP::WaitHostFlag(int32_t mask) {
  if (!GetDSP()) return DAEResult::kNoHostInterface;
  if (UsesDsiAccessors()) return DSPWaitHostFlag(GetDSP(), mask);
  const uint32_t bits = static_cast<uint32_t>(mask) & 0xffu;
  const uint32_t deadline = Ticks() + kWaitTicks;
  while ((ReadRegister(kStatus) & bits) == 0) {
    if (TickReached(Ticks(), deadline)) return DAEResult::kDSPTimeout;
  }
  return 0;
}

int16_t COnyxChipDSP::SendLoLong(int32_t value) {
  if (UsesDsiAccessors()) return CGenericDSP::SendLoLong(value);
  if (const int16_t status = WaitHostFlag(kTransmitReady)) return status;
  WriteRegister(kTransmit, static_cast<uint32_t>(value));
  return WaitHostFlag(kTransmitReady);
}

int32_t COnyxChipDSP::GetLoLong() {
  if (!GetDSP()) return -1;
  if (UsesDsiAccessors()) return CGenericDSP::GetLoLong();
  if (WaitHostFlag(kReceiveReady) != 0) return -1;
  return SignExtend24(ReadRegister(kReceive));
}

bool COnyxChipDSP::CanSendWithoutWaiting() { return (ReadRegister(kStatus) & kTransmitReadyBit) != 0; }

bool COnyxChipDSP::CanReceiveWithoutWaiting() { return (ReadRegister(kStatus) & kReceiveReadyBit) != 0; }

bool COnyxChipDSP::SendWithoutWaiting(int32_t value) {
  if (!CanSendWithoutWaiting()) return false;
  WriteRegister(kTransmit, static_cast<uint32_t>(value));
  return true;
}

int32_t COnyxChipDSP::ReceiveWithoutWaiting(bool* received) {
  const bool ready = CanReceiveWithoutWaiting();
  if (received) *received = ready;
  return ready ? SignExtend24(ReadRegister(kReceive)) : 0;
}

int16_t COnyxChipDSP::SendLoLongs(const int32_t* words, int32_t count) {
  if (UsesDsiAccessors()) return CGenericDSP::SendLoLongs(words, count);
  if (!words || count < 1) return 0;
  for (int32_t i = 0; i + 1 < count; ++i) {
    // The port's queue holds a few words; every sixth one, starting with
    // the third, waits for it to drain.
    if ((i + 1) % 6 == 3) {
      SendLoLong(words[i]);
    } else {
      SendWithoutWaiting(words[i]);
    }
  }
  return SendLoLong(words[count - 1]);
}

int16_t COnyxChipDSP::GetLoLongs(int32_t* words, int32_t count) {
  if (UsesDsiAccessors()) return CGenericDSP::GetLoLongs(words, count);
  for (int32_t i = 0; words && i < count; ++i) words[i] = GetLoLong();
  return 0;
}

int16_t COnyxChipDSP::DoHostCommandWithDataBuffer(int16_t command, int32_t receiveCount, int32_t* receive,
                                                  int32_t sendCount, const int32_t* send) {
  if (UsesDsiAccessors()) {
    return CGenericDSP::DoHostCommandWithDataBuffer(command, receiveCount, receive, sendCount, send);
  }
  if (const int16_t status = DoHostCommandOnEmptyHostPort(command)) return status;
  for (int32_t i = 0; send && i < sendCount; ++i) {
    if (const int16_t status = SendLoLong(send[i])) return status;
  }
  for (int32_t i = 0; receive && i < receiveCount; ++i) receive[i] = GetLoLong();
  return 0;
}

int16_t COnyxChipDSP::DoHostCommandWithDataBufferSendFirst(int16_t command, int32_t receiveCount, int32_t* receive,
                                                           int32_t sendCount, const int32_t* send) {
  if (UsesDsiAccessors()) {
    return CGenericDSP::DoHostCommandWithDataBufferSendFirst(command, receiveCount, receive, sendCount, send);
  }
  for (int32_t i = 0; send && i < sendCount; ++i) {
    if (const int16_t status = SendLoLong(send[i])) return status;
  }
  if (const int16_t status = DoHostCommandOnEmptyHostPort(command)) return status;
  for (int32_t i = 0; receive && i < receiveCount; ++i) receive[i] = GetLoLong();
  return 0;
}

int16_t COnyxChipDSP::SetHostFlags(int32_t mask) {
  if (UsesDsiAccessors()) {
    for (int32_t flag : {8, 16, 32}) {
      if (mask & flag) DSPSetHostBit(GetDSP(), HostBitOfMask(flag), 1);
    }
    return 0;
  }
  WriteRegister(kControl, ReadRegister(kControl) | static_cast<uint32_t>(mask));
  return 0;
}

int16_t COnyxChipDSP::ClearHostFlags(int32_t mask) {
  if (UsesDsiAccessors()) {
    for (int32_t flag : {8, 16, 32}) {
      if (mask & flag) DSPSetHostBit(GetDSP(), HostBitOfMask(flag), 0);
    }
    return 0;
  }
  WriteRegister(kControl, ReadRegister(kControl) & ~static_cast<uint32_t>(mask));
  return 0;
}

bool COnyxChipDSP::AreHostFlagsSet(int32_t mask) {
  if (UsesDsiAccessors()) {
    for (int32_t flag : {8, 16, 32}) {
      int16_t value = 0;
      if ((mask & flag) && (DSPGetHostBit(GetDSP(), HostBitOfMask(flag), &value) != 0 || value == 0)) return false;
    }
    return true;
  }
  const uint32_t bits = static_cast<uint32_t>(mask);
  return (ReadRegister(kControl) & bits) == bits;
}

bool COnyxChipDSP::IsStatusBitSet(int bit) {
  if (UsesDsiAccessors()) {
    const int16_t hostBit = HostBitOfStatus(bit);
    int16_t value = 0;
    return hostBit >= 0 && DSPGetHostBit(GetDSP(), hostBit, &value) == 0 && value != 0;
  }
  return ((ReadRegister(kStatus) >> bit) & 1u) != 0;
}

int16_t COnyxChipDSP::ChangeMemoryBits(int16_t space, int32_t address, int32_t mask, int32_t bits) {
  switch (space) {
    case 0: return SChangeXBits(address, mask, bits);
    case 1: return SChangeYBits(address, mask, bits);
    case 2: return SChangePBits(address, mask, bits);
    default: return 0;
  }
}

int16_t COnyxChipDSP::SetMemoryBits(int16_t space, int32_t address, int32_t value) {
  return ChangeMemoryBits(space, address, 0, value);
}

int16_t COnyxChipDSP::ToggleMemoryBits(int16_t space, int32_t address, int32_t value) {
  return ChangeMemoryBits(space, address, -1, value);
}

int16_t COnyxChipDSP::ClearMemoryBits(int16_t space, int32_t address, int32_t value) {
  return ChangeMemoryBits(space, address, value, 0);
}
