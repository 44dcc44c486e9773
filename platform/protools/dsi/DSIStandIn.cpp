// The DSP-card interface stand-in. On the live road it has no cards: the
// driver starts and every list is empty. The control table adds cards and
// DSPs (plain records, readable both through the accessors and in place)
// and feeds the host port.
#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <type_traits>
#include <vector>

#include "platform/protools/standin/Recorder.h"

namespace {

struct Cards {
  std::mutex mMutex;
  std::vector<std::unique_ptr<SDsiCardRecord>> mCards;
  std::vector<std::unique_ptr<SDsiDSPRecord>> mDSPs;
  std::vector<std::unique_ptr<SDsiShellRecord>> mShells;
  std::deque<int32_t> mHostWords;
  std::set<int16_t> mTDM2Types;
  std::map<std::pair<DsiDSP, int16_t>, int16_t> mHostBits;
};

Cards& TheCards() {
  static Cards* cards = new Cards;
  return *cards;
}

template <class T>
bool Owns(const std::vector<std::unique_ptr<T>>& list, const T* record) {
  return record && std::any_of(list.begin(), list.end(), [record](const auto& r) { return r.get() == record; });
}

void ResetCards() {
  Cards& c = TheCards();
  std::lock_guard<std::mutex> lock(c.mMutex);
  c.mCards.clear();
  c.mDSPs.clear();
  c.mShells.clear();
  c.mHostWords.clear();
  c.mHostBits.clear();
  c.mTDM2Types = {25, 26, 28, 30, 31};
}

// Runs a read or write of a DSP record the stand-in made.
template <class Use>
int32_t WithDSP(DsiDSP dsp, Use use) {
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  if (!Owns(TheCards().mDSPs, dsp)) return kDSIBadReference;
  use(*dsp);
  return 0;
}

template <class Use>
int32_t WithShell(DsiShell shell, Use use) {
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  if (!Owns(TheCards().mShells, shell)) return kDSIBadReference;
  use(*shell);
  return 0;
}

int16_t CardTypeOf(const SDsiDSPRecord& dsp) { return dsp.mCard ? dsp.mCard->mCardType : 0; }

bool IsPresto(const SDsiDSPRecord& dsp) {
  switch (CardTypeOf(dsp)) {
    case 31: return dsp.mDSPNumber <= 3;
    case 28: return dsp.mDSPNumber <= 2;
    case 26: return true;
    default: return false;
  }
}

int32_t DriverTypeOf(int16_t cardType) {
  switch (cardType) {
    case 10: return 0x430;
    case 18: return 0xEE20;
    case 20: return 0xEE80;
    case 21: return 0xEE90;
    case 25: case 26: case 28: case 29: case 31: return 0xEEC0;
    default: return -1;
  }
}

DsiCard AddCard(int16_t cardType, uint32_t legacyWord) {
  Cards& c = TheCards();
  std::lock_guard<std::mutex> lock(c.mMutex);
  auto card = std::make_unique<SDsiCardRecord>();
  card->mCardType = cardType;
  card->mLegacyWord = legacyWord;
  if (!c.mCards.empty()) c.mCards.back()->mNext = card.get();
  c.mCards.push_back(std::move(card));
  return c.mCards.back().get();
}

DsiDSP AddDSP(DsiCard card, int16_t dspNumber, uint32_t coreType, const uint8_t* info) {
  Cards& c = TheCards();
  std::lock_guard<std::mutex> lock(c.mMutex);
  if (!Owns(c.mCards, card)) return nullptr;
  auto dsp = std::make_unique<SDsiDSPRecord>();
  dsp->mCard = card;
  dsp->mDSPNumber = dspNumber;
  dsp->mCoreType = coreType;
  if (info) std::memcpy(dsp->mInfo, info, sizeof dsp->mInfo);
  auto shell = std::make_unique<SDsiShellRecord>();
  dsp->mShell = shell.get();
  c.mShells.push_back(std::move(shell));
  if (!c.mDSPs.empty()) c.mDSPs.back()->mNext = dsp.get();
  c.mDSPs.push_back(std::move(dsp));
  return c.mDSPs.back().get();
}

void QueueHostWord(int32_t word) {
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  TheCards().mHostWords.push_back(word);
}

void SetTDM2CardType(int16_t cardType, Boolean isTDM2) {
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  if (isTDM2) {
    TheCards().mTDM2Types.insert(cardType);
  } else {
    TheCards().mTDM2Types.erase(cardType);
  }
}

int32_t NextHostWord() {
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  if (TheCards().mHostWords.empty()) return 0;
  const int32_t word = TheCards().mHostWords.front();
  TheCards().mHostWords.pop_front();
  return word;
}

const bool gStarted = (ResetCards(), true);

}  // namespace

