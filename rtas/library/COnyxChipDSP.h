#pragma once

#include <cstdint>

#include "rtas/library/CGenericDSP.h"

// A chip of the Onyx family. Its host port is a block of 32-bit registers
// (control +0, status +4, command +8, transmit +12, receive +16), each
// access bracketed by a sync read as on the byte registers; its waits end
// 30 ticks after they began. Host commands go out doubled, with bit 0 as
// the busy flag.
class COnyxChipDSP : public CGenericDSP {
 public:
  static constexpr int32_t kOnyxHostCommandBase = 58;
  static constexpr int32_t kOnyxMemoryBase = 0x8001C0;
  static constexpr uint32_t kWaitTicks = 30;

  COnyxChipDSP();

  int16_t DoHostCommand(int16_t command) override;
  int16_t DoHostCommandOnEmptyHostPort(int16_t command) override;
  int16_t DoHostCommandWithDataBuffer(int16_t command, int32_t receiveCount, int32_t* receive, int32_t sendCount,
                                      const int32_t* send) override;
  int16_t DoHostCommandWithDataBufferSendFirst(int16_t command, int32_t receiveCount, int32_t* receive,
                                               int32_t sendCount, const int32_t* send) override;
  int32_t GetLoLong() override;
  int16_t SendLoLong(int32_t value) override;
  // Every word but the last goes out without waiting, except the third,
  // ninth, fifteenth and so on, which wait; the last always waits.
  int16_t SendLoLongs(const int32_t* words, int32_t count) override;
  int16_t GetLoLongs(int32_t* words, int32_t count) override;
  void SetHostPortBase(uint8_t* base) override;

  // 74 to 77: transfers only when the port is ready.
  bool SendWithoutWaiting(int32_t value) override;
  int32_t ReceiveWithoutWaiting(bool* received) override;
  bool CanSendWithoutWaiting() override;
  bool CanReceiveWithoutWaiting() override;

  // 84: 0 once any bit of the mask (low 8 bits) shows in the status
  // register; -7218 after 30 ticks, -7201 without a chip.
  virtual int16_t WaitHostFlag(int32_t mask);
  // 98 to 100: control-register flags (masks 8, 16 and 32).
  virtual int16_t SetHostFlags(int32_t mask);
  virtual int16_t ClearHostFlags(int32_t mask);
  virtual bool AreHostFlagsSet(int32_t mask);
  // 81, 90, 91, 105: status bits 3, 4, 5 and 6.
  virtual bool IsStatusBitSet(int bit);
  // 102 to 104: bits of memory space 0, 1 or 2 (X, Y, P).
  virtual int16_t SetMemoryBits(int16_t space, int32_t address, int32_t value);
  virtual int16_t ToggleMemoryBits(int16_t space, int32_t address, int32_t value);
  virtual int16_t ClearMemoryBits(int16_t space, int32_t address, int32_t value);

  int32_t GetOnyxHostCommandBase() const { return mOnyxHostCommandBase; }

 protected:
  void SetOnyxHostCommandBase(int32_t base) { mOnyxHostCommandBase = base; }

 private:
  uint32_t ReadRegister(int offset);
  void WriteRegister(int offset, uint32_t value);
  // Waits until bit 0 of the command register reads clear; false when
  // the wait ran out.
  bool WaitCommandClear();
  int16_t ChangeMemoryBits(int16_t space, int32_t address, int32_t mask, int32_t bits);

  int32_t mOnyxHostCommandBase = kOnyxHostCommandBase;
};
