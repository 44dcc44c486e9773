// The engine stand-in's own logic, reached as the plug-in reaches it:
// through its bundle, by name.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "platform/protools/HostFrameworks.h"

namespace {

class Engine : public ::testing::Test {
 protected:
  void SetUp() override {
    mBundle = platform::OpenHostFramework(platform::StandInFrameworksFolder() + "/DAE.framework");
    ASSERT_NE(mBundle, nullptr);
    mControl = platform::DAEControlOf(mBundle);
    ASSERT_NE(mControl, nullptr);
    mControl->mCommon.Reset();
  }
  void TearDown() override {
    mControl->mCommon.Reset();
    CFRelease(mBundle);
  }
  template <class Proc>
  Proc Get(const char* name) {
    Proc proc = reinterpret_cast<Proc>(CFBundleGetFunctionPointerForName(mBundle, CFStringMakeConstantString(name)));
    EXPECT_NE(proc, nullptr) << name;
    return proc;
  }

  CFBundleRef mBundle = nullptr;
  const SDAEControl* mControl = nullptr;
};

// A control token laid out byte by byte, as the library builds it.
std::vector<uint8_t> Token(int32_t destination, OSType type, OSType subType, int32_t value) {
  std::vector<uint8_t> token(42, 0);
  const uint16_t length = 42;
  std::memcpy(&token[0], &destination, 4);
  std::memcpy(&token[4], &type, 4);
  std::memcpy(&token[8], &subType, 4);
  std::memcpy(&token[20], &destination, 4);
  std::memcpy(&token[36], &length, 2);
  std::memcpy(&token[38], &value, 4);
  return token;
}

constexpr OSType kCURV = 0x43555256, kGETV = 0x47455456, kCAVL = 0x4341564c;

}  // namespace

TEST_F(Engine, GestaltDefaultsAreUnlinkedWithAQuantumAndHostServices) {
  auto gestalt = Get<FicGestaltProc>("FicGestalt");
  intptr_t answer = 0;
  EXPECT_EQ(gestalt(ficgestalt::kVariableQuantum, &answer), 0);
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(gestalt(ficgestalt::kHostServices, &answer), 0);
  EXPECT_EQ(reinterpret_cast<SHostServices*>(answer), mControl->HostServices());
  answer = 5;
  EXPECT_EQ(gestalt(ficgestalt::kLinkAllowed, &answer), kDAEUnknownSelector);
  EXPECT_EQ(answer, 5);  // the engine itself writes nothing when it cannot answer
  mControl->SetGestalt(ficgestalt::kLinkAllowed, 1);
  EXPECT_EQ(gestalt(ficgestalt::kLinkAllowed, &answer), 0);
  EXPECT_EQ(Get<FicGetMaximumRTASQuantumProc>("FicGetMaximumRTASQuantum")(), 1024);
  EXPECT_EQ(mControl->mCommon.CountCalls("FicGestalt"), 4);
}

TEST_F(Engine, NamesAreReservedUnderTheirParentOnce) {
  auto reserve = Get<FicSDSReserveNameProc>("FicSDSReserveName");
  auto lookup = Get<FicSDSGetNameIdProc>("FicSDSGetNameId");
  auto release = Get<FicSDSFreeNameProc>("FicSDSFreeName");
  const unsigned char empty[] = {0}, inst[] = {5, 'I', 'n', 's', 't', '1'}, gain[] = {4, 'G', 'a', 'i', 'n'};
  int32_t root = 0, instance = 0, control = 0, again = 0;
  EXPECT_EQ(lookup(0, empty, &root), 0);
  EXPECT_NE(root, 0);
  EXPECT_EQ(reserve(0, inst, &instance), 0);
  EXPECT_EQ(reserve(instance, gain, &control), 0);
  EXPECT_EQ(reserve(0, inst, &again), kDAENameInUse);
  EXPECT_EQ(reserve(999, gain, &again), kDAEUnknownName);
  EXPECT_EQ(mControl->FindNameID(instance, "Gain"), control);
  EXPECT_EQ(mControl->CountNames(), 2);
  EXPECT_EQ(release(0, control), kDAEUnknownName);  // not its parent
  EXPECT_EQ(release(instance, control), 0);
  EXPECT_EQ(release(0, instance), 0);
  EXPECT_EQ(mControl->CountNames(), 0);
}

