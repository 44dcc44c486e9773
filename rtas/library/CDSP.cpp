#include "rtas/library/CDSP.h"

#include <cstring>
#include <vector>

#include "platform/carboncore/Resources.h"
#include "rtas/library/DSIFunctions.h"
#include "rtas/library/DsiShims.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/FourCC.h"
#include "rtas/library/HostCommandTable.h"
#include "rtas/library/ResultCodes.h"

namespace {

// The register path's bytes.
constexpr int kCommandVector = 7;
constexpr int kStatus = 11;
constexpr int kDataHigh = 23;
constexpr int kDataMiddle = 27;
constexpr int kDataLow = 31;

constexpr int kCommandBusyBit = 7;
constexpr int kReceiveReadyBit = 0;
constexpr int kTransmitReadyBit = 1;
constexpr int kTransmitEmptyBit = 2;
// Host commands go to the vector with its top bit set.
constexpr int kCommandFlag = 128;

constexpr uint32_t kShellID = FourCC("Digi");
constexpr uint32_t kDSPCodeType = FourCC("SACD");
constexpr int16_t kDetachHostBit = 10;

uint32_t InfoWord(const uint8_t* info, size_t offset) {
  uint32_t word;
  std::memcpy(&word, info + offset, sizeof word);
  return word;
}

int32_t SignExtend24(uint32_t word) {
  word &= 0xffffff;
  return (word & 0x800000) ? static_cast<int32_t>(word | 0xff000000u) : static_cast<int32_t>(word);
}

// The bundle's resource map, current for the life of the scope; the file
// that was current comes back whatever happens in between.
class CBundleMapScope {
 public:
  explicit CBundleMapScope(CFBundleRef bundle) : mBundle(bundle), mPrevious(CurResFile()) {
    mMap = CFBundleOpenBundleResourceMap(bundle);
    if (mMap > 0) UseResFile(mMap);
  }
  ~CBundleMapScope() {
    if (mMap > 0) CFBundleCloseBundleResourceMap(mBundle, mMap);
    UseResFile(mPrevious);
  }
  CBundleMapScope(const CBundleMapScope&) = delete;
  CBundleMapScope& operator=(const CBundleMapScope&) = delete;

 private:
  CFBundleRef mBundle;
  int16_t mPrevious;
  int16_t mMap = 0;
};

}  // namespace

CDSP::CDSP() = default;

CDSP::~CDSP() {
  if (mShell) DisposeDSPShell(mShell);
}

int32_t CDSP::Attach(DsiDSP dsp) {
  mUseCount = 0;
  mDSP = dsp;
  if (!dsp) return 0;
  mUsesAccessors = ::UsesDsiAccessors();
  GetDSPInfoRecord(dsp, mInfo);
  SetHostPortBase(mInfo);
  mAddress32 = InfoWord(mInfo, 32);
  mAddress44 = InfoWord(mInfo, 44);
  mAddress56 = InfoWord(mInfo, 56);
  // A second attach must not leak the first shell.
  if (mShell) DisposeDSPShell(mShell);
  mShell = NewDSPShell();
  SetShellID(mShell, kShellID);
  SetShellIsStandard(mShell, 1);
  SetShellDSPCode(mShell, 0);
  SetShellHostCodeHandler(mShell, reinterpret_cast<HostWord>(&HostCommandLookup));
  SetShellMaxLocation(mShell, 0);
  return 0;
}

void CDSP::Detach() {
  if (!mDSP) return;
  if (mUsesAccessors) {
    DSPSetHostBit(mDSP, kDetachHostBit, 0);
  } else {
    SyncIO();
  }
  DsiShell standard = nullptr;
  ThrowIfError(GetShellList(&standard));
  ThrowIfError(DsiLoadShell(mDSP, standard, 0));
  SetDSPClientVal(mDSP, 0);
}

DsiDSP CDSP::FindFreeDSP() {
  DsiDSP dsp = nullptr;
  ThrowIfError(GetDSPList(&dsp));
  while (dsp) {
    HostWord client = 1;
    if (GetDSPClient(dsp, &client) == 0 && client == 0) return dsp;
    DsiDSP next = nullptr;
    if (GetNextDSP(dsp, &next) != 0) break;
    dsp = next;
  }
  return nullptr;
}

void CDSP::LoadDSPCode(CFBundleRef bundle, int16_t resourceID) {
  CBundleMapScope scope(bundle);
  if (!mDSP) return;
  Handle code = Get1Resource(kDSPCodeType, resourceID);
  if (!code) ThrowDAEError(DAEResult::kNoDSPCode);
  struct SReleaseCode {
    Handle mCode;
    DsiShell mShell;
    // The chip holds the code once the shell is loaded; the shell must
    // not keep pointing at released memory.
    ~SReleaseCode() {
      SetShellDSPCode(mShell, 0);
      ReleaseResource(mCode);
    }
  } release{code, mShell};
  SetShellDSPCode(mShell, reinterpret_cast<HostWord>(code));
  ThrowIfError(ResError());
  DsiShell current = nullptr;
  DsiShell standard = nullptr;
  GetDSPShell(mDSP, &current);
  ThrowIfError(GetShellList(&standard));
  if (current != standard) {
    ThrowIfError(SetDSPClientVal(mDSP, 0));
    ThrowIfError(ResetDSP(mDSP));
    ThrowIfError(DsiLoadShell(mDSP, standard, 0));
  }
  ThrowIfError(SetDSPClientVal(mDSP, reinterpret_cast<HostWord>(this)));
  ThrowIfError(DsiLoadShell(mDSP, mShell, reinterpret_cast<HostWord>(this)));
}