#define DSI_ENTER(name, ...) \
  if (auto failed = standin::Enter(name, ##__VA_ARGS__)) return *failed

extern "C" {

int32_t InitSADriver(void) {
  DSI_ENTER("InitSADriver");
  return 0;
}

int32_t UnInitSADriver(void) {
  DSI_ENTER("UnInitSADriver");
  return 0;
}

int32_t GetShellList(DsiShell* head) {
  DSI_ENTER("GetShellList", head);
  if (!head) return paramErr;
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  *head = nullptr;  // shells belong to their DSPs here; none stand alone
  return 0;
}

int32_t GetCardList(DsiCard* head) {
  DSI_ENTER("GetCardList", head);
  if (!head) return paramErr;
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  *head = TheCards().mCards.empty() ? nullptr : TheCards().mCards.front().get();
  return 0;
}

int32_t GetDSPList(DsiDSP* head) {
  DSI_ENTER("GetDSPList", head);
  if (!head) return paramErr;
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  *head = TheCards().mDSPs.empty() ? nullptr : TheCards().mDSPs.front().get();
  return 0;
}

int32_t ResetDSP(DsiDSP dsp) {
  DSI_ENTER("ResetDSP", dsp);
  return WithDSP(dsp, [](SDsiDSPRecord&) {});
}

int32_t DsiLoadShell(DsiDSP dsp, DsiShell shell, HostWord clientValue) {
  DSI_ENTER("DsiLoadShell", dsp, shell, clientValue);
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { d.mClientValue = clientValue; });
}

#define DSI_WORD_READ(name)                                       \
  int32_t name(DsiDSP dsp, int32_t address, int32_t* word) {      \
    DSI_ENTER(#name, dsp, address, word);                         \
    if (word) *word = 0;                                          \
    return WithDSP(dsp, [](SDsiDSPRecord&) {});                   \
  }
DSI_WORD_READ(SGetXWord)
DSI_WORD_READ(SGetYWord)
DSI_WORD_READ(SGetPWord)
#undef DSI_WORD_READ

#define DSI_BITS_CHANGE(name)                                                  \
  int32_t name(DsiDSP dsp, int32_t address, int32_t mask, int32_t bits) {      \
    DSI_ENTER(#name, dsp, address, mask, bits);                                \
    return WithDSP(dsp, [](SDsiDSPRecord&) {});                                \
  }
DSI_BITS_CHANGE(SChangeXBits)
DSI_BITS_CHANGE(SChangeYBits)
DSI_BITS_CHANGE(SChangePBits)
#undef DSI_BITS_CHANGE

int32_t SExecute(DsiDSP dsp, int16_t address) {
  DSI_ENTER("SExecute", dsp, address);
  return WithDSP(dsp, [](SDsiDSPRecord&) {});
}

#define DSI_DSP_VALUE(name)                                  \
  int32_t name(DsiDSP dsp, int32_t value) {                  \
    DSI_ENTER(#name, dsp, value);                            \
    return WithDSP(dsp, [](SDsiDSPRecord&) {});              \
  }
DSI_DSP_VALUE(SSetLeftRightBit)
DSI_DSP_VALUE(SGetControlLatch)
DSI_DSP_VALUE(SSetControlLatch)
DSI_DSP_VALUE(SSetInputDelay)
DSI_DSP_VALUE(SSetOutputDelay)
#undef DSI_DSP_VALUE

#define DSI_DSP_ONLY(name)                      \
  int32_t name(DsiDSP dsp) {                    \
    DSI_ENTER(#name, dsp);                      \
    return WithDSP(dsp, [](SDsiDSPRecord&) {}); \
  }
DSI_DSP_ONLY(SInitShell)
DSI_DSP_ONLY(SStartShell)
DSI_DSP_ONLY(SPauseShell)
DSI_DSP_ONLY(SResumeShell)
DSI_DSP_ONLY(SUpdateDSPPeripheral)
#undef DSI_DSP_ONLY

int32_t SGetDSPCodeInfo(DsiDSP dsp, int16_t selector, int32_t* value) {
  DSI_ENTER("SGetDSPCodeInfo", dsp, selector, value);
  if (value) *value = 0;
  return WithDSP(dsp, [](SDsiDSPRecord&) {});
}

int32_t DsiSendLo24of32(DsiDSP dsp, int32_t value, int32_t timeout) {
  DSI_ENTER("DsiSendLo24of32", dsp, value, timeout);
  return WithDSP(dsp, [](SDsiDSPRecord&) {});
}

int32_t DsiGetLo24ofS32(DsiDSP dsp, int32_t* value, int32_t timeout) {
  DSI_ENTER("DsiGetLo24ofS32", dsp, value, timeout);
  if (!value) return paramErr;
  const int32_t status = WithDSP(dsp, [](SDsiDSPRecord&) {});
  if (status == 0) *value = NextHostWord();
  return status;
}

int32_t DsiSendLo24of32Check(DsiDSP dsp, const int32_t* words, int32_t count, int32_t timeout) {
  DSI_ENTER("DsiSendLo24of32Check", dsp, words, count, timeout);
  return WithDSP(dsp, [](SDsiDSPRecord&) {});
}

int32_t DsiGetLo24ofS32Check(DsiDSP dsp, int32_t* words, int32_t count, int32_t timeout) {
  DSI_ENTER("DsiGetLo24ofS32Check", dsp, words, count, timeout);
  const int32_t status = WithDSP(dsp, [](SDsiDSPRecord&) {});
  for (int32_t i = 0; status == 0 && words && i < count; ++i) words[i] = NextHostWord();
  return status;
}

int32_t DsiDoHostCommand(DsiDSP dsp, int16_t command, int32_t timeout) {
  DSI_ENTER("DsiDoHostCommand", dsp, command, timeout);
  return WithDSP(dsp, [](SDsiDSPRecord&) {});
}

int32_t DsiSetHostBit(DsiDSP dsp, int16_t bit, int16_t value) {
  DSI_ENTER("DsiSetHostBit", dsp, bit, value);
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  if (!Owns(TheCards().mDSPs, dsp)) return kDSIBadReference;
  TheCards().mHostBits[{dsp, bit}] = value;
  return 0;
}

int32_t DsiGetHostBit(DsiDSP dsp, int16_t bit, int16_t* value) {
  DSI_ENTER("DsiGetHostBit", dsp, bit, value);
  if (!value) return paramErr;
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  if (!Owns(TheCards().mDSPs, dsp)) return kDSIBadReference;
  auto found = TheCards().mHostBits.find({dsp, bit});
  *value = found == TheCards().mHostBits.end() ? 0 : found->second;
  return 0;
}

// No card answers here: the wait ends at once.
int32_t DsiWaitHostBit(DsiDSP dsp, int16_t bit, uint8_t wanted, int32_t timeout) {
  DSI_ENTER("DsiWaitHostBit", dsp, bit, wanted, timeout);
  return WithDSP(dsp, [](SDsiDSPRecord&) {});
}

int32_t DsiGetNextCard(DsiCard card, DsiCard* next) {
  DSI_ENTER("DsiGetNextCard", card, next);
  if (!next) return paramErr;
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  if (!Owns(TheCards().mCards, card)) return kDSIBadReference;
  *next = card->mNext;
  return 0;
}

int32_t DsiGetCardType(DsiCard card, int32_t* type) {
  DSI_ENTER("DsiGetCardType", card, type);
  if (!type) return paramErr;
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  if (!Owns(TheCards().mCards, card)) return kDSIBadReference;
  *type = card->mCardType;
  return 0;
}

int32_t DsiIsDSP321(DsiDSP dsp, uint8_t* answer) {
  DSI_ENTER("DsiIsDSP321", dsp, answer);
  if (!answer) return paramErr;
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { *answer = (d.mCoreType & kDsiCoreType321) ? 1 : 0; });
}

int32_t DsiIsPresto(DsiDSP dsp, uint8_t* answer) {
  DSI_ENTER("DsiIsPresto", dsp, answer);
  if (!answer) return paramErr;
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { *answer = IsPresto(d) ? 1 : 0; });
}

int32_t DsiIsTDM2(DsiDSP dsp, uint8_t* answer) {
  DSI_ENTER("DsiIsTDM2", dsp, answer);
  if (!answer) return paramErr;
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { *answer = TheCards().mTDM2Types.count(CardTypeOf(d)) ? 1 : 0; });
}

int32_t DsiGetCardTypeFromDSP(DsiDSP dsp, int32_t* type) {
  DSI_ENTER("DsiGetCardTypeFromDSP", dsp, type);
  if (!type) return paramErr;
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { *type = CardTypeOf(d); });
}

int32_t DsiDSPToDriverType(DsiDSP dsp, int32_t* driverType) {
  DSI_ENTER("DsiDSPToDriverType", dsp, driverType);
  if (!driverType) return paramErr;
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { *driverType = DriverTypeOf(CardTypeOf(d)); });
}

int32_t DsiGetNextDSP(DsiDSP dsp, DsiDSP* next) {
  DSI_ENTER("DsiGetNextDSP", dsp, next);
  if (!next) return paramErr;
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { *next = d.mNext; });
}