TEST_F(Engine, TokensReachTheMatchingListenersOfATask) {
  auto server = Get<FicNewServerProc>("FicNewServer")();
  auto type = Get<FicFindStandardTypeProc>("FicFindStandardType")(server, 56);
  ASSERT_NE(type, 0u);
  EXPECT_EQ(Get<FicFindStandardTypeProc>("FicFindStandardType")(server, 56), type);
  auto newObject = Get<FicNewObjectProc>("FicNewObject");
  const FicRef task = newObject(server, type), curv = newObject(server, type), getv = newObject(server, type);
  ASSERT_TRUE(task && curv && getv);
  EXPECT_EQ(newObject(type, server), 0u);  // arguments the wrong way round
  auto setName = Get<FicSDSSetListenerNameProc>("FicSDSSetListenerName");
  auto setType = Get<FicSDSSetListenerTypeProc>("FicSDSSetListenerType");
  auto setSubType = Get<FicSDSSetListenerSubTypeProc>("FicSDSSetListenerSubType");
  auto setTask = Get<FicSDSSetListenerTaskProc>("FicSDSSetListenerTask");
  auto setTaskValue = Get<FicSDSSetListenerTaskValProc>("FicSDSSetListenerTaskVal");
  auto setLatest = Get<FicSDSSetListenerLatestFlagProc>("FicSDSSetListenerLatestFlag");
  for (const auto& [listener, kind] : {std::pair<FicRef, OSType>{curv, kCURV}, {getv, kGETV}}) {
    EXPECT_EQ(setName(listener, 7, 0), 0);
    EXPECT_EQ(setType(listener, kind), 0);
    EXPECT_EQ(setSubType(listener, kCAVL), 0);
    EXPECT_EQ(setTask(listener, task), 0);
    EXPECT_EQ(setTaskValue(listener, listener * 10), 0);
  }
  EXPECT_EQ(setLatest(curv, 1), 0);
  EXPECT_EQ(setName(FicRef{12345}, 7, 0), kDAEUnknownObject);

  auto dispatch = Get<FicSDSDispatchTokenProc>("FicSDSDispatchToken");
  auto next = Get<FicSDSGetTokenAndTaskValProc>("FicSDSGetTokenAndTaskVal");
  auto done = Get<FicSDSDoneWithTokenProc>("FicSDSDoneWithToken");
  EXPECT_EQ(dispatch(Token(7, kCURV, kCAVL, 1).data()), 0);
  EXPECT_EQ(dispatch(Token(7, kCURV, kCAVL, 2).data()), 0);  // replaces the unread 1: latest only
  EXPECT_EQ(mControl->PostToken(Token(7, kGETV, kCAVL, 3).data()), 0);
  EXPECT_EQ(dispatch(Token(8, kCURV, kCAVL, 4).data()), 0);  // no listener of that name
  EXPECT_EQ(mControl->CountDispatchedTokens(), 3);          // the engine's own post is not the plug-in's

  std::vector<std::pair<HostWord, int32_t>> received;
  void* token = nullptr;
  HostWord taskValue = 0, listener = 0;
  while (next(task, &token, &taskValue, &listener) == 0) {
    int32_t value;
    std::memcpy(&value, static_cast<uint8_t*>(token) + 38, 4);
    received.emplace_back(taskValue, value);
    EXPECT_EQ(done(token), 0);
  }
  EXPECT_EQ(token, nullptr);
  const std::vector<std::pair<HostWord, int32_t>> expected = {{curv * 10, 2}, {getv * 10, 3}};
  EXPECT_EQ(received, expected);
  EXPECT_EQ(done(token), kDAEBadToken);

  std::vector<uint8_t> shortToken = Token(7, kCURV, kCAVL, 0);
  shortToken[36] = 10;  // shorter than a header
  EXPECT_EQ(dispatch(shortToken.data()), kDAEBadToken);
  EXPECT_EQ(mControl->CountListeners(), 3);
  EXPECT_EQ(Get<FicDeleteProc>("FicDelete")(curv), 0);
  EXPECT_EQ(Get<FicDeleteProc>("FicDelete")(curv), kDAEUnknownObject);
  EXPECT_EQ(mControl->CountLiveObjects(), 3);  // the server and two objects
}

TEST_F(Engine, CriticalSectionsAreRecursiveAndOnlyTheirOwnerLeaves) {
  const FicRef section = Get<FicCreateCriticalSectionProc>("FicCreateCriticalSection")();
  auto enter = Get<FicEnterCriticalSectionProc>("FicEnterCriticalSection");
  auto leave = Get<FicLeaveCriticalSectionProc>("FicLeaveCriticalSection");
  EXPECT_EQ(enter(section), 0);
  EXPECT_EQ(enter(section), 0);
  EXPECT_EQ(mControl->CriticalSectionDepth(section), 2);
  int32_t otherLeave = 0;
  uint8_t otherTry = 1;
  std::thread other([&] {
    otherLeave = leave(section);
    SHostServices* services = mControl->HostServices();
    otherTry = services->mVtbl->TryEnterCriticalSection(services, section);
  });
  other.join();
  EXPECT_EQ(otherLeave, kDAENotOwner);
  EXPECT_EQ(otherTry, 0);  // held here, so not entered there
  EXPECT_EQ(leave(section), 0);
  EXPECT_EQ(leave(section), 0);
  EXPECT_EQ(leave(section), kDAENotOwner);
  EXPECT_EQ(Get<FicDeleteCriticalSectionProc>("FicDeleteCriticalSection")(section), 0);
  EXPECT_EQ(enter(section), kDAEUnknownObject);
}

TEST_F(Engine, PlugInSpecIdsLandAtTheirOffsetsAndFailuresAreMadeOnRequest) {
  SFicPlugInSpec spec;
  std::memset(&spec, 0xff, sizeof spec);
  auto create = Get<FicCreatePlugInSpecProc>("FicCreatePlugInSpec");
  EXPECT_EQ(create(0x4b423330, 0x4b425958, 0x45464e31, &spec), 0);
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&spec);
  uint32_t word;
  std::memcpy(&word, bytes + 32, 4);
  EXPECT_EQ(word, 0x4b423330u);
  std::memcpy(&word, bytes + 36, 4);
  EXPECT_EQ(word, 0x4b425958u);
  std::memcpy(&word, bytes + 40, 4);
  EXPECT_EQ(word, 0x45464e31u);
  mControl->mCommon.FailFunction("FicNewServer", -1);
  mControl->mCommon.FailFunction("FicMain", -42);
  EXPECT_EQ(Get<FicNewServerProc>("FicNewServer")(), 0u);
  EXPECT_EQ(Get<FicMainProc>("FicMain")(), -42);
  SStandInCall call{};
  ASSERT_TRUE(mControl->mCommon.GetCall(0, &call));
  EXPECT_STREQ(call.mName, "FicCreatePlugInSpec");
  EXPECT_EQ(call.mArgCount, 4);
  EXPECT_EQ(call.mArgs[0], 0x4b423330);
}
