#include "rtas/library/CProcessDSP.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/carboncore/MacMemory.h"
#include "rtas/library/CProcessGroupInterface.h"
#include "rtas/library/DAEFunctions.h"
#include "rtas/library/DSIFunctions.h"
#include "rtas/library/DebuggerReport.h"
#include "rtas/library/HostServices.h"
#include "rtas/library/ResultCodes.h"

namespace {

constexpr int32_t kTrueWord = 0xFFFFFF;
constexpr int32_t kNone = -1;

enum EMessage : int32_t {
  kReadWord = 0,
  kWrite1 = 1,
  kWrite2 = 2,
  kWrite3 = 3,
  kWrite4 = 4,
  kFlag = 6,
  kFlagAt = 7,
  kAddressPair = 8,
  kStateData = 9,
  kWriteLong = 11,
  kRead12 = 12,
  kRead13 = 13,
  kCommand = 14,
  kReadLong = 15,
  kTimeOfDay = 16,
};

int64_t JoinWords(int32_t high, int32_t low) {
  return static_cast<int64_t>(static_cast<uint64_t>(static_cast<int64_t>(high)) << 24) | (low & 0xFFFFFF);
}

// The 32-bit words of a handle, at most `count` of them.
std::vector<int32_t> WordsOf(Handle handle, int32_t count) {
  std::vector<int32_t> words;
  if (!handle || !*handle || count <= 0) return words;
  const size_t available = static_cast<size_t>(GetHandleSize(handle)) / sizeof(int32_t);
  words.resize(std::min(available, static_cast<size_t>(count)));
  if (!words.empty()) std::memcpy(words.data(), *handle, words.size() * sizeof(int32_t));
  return words;
}

}  // namespace

CProcessDSP::CProcessDSP() = default;

CProcessDSP::~CProcessDSP() {
  if (mLock) FicDeleteCriticalSection(mLock);
}

int32_t CProcessDSP::Attach(DsiDSP dsp) {
  CDSP::Attach(dsp);
  mLockDepth = 0;
  if (SHostServices* services = GetHostServices()) {
    const int32_t version = services->mVtbl->GetVersion(services);
    if (version < 1) return version;
  }
  if (!mLock) mLock = FicCreateCriticalSection();
  return 0;
}

int32_t CProcessDSP::Lock() {
  if (mLock) FicEnterCriticalSection(mLock);
  ++mLockDepth;
  if (mBusy) return 0;
  mBusy = 1;
  return 1;
}

void CProcessDSP::Unlock() {
  if (mLockDepth <= 0) return;
  // The chip stays busy until the outermost holder lets go, so a message
  // sent inside a longer exchange does not report the chip free.
  if (--mLockDepth == 0) mBusy = 0;
  if (mLock) FicLeaveCriticalSection(mLock);
}

void CProcessDSP::Synchronise() {
  if (!mLock) return;
  FicEnterCriticalSection(mLock);
  FicLeaveCriticalSection(mLock);
}

int16_t CProcessDSP::SInitShell() { return DoHostCommand(mStartCommand); }

int16_t CProcessDSP::SStartShell() { return DoHostCommand(mStopCommand); }

int16_t CProcessDSP::SGetDSPCodeInfo(int16_t selector, int32_t* value) {
  const int16_t answer =
      CProcessGroupInterface::ForwardToGroupSlot110(reinterpret_cast<HostWord>(GetDSP()), selector, value);
  if (answer != DAEResult::kNoGroupForDSP) return answer;
  return ::SGetDSPCodeInfo(GetDSP(), selector, value);
}

int16_t CProcessDSP::Message(int32_t receiveCount, int32_t* receive, std::initializer_list<int32_t> words) {
  Lock();
  const int16_t status = DoHostCommandWithData(mMessageCommand, receiveCount, receive, words);
  Unlock();
  return status;
}

int32_t CProcessDSP::ReadWord(int32_t address) {
  int32_t word = 0;
  Message(1, &word, {kReadWord, address});
  Message(0, nullptr, {kReadWord, address});
  return word;
}

int16_t CProcessDSP::SendMessage1(int32_t typeIndex, int32_t slot, int32_t value) {
  return Message(0, nullptr, {kWrite1, typeIndex, slot, value, mDefaultAddress1 + mMemoryBase});
}

int16_t CProcessDSP::SendMessage2(int32_t typeIndex, int32_t slot, int32_t value) {
  return Message(0, nullptr, {kWrite2, typeIndex, slot, value, mDefaultAddress2 + mMemoryBase});
}