int32_t DsiGetDSPClient(DsiDSP dsp, HostWord* client) {
  DSI_ENTER("DsiGetDSPClient", dsp, client);
  if (!client) return paramErr;
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { *client = d.mClient; });
}

int32_t DsiGetDSPClientVal(DsiDSP dsp, HostWord* value) {
  DSI_ENTER("DsiGetDSPClientVal", dsp, value);
  if (!value) return paramErr;
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { *value = d.mClientValue; });
}

int32_t DsiSetDSPClientVal(DsiDSP dsp, HostWord value) {
  DSI_ENTER("DsiSetDSPClientVal", dsp, value);
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { d.mClientValue = value; });
}

int32_t DsiGetDSPShell(DsiDSP dsp, DsiShell* shell) {
  DSI_ENTER("DsiGetDSPShell", dsp, shell);
  if (!shell) return paramErr;
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { *shell = d.mShell; });
}

int32_t DsiGetDSPInfoRecord(DsiDSP dsp, uint8_t* info) {
  DSI_ENTER("DsiGetDSPInfoRecord", dsp, info);
  if (!info) return paramErr;
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { std::memcpy(info, d.mInfo, sizeof d.mInfo); });
}

int32_t DsiGetDSPCoreType(DsiDSP dsp, uint32_t* coreType) {
  DSI_ENTER("DsiGetDSPCoreType", dsp, coreType);
  if (!coreType) return paramErr;
  return WithDSP(dsp, [&](SDsiDSPRecord& d) { *coreType = d.mCoreType; });
}

