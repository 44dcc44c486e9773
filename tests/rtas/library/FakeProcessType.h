#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "GroupSlotProbe.h"
#include "rtas/library/CProcessTypeInterface.h"

// A process type that records every operation the group calls on it (the
// type slot, the arguments' bits) and answers with what the test set. Its
// instances are only numbers: the process model is not needed to see what
// the group does with a type.
class FakeProcessType : public CProcessTypeInterface {
 public:
  struct SCall {
    int typeSlot;
    std::vector<uint64_t> args;
  };

  FakeProcessType(uint32_t typeID, int32_t kindCode, std::vector<std::string>* events = nullptr)
      : mTypeID(typeID), mEvents(events) {
    SetKindCode(kindCode);
  }
  ~FakeProcessType() override { Event("deleted"); }

  void InitProcessType() override { Event("init"); }
  void ReleaseAllProcesses() override {
    Event("release");
    mInstances.clear();
  }
  void SetProcessGroup(CProcessGroup* group) override { mGroup = group; }
  void SetTypeIndex(int16_t index) override { mTypeIndex = index; }
  int32_t GetTypeIndex(int16_t* index) override {
    *index = mTypeIndex;
    return 0;
  }
  int32_t GetTypeName(int32_t maxLength, char* text) override {
    Note(14, {BitsOf(maxLength), BitsOf(text)});
    return 14;
  }
  int32_t GetTypeID(uint32_t* typeID) override {
    *typeID = mTypeID;
    return 0;
  }
  // The lowest free number, as the process types number their instances.
  int32_t CreateProcess(int32_t* instanceNumber) override {
    if (mCreateThrows) throw std::runtime_error("creation failed");
    if (mCreateResult != 0) return mCreateResult;
    int32_t n = 1;
    while (mInstances.count(n)) ++n;
    mInstances.insert(n);
    if (instanceNumber) *instanceNumber = n;
    return 0;
  }
  int32_t DeleteProcessInstance(int32_t instanceNumber) override {
    return mInstances.erase(instanceNumber) ? 0 : -7126;
  }
  int32_t GetProcessWord1(int32_t instanceNumber, HostWord* word) override {
    Note(40, {BitsOf(instanceNumber), BitsOf(word)});
    if (word) *word = mWord1;
    return mWord1Result;
  }
  int32_t GetProcessWord2(int32_t instanceNumber, HostWord* word) override {
    Note(41, {BitsOf(instanceNumber), BitsOf(word)});
    if (word) *word = mWord2;
    return 0;
  }
  int32_t QueryTypeFeature(int32_t feature, int32_t* value) override {
    Note(94, {BitsOf(feature), BitsOf(value)});
    return 94;
  }
  int32_t GetStemFormatName(int32_t a, int32_t b, uint8_t* text) override {
    Note(95, {BitsOf(a), BitsOf(b), BitsOf(text)});
    return mStemNameResult;
  }
  bool GetEngineProcessWord(int32_t instanceNumber, HostWord* word) override {
    if (!mInstances.count(instanceNumber) || !mEngineConnected) return false;
    *word = mEngineWord;
    return true;
  }

#define BRIMLOW_FAKE_TAIL_BITS_1
#define BRIMLOW_FAKE_TAIL_BITS_2 BitsOf(a2)
#define BRIMLOW_FAKE_TAIL_BITS_3 BitsOf(a2), BitsOf(a3)
#define BRIMLOW_FAKE_TAIL_BITS_4 BitsOf(a2), BitsOf(a3), BitsOf(a4)
#define BRIMLOW_FAKE_TAIL_BITS_5 BitsOf(a2), BitsOf(a3), BitsOf(a4), BitsOf(a5)
#define BRIMLOW_FAKE_TAIL_BITS_6 BitsOf(a2), BitsOf(a3), BitsOf(a4), BitsOf(a5), BitsOf(a6)
#define BRIMLOW_FAKE_TAIL_BITS_7 BitsOf(a2), BitsOf(a3), BitsOf(a4), BitsOf(a5), BitsOf(a6), BitsOf(a7)
#define BRIMLOW_FAKE_BITS_0
#define BRIMLOW_FAKE_BITS_1 BitsOf(a1)
#define BRIMLOW_FAKE_BITS_2 BitsOf(a1), BitsOf(a2)
#define BRIMLOW_FAKE_KEEP(typeSlot, Ret, Name, TypeName, n, types)
#define BRIMLOW_FAKE_OWN(typeSlot, Ret, Name, TypeName, n, types)
#define BRIMLOW_FAKE_FORWARD(typeSlot, Ret, Name, TypeName, n, types) \
  Ret Name(BRIMLOW_TAIL_PARAMS(n, types)) override {                  \
    Note(typeSlot, {BRIMLOW_CAT(BRIMLOW_FAKE_TAIL_BITS_, n)});         \
    return Answer<Ret>(typeSlot);                                      \
  }
#define BRIMLOW_FAKE_DEFAULT_FORWARD BRIMLOW_FAKE_FORWARD
#define BRIMLOW_FAKE_BROADCAST(typeSlot, Ret, Name, TypeName, n, types) \
  int32_t TypeName(BRIMLOW_PARAMS(n, types)) override {                  \
    Note(typeSlot, {BRIMLOW_CAT(BRIMLOW_FAKE_BITS_, n)});                 \
    return mBroadcastResult;                                             \
  }
#define BRIMLOW_FAKE_SLOT(slot, selector, Ret, Name, kind, result, w1, v1, w2, v2, group, typeSlot, TypeName, n, \
                          types)                                                                                 \
  BRIMLOW_CAT(BRIMLOW_FAKE_, group)(typeSlot, Ret, Name, TypeName, n, types)
  BRIMLOW_GROUP_INTERFACE_SLOTS(BRIMLOW_FAKE_SLOT)
#undef BRIMLOW_FAKE_SLOT
#undef BRIMLOW_FAKE_KEEP
#undef BRIMLOW_FAKE_OWN
#undef BRIMLOW_FAKE_FORWARD
#undef BRIMLOW_FAKE_DEFAULT_FORWARD
#undef BRIMLOW_FAKE_BROADCAST

  // What a forwarded operation answers: a number that names the slot.
  static int64_t AnswerBits(int typeSlot) { return 1000 + typeSlot; }

  std::vector<SCall> mCalls;
  std::set<int32_t> mInstances;
  CProcessGroup* mGroup = nullptr;
  int16_t mTypeIndex = -1;
  int32_t mCreateResult = 0;
  bool mCreateThrows = false;
  int32_t mBroadcastResult = 0;
  int32_t mStemNameResult = -7000;
  int32_t mWord1Result = 0;
  HostWord mWord1 = 0x11, mWord2 = 0x22;
  bool mEngineConnected = false;
  HostWord mEngineWord = 0;
  int16_t mInputs = 2, mOutputs = 2;

 private:
  template <class Ret>
  Ret Answer(int typeSlot) {
    if constexpr (std::is_pointer_v<Ret>) {
      return reinterpret_cast<Ret>(static_cast<uintptr_t>(AnswerBits(typeSlot)));
    } else {
      return static_cast<Ret>(AnswerBits(typeSlot));
    }
  }
  void Note(int typeSlot, std::vector<uint64_t> args) { mCalls.push_back({typeSlot, std::move(args)}); }
  void Event(const std::string& what) {
    if (mEvents) mEvents->push_back(std::to_string(mTypeID) + " " + what);
  }

  uint32_t mTypeID;
  std::vector<std::string>* mEvents;
};
