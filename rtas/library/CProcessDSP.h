#pragma once

#include <cstdint>

#include "platform/carboncore/MacTypes.h"
#include "platform/protools/HostWords.h"
#include "rtas/library/CDSP.h"

// A DSP chip running the plug-in's DSP code: the chip, a lock that
// serialises the exchanges with it (a critical section of the host's
// engine, with a busy byte that tells a nested caller the chip is in use)
// and the message protocol of that code. Each message is one host command
// (the message command, 13) followed by 24-bit words, the message number
// first; -1 stands in the places that carry nothing.
//
// The process that a connection attaches to the chip reaches it through
// messages 1 to 4 (the type index, the process's slot on the chip, and
// the values); what the DSP code makes of them is its own affair.
class CProcessDSP : public CDSP {
 public:
  static constexpr int32_t kDefaultMemoryBase = 0xFFC0;
  static constexpr int32_t kDefaultAddress = 63;
  static constexpr int16_t kDefaultMessageCommand = 13;

  CProcessDSP();
  ~CProcessDSP() override;

  // 2: the chip, then the lock. The host-services object's version when
  // it is too old for critical sections; else 0.
  int32_t Attach(DsiDSP dsp) override;
  // 4: 1 when this call took the chip, 0 when it was already busy.
  int32_t Lock() override;
  void Unlock() override;
  // 36, 37: the object's start and stop host commands.
  int16_t SInitShell() override;
  int16_t SStartShell() override;
  // 43: the process group answers first; the DSI only when there is none.
  int16_t SGetDSPCodeInfo(int16_t selector, int32_t* value) override;

  // The messages (under the lock).
  // 0: one word read from an address.
  virtual int32_t ReadWord(int32_t address);
  // 50, 51: messages 3 and 4 with the type index, slot and two values.
  virtual int16_t SendMessage3(int32_t typeIndex, int32_t slot, int32_t a, int32_t b);
  virtual int16_t SendMessage4(int32_t typeIndex, int32_t slot, int32_t a, int32_t b);
  // 52, 53: messages 1 and 2 with the type index, slot, a value and the
  // default addresses.
  virtual int16_t SendMessage1(int32_t typeIndex, int32_t slot, int32_t value);
  virtual int16_t SendMessage2(int32_t typeIndex, int32_t slot, int32_t value);
  // 6 and 7: flag writes (true as 0xFFFFFF); 7 also sets an address.
  virtual int16_t SetFlag(bool flag);
  virtual int16_t SetFlagAt(int32_t address, bool flag);
  // 8: a pair of addresses; 60 reads them back.
  virtual int16_t SetAddressPair(int16_t first, int16_t second);
  void GetAddressPair(int16_t* first, int16_t* second) const;
  // 11: a 32-bit value as its top byte and its low 24 bits; refused with
  // -7433 while message 12 answers -1 for the address.
  virtual int16_t WriteLong(int32_t address, int32_t value);
  // 12, 13: one word each.
  virtual int32_t ReadWord12(int32_t address);
  virtual int32_t ReadWord13(int32_t address);
  // 14
  virtual int16_t SendCommand(int32_t command);
  // 15: two words, the first above the second's low 24 bits; -1 at once
  // when `second` is -1.
  virtual int64_t ReadLong(int32_t first, int32_t second);
  // 9: the state data, -108 for a missing or short first block.
  virtual int16_t SetStateData(Handle first, int32_t firstCount, Handle second, int32_t secondCount, int32_t e,
                               int32_t f, int32_t g, int32_t h, int32_t i);
  // 16: the chip's time of day.
  virtual int16_t GetCurrentTimeOfDay(int64_t* time);
  // 69: enters and leaves the lock at once (waits for a holder).
  void Synchronise();
  // 70 to 73
  int32_t GetMemoryBase() const { return mMemoryBase; }
  void SetMessageCommand(int16_t command) { mMessageCommand = command; }
  void SetStartCommand(int16_t command) { mStartCommand = command; }
  void SetStopCommand(int16_t command) { mStopCommand = command; }
  // 74 to 77: the chip families with flags answer these from the port.
  virtual bool SendWithoutWaiting(int32_t value);
  virtual int32_t ReceiveWithoutWaiting(bool* received);
  virtual bool CanSendWithoutWaiting() { return true; }
  virtual bool CanReceiveWithoutWaiting() { return true; }

  FicRef GetLockHandle() const { return mLock; }
  int32_t GetLockDepth() const { return mLockDepth; }
  bool IsBusy() const { return mBusy != 0; }

 protected:
  void SetMemoryBase(int32_t base) { mMemoryBase = base; }
  void SetDefaultAddresses(int32_t first, int32_t second) {
    mDefaultAddress1 = first;
    mDefaultAddress2 = second;
  }

 private:
  int16_t Message(int32_t receiveCount, int32_t* receive, std::initializer_list<int32_t> words);

  int16_t mAddressPair[2] = {-1, -1};
  int16_t mLastAddress = 0;
  int32_t mMemoryBase = kDefaultMemoryBase;
  int32_t mDefaultAddress1 = kDefaultAddress;
  int32_t mDefaultAddress2 = kDefaultAddress;
  int16_t mMessageCommand = kDefaultMessageCommand;
  int16_t mStartCommand = 0;
  int16_t mStopCommand = 1;
  FicRef mLock = 0;
  int32_t mLockDepth = 0;
  uint8_t mBusy = 0;
};