int32_t DsiCreateShell(DsiShell* shell) {
  DSI_ENTER("DsiCreateShell", shell);
  if (!shell) return paramErr;
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  TheCards().mShells.push_back(std::make_unique<SDsiShellRecord>());
  *shell = TheCards().mShells.back().get();
  return 0;
}

int32_t DsiDestroyShell(DsiShell shell) {
  DSI_ENTER("DsiDestroyShell", shell);
  std::lock_guard<std::mutex> lock(TheCards().mMutex);
  auto& shells = TheCards().mShells;
  auto found = std::find_if(shells.begin(), shells.end(), [shell](const auto& s) { return s.get() == shell; });
  if (found == shells.end()) return kDSIBadReference;
  for (auto& dsp : TheCards().mDSPs) {
    if (dsp->mShell == shell) dsp->mShell = nullptr;
  }
  shells.erase(found);
  return 0;
}

int32_t DsiSetShellID(DsiShell shell, uint32_t id) {
  DSI_ENTER("DsiSetShellID", shell, id);
  return WithShell(shell, [&](SDsiShellRecord& s) { s.mShellID = id; });
}

int32_t DsiSetShellIsStandard(DsiShell shell, uint8_t isStandard) {
  DSI_ENTER("DsiSetShellIsStandard", shell, isStandard);
  return WithShell(shell, [&](SDsiShellRecord& s) { s.mIsStandard = isStandard; });
}

