#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/corefoundation/CFBundle.h"
#include "platform/protools/DSI.h"
#include "rtas/library/TickClock.h"

// One DSP chip of a DSP card as the library drives it: the chip's shell
// (the host's unit of loadable DSP code), the plug-in's DSP code loaded
// into it, and the chip's host port, reached through the DSI's accessors
// or, on DSIs that hand out plain records, through the port's registers.
//
// The register path (accessor flag clear): bytes at the host-port base,
// the command vector at +7, the status at +11 and the data word's high,
// middle and low bytes at +23, +27 and +31; every register access is
// bracketed by a sync read, and every wait gives up quietly after
// 1000001 polls.
//
// Nothing here runs in host-based use; the DSP-card group makes these
// objects (GetNewCProcessDSP) and the DSP host drives them through the
// bundle's exports.
class CDSP {
 public:
  static constexpr int32_t kDefaultHostCommandBase = 18;
  static constexpr int32_t kPortWaitPolls = 1000001;
  static constexpr int32_t kDsiTimeout = 1000000000;
  static constexpr int32_t kDsiBlockTimeout = 2000000000;

  CDSP();
  // 0, 1: dispose the shell.
  virtual ~CDSP();
  CDSP(const CDSP&) = delete;
  CDSP& operator=(const CDSP&) = delete;

  // 2: takes the chip (null detaches nothing and stops there), its
  // information record and the port, and makes and sets up a shell.
  virtual int32_t Attach(DsiDSP dsp);
  // 3: hands the chip back to the host's standard shell. Errors throw.
  virtual void Detach();
  // 4, 5: nothing here; the process chips serialise with a lock.
  virtual int32_t Lock() { return 1; }
  virtual void Unlock() {}
  // 7: the first DSP of the host's list that no client holds, or null.
  virtual DsiDSP FindFreeDSP();
  // 8: the bundle's 'SACD' resource as this object's shell, loaded into
  // the chip. Errors throw; the resource file is restored in every case.
  virtual void LoadDSPCode(CFBundleRef bundle, int16_t resourceID);
  // 9, 10: host commands (the base is added).
  virtual int16_t DoHostCommand(int16_t command);
  virtual int16_t DoHostCommandOnEmptyHostPort(int16_t command);
  // 11 to 14: a command with words both ways. 11 and 12 command first,
  // 13 and 14 send first.
  virtual int16_t DoHostCommandWithData(int16_t command, int32_t receiveCount, int32_t* receive,
                                        std::initializer_list<int32_t> send);
  virtual int16_t DoHostCommandWithDataBuffer(int16_t command, int32_t receiveCount, int32_t* receive,
                                              int32_t sendCount, const int32_t* send);
  virtual int16_t DoHostCommandWithDataSendFirst(int16_t command, int32_t receiveCount, int32_t* receive,
                                                 std::initializer_list<int32_t> send);
  virtual int16_t DoHostCommandWithDataBufferSendFirst(int16_t command, int32_t receiveCount, int32_t* receive,
                                                       int32_t sendCount, const int32_t* send);
  // 15: one 24-bit word, sign-extended; -1 without a chip.
  virtual int32_t GetLoLong();
  // 16: the value's low 24 bits.
  virtual int16_t SendLoLong(int32_t value);
  // 17, 18
  virtual int16_t SendLoLongs(const int32_t* words, int32_t count);
  virtual int16_t GetLoLongs(int32_t* words, int32_t count);
  // 19, 20
  virtual int32_t GetCardType();
  virtual int32_t GetChipGeneration() { return 2; }
  // 21 to 25
  virtual DsiDSP GetDSP() const { return mDSP; }
  virtual void SetDSP(DsiDSP dsp) { mDSP = dsp; }
  virtual DsiShell GetShell() const { return mShell; }
  virtual HostWord GetUserWord() const { return mUserWord; }
  virtual void SetUserWord(HostWord word) { mUserWord = word; }
  // 26 to 43: the DSI's shell operations on the chip, under the lock.
  virtual int16_t SGetXWord(int32_t address, int32_t* word);
  virtual int16_t SGetYWord(int32_t address, int32_t* word);
  virtual int16_t SGetPWord(int32_t address, int32_t* word);
  virtual int16_t SChangeXBits(int32_t address, int32_t mask, int32_t bits);
  virtual int16_t SChangeYBits(int32_t address, int32_t mask, int32_t bits);
  virtual int16_t SChangePBits(int32_t address, int32_t mask, int32_t bits);
  virtual int16_t SExecute(int16_t address);
  virtual int16_t SSetLeftRightBit(int32_t value);
  virtual int16_t SGetControlLatch(int32_t value);
  virtual int16_t SSetControlLatch(int32_t value);
  virtual int16_t SInitShell();
  virtual int16_t SStartShell();
  virtual int16_t SPauseShell();
  virtual int16_t SResumeShell();
  virtual int16_t SSetInputDelay(int32_t delay);
  virtual int16_t SSetOutputDelay(int32_t delay);
  virtual int16_t SUpdateDSPPeripheral();
  virtual int16_t SGetDSPCodeInfo(int16_t selector, int32_t* value);
  // 44 to 46: the port and the two addresses of the information record.
  virtual uint8_t* GetHostPortBase() const { return mHostPortBase; }
  virtual uint32_t GetAddress44() const { return mAddress44; }
  virtual uint32_t GetAddress56() const { return mAddress56; }
  // 47: the register path's sync read.
  virtual void SyncIO();
  // 48: the register block (ignored with the accessors).
  virtual void SetHostPortBase(uint8_t* base);

  // The processes sharing the chip; the chip list's owner frees a chip
  // once nobody uses it.
  void AddUser() { ++mUseCount; }
  void RemoveUser() { --mUseCount; }
  int16_t GetUseCount() const { return mUseCount; }

  uint32_t GetAddress32() const { return mAddress32; }
  bool UsesDsiAccessors() const { return mUsesAccessors; }
  bool IsCardType18() const { return mIsCardType18; }
  bool IsCardType18Or19() const { return mIsCardType18Or19; }
  int32_t GetHostCommandBase() const { return mHostCommandBase; }
  const uint8_t* GetInfoRecord() const { return mInfo; }
  void SetTickClock(TickClock clock) { mClock = clock; }

 protected:
  void SetHostCommandBase(int32_t base) { mHostCommandBase = base; }
  // Keeps the port (none with the accessors) and notes the card type.
  void StoreHostPortBase(uint8_t* base);
  uint8_t ReadPort(int offset);
  void WritePort(int offset, uint8_t value);
  // Polls until bit `bit` of the port byte reads `set`, at most
  // kPortWaitPolls times.
  void WaitForPortBit(int offset, int bit, bool set);
  uint32_t Ticks() const { return mClock(); }

 private:
  uint8_t* mHostPortBase = nullptr;
  uint8_t* mHostPortBaseCopy = nullptr;
  uint8_t mInfo[kDsiInfoRecordBytes] = {};
  uint32_t mAddress32 = 0, mAddress44 = 0, mAddress56 = 0;
  DsiDSP mDSP = nullptr;
  DsiShell mShell = nullptr;
  int16_t mUseCount = 0;
  bool mIsCardType18 = false;
  bool mIsCardType18Or19 = false;
  HostWord mUserWord = 0;
  bool mUsesAccessors = false;
  int32_t mHostCommandBase = kDefaultHostCommandBase;
  TickClock mClock = SystemTickCount;
};