void CDSP::SyncIO() {
  if (mUsesAccessors) return;
  uint32_t discarded = 0;
  GetLegacyCardWord(mDSP, &discarded);
}

void CDSP::StoreHostPortBase(uint8_t* base) {
  mHostPortBase = mUsesAccessors ? nullptr : base;
  mHostPortBaseCopy = mHostPortBase;
  const int32_t cardType = GetCardType();
  mIsCardType18 = cardType == 18;
  mIsCardType18Or19 = cardType == 18 || cardType == 19;
}

void CDSP::SetHostPortBase(uint8_t* base) {
  StoreHostPortBase(base);
  if (mUsesAccessors || !mHostPortBase) return;
  SyncIO();
  mHostPortBase[3] = static_cast<uint8_t>(mHostPortBase[3] & ~1u);
  SyncIO();
}

uint8_t CDSP::ReadPort(int offset) {
  SyncIO();
  const uint8_t value = mHostPortBase ? static_cast<volatile uint8_t*>(mHostPortBase)[offset] : 0;
  SyncIO();
  return value;
}

void CDSP::WritePort(int offset, uint8_t value) {
  SyncIO();
  if (mHostPortBase) static_cast<volatile uint8_t*>(mHostPortBase)[offset] = value;
  SyncIO();
}

void CDSP::WaitForPortBit(int offset, int bit, bool set) {
  for (int32_t poll = 0; poll < kPortWaitPolls; ++poll) {
    if (((ReadPort(offset) >> bit) & 1) == (set ? 1 : 0)) return;
  }
}

int16_t CDSP::DoHostCommand(int16_t command) {
  const int32_t vector = mHostCommandBase + command;
  if (mUsesAccessors) return DSPDoHostCommand(mDSP, static_cast<int16_t>(vector), kDsiTimeout);
  WaitForPortBit(kCommandVector, kCommandBusyBit, false);
  WritePort(kCommandVector, static_cast<uint8_t>(vector + kCommandFlag));
  return 0;
}

int16_t CDSP::DoHostCommandOnEmptyHostPort(int16_t command) {
  if (mUsesAccessors) return DSPDoHostCommandOnEmptyHostPort(mDSP, mHostCommandBase + command, kDsiTimeout);
  WaitForPortBit(kStatus, kTransmitEmptyBit, true);
  return DoHostCommand(command);
}

int16_t CDSP::SendLoLong(int32_t value) {
  if (mUsesAccessors) return DSPSendLo24of32(mDSP, value, kDsiTimeout);
  WaitForPortBit(kStatus, kTransmitReadyBit, true);
  const uint32_t word = static_cast<uint32_t>(value);
  WritePort(kDataHigh, static_cast<uint8_t>(word >> 16));
  WritePort(kDataMiddle, static_cast<uint8_t>(word >> 8));
  WritePort(kDataLow, static_cast<uint8_t>(word));
  return 0;
}

int32_t CDSP::GetLoLong() {
  if (!mDSP) return -1;
  if (mUsesAccessors) {
    int32_t value = 0;
    DSPGetLo24ofS32(mDSP, &value, kDsiTimeout);
    return value;
  }
  WaitForPortBit(kStatus, kReceiveReadyBit, true);
  const uint32_t high = ReadPort(kDataHigh);
  const uint32_t middle = ReadPort(kDataMiddle);
  const uint32_t low = ReadPort(kDataLow);
  return SignExtend24(high << 16 | middle << 8 | low);
}

int16_t CDSP::SendLoLongs(const int32_t* words, int32_t count) {
  if (mUsesAccessors) return DSPSendLo24of32Check(mDSP, words, count, kDsiBlockTimeout);
  for (int32_t i = 0; words && i < count; ++i) {
    if (const int16_t status = SendLoLong(words[i])) return status;
  }
  return 0;
}

int16_t CDSP::GetLoLongs(int32_t* words, int32_t count) {
  if (mUsesAccessors) return DSPGetLo24ofS32Check(mDSP, words, count, kDsiBlockTimeout);
  for (int32_t i = 0; words && i < count; ++i) words[i] = GetLoLong();
  return 0;
}

int16_t CDSP::DoHostCommandWithDataBuffer(int16_t command, int32_t receiveCount, int32_t* receive, int32_t sendCount,
                                          const int32_t* send) {
  if (mUsesAccessors) {
    return DSPDoHostCommandWithDataList(mDSP, mHostCommandBase + command, 0, receiveCount, receive, sendCount, send);
  }
  if (const int16_t status = DoHostCommandOnEmptyHostPort(command)) return status;
  for (int32_t i = 0; send && i < sendCount; ++i) {
    if (const int16_t status = SendLoLong(send[i])) return status;
  }
  for (int32_t i = 0; receive && i < receiveCount; ++i) receive[i] = GetLoLong();
  return 0;
}