int32_t DsiSetShellMaxLocation(DsiShell shell, uint32_t maxLocation) {
  DSI_ENTER("DsiSetShellMaxLocation", shell, maxLocation);
  return WithShell(shell, [&](SDsiShellRecord& s) { s.mMaxLocation = maxLocation; });
}

int32_t DsiSetShellDSPCode(DsiShell shell, HostWord code) {
  DSI_ENTER("DsiSetShellDSPCode", shell, code);
  return WithShell(shell, [&](SDsiShellRecord& s) { s.mDSPCode = code; });
}

int32_t DsiSetShellHostCodeHandler(DsiShell shell, HostWord handler) {
  DSI_ENTER("DsiSetShellHostCodeHandler", shell, handler);
  return WithShell(shell, [&](SDsiShellRecord& s) { s.mHostCommandHandler = handler; });
}

int32_t DsiDoHostCommandOnEmptyHostPort(DsiDSP dsp, int32_t command, int32_t timeout) {
  DSI_ENTER("DsiDoHostCommandOnEmptyHostPort", dsp, command, timeout);
  return WithDSP(dsp, [](SDsiDSPRecord&) {});
}

int32_t DsiDoHostCommandWithDataList(DsiDSP dsp, int32_t command, uint8_t sendFirst, int32_t receiveCount,
                                     int32_t* receive, int32_t sendCount, const int32_t* send) {
  DSI_ENTER("DsiDoHostCommandWithDataList", dsp, command, sendFirst, receiveCount, receive, sendCount, send);
  const int32_t status = WithDSP(dsp, [](SDsiDSPRecord&) {});
  for (int32_t i = 0; status == 0 && receive && i < receiveCount; ++i) receive[i] = NextHostWord();
  return status;
}

const SDSIControl* DSIStandInControl(void) {
  (void)gStarted;
  static const SDSIControl control = {standin::CommonControl(ResetCards), AddCard, AddDSP, QueueHostWord,
                                      SetTDM2CardType};
  return &control;
}

}  // extern "C"

#define BRIMLOW_CHECK_EXPORT(name) static_assert(std::is_same_v<decltype(&name), name##Proc>, #name);
BRIMLOW_DSI_EXPORTS(BRIMLOW_CHECK_EXPORT)
#undef BRIMLOW_CHECK_EXPORT
static_assert(std::is_same_v<decltype(&DSIStandInControl), DSIStandInControlProc>);