int16_t CProcessDSP::SendMessage3(int32_t typeIndex, int32_t slot, int32_t a, int32_t b) {
  return Message(0, nullptr, {kWrite3, typeIndex, slot, a, b});
}

int16_t CProcessDSP::SendMessage4(int32_t typeIndex, int32_t slot, int32_t a, int32_t b) {
  return Message(0, nullptr, {kWrite4, typeIndex, slot, a, b});
}

int16_t CProcessDSP::SetFlag(bool flag) { return Message(0, nullptr, {kFlag, flag ? kTrueWord : 0}); }

int16_t CProcessDSP::SetFlagAt(int32_t address, bool flag) {
  mLastAddress = static_cast<int16_t>(address);
  return Message(0, nullptr, {kFlagAt, address + mMemoryBase, flag ? kTrueWord : 0});
}

int16_t CProcessDSP::SetAddressPair(int16_t first, int16_t second) {
  mAddressPair[0] = first;
  mAddressPair[1] = second;
  return Message(0, nullptr, {kAddressPair, first + mMemoryBase, second + mMemoryBase});
}

void CProcessDSP::GetAddressPair(int16_t* first, int16_t* second) const {
  if (first) *first = mAddressPair[0];
  if (second) *second = mAddressPair[1];
}

int32_t CProcessDSP::ReadWord12(int32_t address) {
  int32_t word = kNone;
  Message(1, &word, {kRead12, address});
  return word;
}

int32_t CProcessDSP::ReadWord13(int32_t address) {
  int32_t word = kNone;
  Message(1, &word, {kRead13, address});
  return word;
}

int16_t CProcessDSP::WriteLong(int32_t address, int32_t value) {
  if (ReadWord12(address) == kNone) return DAEResult::kDSPQuery;
  const uint32_t bits = static_cast<uint32_t>(value);
  return Message(0, nullptr, {kWriteLong, address, static_cast<int32_t>(bits >> 24), static_cast<int32_t>(bits & 0xFFFFFF)});
}

int16_t CProcessDSP::SendCommand(int32_t command) { return Message(0, nullptr, {kCommand, command}); }

int64_t CProcessDSP::ReadLong(int32_t first, int32_t second) {
  if (second == kNone) return kNone;
  int32_t words[2] = {0, 0};
  Message(2, words, {kReadLong, first, second});
  return JoinWords(words[0], words[1]);
}

int16_t CProcessDSP::SetStateData(Handle first, int32_t firstCount, Handle second, int32_t secondCount, int32_t e,
                                  int32_t f, int32_t g, int32_t h, int32_t i) {
  if (!first) {
    ReportToDebugger("CProcessDSP::SetStateData anXStateMem == NULL.");
    return DAEResult::kDSPStateMemory;
  }
  if (firstCount < 0 || GetHandleSize(first) < static_cast<Size>(firstCount) * 4) {
    ReportToDebugger("CProcessDSP::SetStateData anXStateMem valid, but too small!");
    return DAEResult::kDSPStateMemory;
  }
  const std::vector<int32_t> firstWords = WordsOf(first, firstCount);
  // The second block is not checked by size: only what it holds is sent,
  // never memory past it.
  const std::vector<int32_t> secondWords = WordsOf(second, secondCount);
  Lock();
  int16_t status = DoHostCommandWithData(mMessageCommand, 0, nullptr, {kStateData, h, i, g, firstCount, f});
  if (status == 0 && !firstWords.empty()) status = SendLoLongs(firstWords.data(), static_cast<int32_t>(firstWords.size()));
  if (status == 0) status = SendLoLong(secondCount);
  if (status == 0) status = SendLoLong(e);
  if (status == 0 && !secondWords.empty()) {
    status = SendLoLongs(secondWords.data(), static_cast<int32_t>(secondWords.size()));
  }
  Unlock();
  return status;
}

int16_t CProcessDSP::GetCurrentTimeOfDay(int64_t* time) {
  int32_t words[2] = {0, 0};
  const int16_t status = Message(2, words, {kTimeOfDay});
  if (words[0] < 0) ReportToDebugger("CProcessDSP::GetCurrentTimeOfDay TODHi is negative!");
  if (time) *time = JoinWords(words[0], words[1]);
  return status;
}

bool CProcessDSP::SendWithoutWaiting(int32_t value) {
  SendLoLong(value);
  return true;
}

int32_t CProcessDSP::ReceiveWithoutWaiting(bool* received) {
  if (received) *received = true;
  return GetLoLong();
}