int16_t CDSP::DoHostCommandWithDataBufferSendFirst(int16_t command, int32_t receiveCount, int32_t* receive,
                                                   int32_t sendCount, const int32_t* send) {
  if (mUsesAccessors) {
    return DSPDoHostCommandWithDataList(mDSP, mHostCommandBase + command, 1, receiveCount, receive, sendCount, send);
  }
  for (int32_t i = 0; send && i < sendCount; ++i) {
    if (const int16_t status = SendLoLong(send[i])) return status;
  }
  if (const int16_t status = DoHostCommandOnEmptyHostPort(command)) return status;
  for (int32_t i = 0; receive && i < receiveCount; ++i) receive[i] = GetLoLong();
  return 0;
}

int16_t CDSP::DoHostCommandWithData(int16_t command, int32_t receiveCount, int32_t* receive,
                                    std::initializer_list<int32_t> send) {
  const std::vector<int32_t> words(send);
  return DoHostCommandWithDataBuffer(command, receiveCount, receive, static_cast<int32_t>(words.size()), words.data());
}

int16_t CDSP::DoHostCommandWithDataSendFirst(int16_t command, int32_t receiveCount, int32_t* receive,
                                             std::initializer_list<int32_t> send) {
  const std::vector<int32_t> words(send);
  return DoHostCommandWithDataBufferSendFirst(command, receiveCount, receive, static_cast<int32_t>(words.size()),
                                              words.data());
}

int32_t CDSP::GetCardType() {
  int32_t cardType = 0;
  if (mDSP) GetCardTypeFromDSP(mDSP, &cardType);
  return cardType;
}

namespace {

// A shell operation of the DSI under the object's lock.
template <class Call>
int16_t Locked(CDSP& dsp, Call call) {
  dsp.Lock();
  const int16_t status = call();
  dsp.Unlock();
  return status;
}

}  // namespace

int16_t CDSP::SGetXWord(int32_t address, int32_t* word) {
  return Locked(*this, [&] { return ::SGetXWord(mDSP, address, word); });
}
int16_t CDSP::SGetYWord(int32_t address, int32_t* word) {
  return Locked(*this, [&] { return ::SGetYWord(mDSP, address, word); });
}
int16_t CDSP::SGetPWord(int32_t address, int32_t* word) {
  return Locked(*this, [&] { return ::SGetPWord(mDSP, address, word); });
}
int16_t CDSP::SChangeXBits(int32_t address, int32_t mask, int32_t bits) {
  return Locked(*this, [&] { return ::SChangeXBits(mDSP, address, mask, bits); });
}
int16_t CDSP::SChangeYBits(int32_t address, int32_t mask, int32_t bits) {
  return Locked(*this, [&] { return ::SChangeYBits(mDSP, address, mask, bits); });
}
int16_t CDSP::SChangePBits(int32_t address, int32_t mask, int32_t bits) {
  return Locked(*this, [&] { return ::SChangePBits(mDSP, address, mask, bits); });
}
int16_t CDSP::SExecute(int16_t address) {
  return Locked(*this, [&] { return ::SExecute(mDSP, address); });
}
int16_t CDSP::SSetLeftRightBit(int32_t value) {
  return Locked(*this, [&] { return ::SSetLeftRightBit(mDSP, value); });
}
int16_t CDSP::SGetControlLatch(int32_t value) {
  return Locked(*this, [&] { return ::SGetControlLatch(mDSP, value); });
}
int16_t CDSP::SSetControlLatch(int32_t value) {
  return Locked(*this, [&] { return ::SSetControlLatch(mDSP, value); });
}
int16_t CDSP::SInitShell() {
  return Locked(*this, [&] { return ::SInitShell(mDSP); });
}
int16_t CDSP::SStartShell() {
  return Locked(*this, [&] { return ::SStartShell(mDSP); });
}
int16_t CDSP::SPauseShell() {
  return Locked(*this, [&] { return ::SPauseShell(mDSP); });
}
int16_t CDSP::SResumeShell() {
  return Locked(*this, [&] { return ::SResumeShell(mDSP); });
}
int16_t CDSP::SSetInputDelay(int32_t delay) {
  return Locked(*this, [&] { return ::SSetInputDelay(mDSP, delay); });
}
int16_t CDSP::SSetOutputDelay(int32_t delay) {
  return Locked(*this, [&] { return ::SSetOutputDelay(mDSP, delay); });
}
int16_t CDSP::SUpdateDSPPeripheral() {
  return Locked(*this, [&] { return ::SUpdateDSPPeripheral(mDSP); });
}
int16_t CDSP::SGetDSPCodeInfo(int16_t selector, int32_t* value) {
  return Locked(*this, [&] { return ::SGetDSPCodeInfo(mDSP, selector, value); });
}
