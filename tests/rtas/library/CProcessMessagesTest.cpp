#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ProcessTestSupport.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "tests/rtas/library/StandInFrameworks.h"

// A process linked to the host's audio engine (the stand-in): its names,
// listeners, the tokens it posts, and the idle poll that answers the
// engine's.

namespace {

class LinkGroup : public CProcessGroup {
 public:
  int32_t GetTypeIDs(int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
  int32_t GetProductName(char* text, int32_t) override {
    text[0] = 0;
    return 0;
  }
};

using Bytes = std::vector<uint8_t>;

void PutWord(Bytes& bytes, size_t at, uint32_t word) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(word >> (8 * i));  // little-endian
}

uint32_t Code(const char (&text)[5]) {
  return static_cast<uint32_t>(text[0]) << 24 | static_cast<uint32_t>(text[1]) << 16 |
         static_cast<uint32_t>(text[2]) << 8 | static_cast<uint32_t>(text[3]);
}

// A token laid out by hand: header words, zeros to 36, the length, the
// payload.
Bytes Token(int32_t destination, const char (&type)[5], const char (&subType)[5], const Bytes& payload) {
  Bytes bytes(38 + payload.size(), 0);
  PutWord(bytes, 0, static_cast<uint32_t>(destination));
  PutWord(bytes, 4, Code(type));
  PutWord(bytes, 8, Code(subType));
  PutWord(bytes, 12, Code("DGDN"));
  PutWord(bytes, 16, Code("Ctrl"));
  PutWord(bytes, 20, static_cast<uint32_t>(destination));
  bytes[36] = static_cast<uint8_t>(bytes.size());
  bytes[37] = 0;
  std::copy(payload.begin(), payload.end(), bytes.begin() + 38);
  return bytes;
}

Bytes ValueBytes(int32_t value) {
  Bytes bytes(4);
  PutWord(bytes, 0, static_cast<uint32_t>(value));
  return bytes;
}

// Touch state (16 bits) and the word 1 after it.
Bytes TouchBytes(int16_t state) { return {static_cast<uint8_t>(state), 0, 1, 0, 0, 0}; }

uint32_t gTicks = 0;
uint32_t FakeTicks() { return gTicks; }

// A process whose view refresh takes a tick, to see the poll's budget.
class SlowProcess : public TestProcess {
 public:
  using TestProcess::TestProcess;
  int32_t UpdateControlView(int32_t n) override {
    mRefreshed.push_back(n);
    ++gTicks;
    return 0;
  }
  std::vector<int32_t> mRefreshed;
};

class ProcessMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(InitDAELibAccess(), 0);
    frameworks.DAE()->SetGestalt(ficgestalt::kLinkAllowed, 1);
    group = std::make_unique<LinkGroup>();
    group->AttachDAELink();
    ASSERT_NE(CProcessGroup::GetDAEObject(), 0u);
    script.controls = 2;
    script.makeView = [](std::vector<std::string>* log) {
      auto* root = new FakeView(FourCC("root"), log);
      root->Add(new FakeView(FourCC("ct01"), log));
      return root;
    };
  }
  void TearDown() override {
    process.reset();
    group.reset();
  }

  template <class P = TestProcess>
  P& MakeProcess() {
    auto made = std::make_unique<P>(&script);
    P& p = *made;
    p.InitProcess();
    process = std::move(made);
    script.log.clear();
    frameworks.DAE()->mCommon.ClearCalls();
    return p;
  }

  std::vector<Bytes> Dispatched() const {
    std::vector<Bytes> tokens;
    for (int32_t i = 0; i < frameworks.DAE()->CountDispatchedTokens(); ++i) {
      Bytes token(64);
      token.resize(static_cast<size_t>(frameworks.DAE()->GetDispatchedToken(i, token.data(), 64)));
      tokens.push_back(token);
    }
    return tokens;
  }

  void ClearDispatched() {
    // The stand-in keeps every posted token; a fresh count starts here.
    mSeen = frameworks.DAE()->CountDispatchedTokens();
  }
  std::vector<Bytes> NewTokens() const {
    std::vector<Bytes> all = Dispatched();
    return std::vector<Bytes>(all.begin() + mSeen, all.end());
  }

  // The listeners the process made: the engine's objects with the link's
  // task (the link itself is one of the engine's objects too).
  std::vector<SDAEListenerInfo> Listeners() const {
    std::vector<SDAEListenerInfo> listeners;
    SDAEListenerInfo info{};
    for (int32_t i = 0; frameworks.DAE()->GetListener(i, &info); ++i) {
      if (info.mTask == CProcessGroup::GetDAEObject()) listeners.push_back(info);
    }
    return listeners;
  }

  int32_t NameID(int32_t n) const {
    void* id = nullptr;
    process->GetControlNameID(n, &id);
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(id));
  }

  StandInFrameworks frameworks;
  std::unique_ptr<LinkGroup> group;
  SProcessScript script;
  std::unique_ptr<CProcess> process;
  int32_t mSeen = 0;
};

}  // namespace

TEST_F(ProcessMessagesTest, InitialisationReservesNamesAndThreeListenersPerControl) {
  TestProcess& p = MakeProcess();
  const SDAEControl* dae = frameworks.DAE();
  const int32_t instance = dae->FindNameID(0, "Plug-Ins/Undefined BaseName/Inst0");
  ASSERT_NE(instance, 0);
  EXPECT_EQ(p.InstanceNameID(), instance);
  EXPECT_EQ(dae->FindNameID(instance, "Control 1"), NameID(1));
  EXPECT_EQ(dae->FindNameID(instance, "Control 2"), NameID(2));
  EXPECT_NE(NameID(1), 0);
  EXPECT_EQ(p.RootNameID(), dae->FindNameID(0, ""));

  struct Expected {
    int32_t control;
    uint32_t type, subType;
  };
  const Expected expected[] = {{1, Code("CURV"), Code("CAVL")}, {1, Code("GETV"), Code("CAVL")},
                               {1, Code("SETV"), Code("CHIL")}, {2, Code("CURV"), Code("CAVL")},
                               {2, Code("GETV"), Code("CAVL")}, {2, Code("SETV"), Code("CHIL")}};
  const std::vector<SDAEListenerInfo> listeners = Listeners();
  ASSERT_EQ(listeners.size(), 6u);
  EXPECT_EQ(dae->CountListeners(), 7);  // and the link's own object
  for (size_t i = 0; i < 6; ++i) {
    const SDAEListenerInfo& info = listeners[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(info.mNameID, NameID(expected[i].control));
    EXPECT_EQ(info.mType, expected[i].type);
    EXPECT_EQ(info.mSubType, expected[i].subType);
    EXPECT_EQ(info.mGoal, 0);
    EXPECT_EQ(info.mCriticalFlag, 0);
    EXPECT_EQ(info.mLatestFlag, 1);
    EXPECT_EQ(info.mProtocol, Code("Ctrl"));
    EXPECT_EQ(info.mManufacturer, Code("DGDN"));
    EXPECT_NE(info.mTaskValue, 0u);
  }
}

TEST_F(ProcessMessagesTest, ReleaseFreesNamesAndListenersOnceHoweverOftenItRuns) {
  TestProcess& p = MakeProcess();
  const SDAEControl* dae = frameworks.DAE();
  p.ReleaseProcess();
  EXPECT_EQ(dae->CountNames(), 0);
  EXPECT_TRUE(Listeners().empty());
  EXPECT_EQ(dae->mCommon.CountCalls("FicDelete"), 6);
  EXPECT_EQ(dae->mCommon.CountCalls("FicSDSFreeName"), 3);
  EXPECT_FALSE(p.HasControlMessages());
  EXPECT_EQ(p.InstanceNameID(), 0);
  dae->mCommon.ClearCalls();
  p.ReleaseProcess();
  EXPECT_EQ(dae->mCommon.CountCalls(nullptr), 0);
  // Nothing is posted for a released process.
  EXPECT_EQ(p.TouchControl(1), 0);
  EXPECT_EQ(dae->CountDispatchedTokens(), 0);
}

TEST_F(ProcessMessagesTest, AFailedInitialisationLeavesWhatTheReleaseCleansUp) {
  frameworks.DAE()->mCommon.FailFunction("FicNewObject", 0);
  TestProcess p(&script);
  try {
    p.InitProcess();
    ADD_FAILURE() << "listeners without objects";
  } catch (const CDAEError& error) {
    EXPECT_EQ(error.Code(), -7053);
  }
  EXPECT_GT(frameworks.DAE()->CountNames(), 0);
  p.ReleaseProcess();
  EXPECT_EQ(frameworks.DAE()->CountNames(), 0);
  EXPECT_TRUE(Listeners().empty());
}

TEST_F(ProcessMessagesTest, LinkedSetPostsTheValueBetweenATouchAndARelease) {
  TestProcess& p = MakeProcess();
  const int32_t before = p.GetControl(2)->GetValue();
  EXPECT_EQ(p.SetControlValue(2, 0x01020304), 0);
  const std::vector<Bytes> expected = {
      Token(NameID(2), "SETV", "CTCH", TouchBytes(1)),
      Token(p.RootNameID(), "SETV", "GIAC", {}),
      Token(NameID(2), "SETV", "CAVL", ValueBytes(0x01020304)),
      Token(NameID(2), "SETV", "CTCH", TouchBytes(0)),
  };
  EXPECT_EQ(Dispatched(), expected);
  // The engine applies the value later; nothing has changed yet.
  EXPECT_EQ(p.GetControl(2)->GetValue(), before);
  EXPECT_TRUE(script.log.empty());
  EXPECT_EQ(p.GetChangeCounter(), 0);

  ClearDispatched();
  EXPECT_EQ(p.UpdateControlValue(2, 0x01020304), 0);
  EXPECT_EQ(p.GetControl(2)->GetValue(), 0x01020304);
  EXPECT_EQ(script.log, (std::vector<std::string>{"changed 2"}));
  EXPECT_EQ(p.GetChangeCounter(), 1);
  EXPECT_EQ(NewTokens(), (std::vector<Bytes>{Token(NameID(2), "CURV", "CAVL", ValueBytes(0x01020304))}));

  // A number without a control has no name to post to.
  ClearDispatched();
  EXPECT_EQ(p.SetControlValue(3, 1), 0);
  EXPECT_EQ(p.SetControlValue(-1, 1), 0);
  EXPECT_EQ(p.TouchControl(0), 0);
  EXPECT_TRUE(NewTokens().empty());
}

TEST_F(ProcessMessagesTest, TouchesAreCountedAndOnlyTheOutermostIsPosted) {
  TestProcess& p = MakeProcess();
  p.TouchControl(1);
  p.TouchControl(1);
  p.ReleaseControl(1);
  EXPECT_EQ(Dispatched(), (std::vector<Bytes>{Token(NameID(1), "SETV", "CTCH", TouchBytes(1)),
                                              Token(p.RootNameID(), "SETV", "GIAC", {})}));
  EXPECT_EQ(p.GetTouchCount(1), 1);
  ClearDispatched();
  p.ReleaseControl(1);
  EXPECT_EQ(NewTokens(), (std::vector<Bytes>{Token(NameID(1), "SETV", "CTCH", TouchBytes(0))}));
  // A release nobody touched for is not posted, and the next touch still
  // reaches the engine.
  ClearDispatched();
  p.ReleaseControl(1);
  EXPECT_TRUE(NewTokens().empty());
  EXPECT_EQ(p.GetTouchCount(1), 0);
  p.TouchControl(1);
  EXPECT_EQ(NewTokens().size(), 2u);
}

TEST_F(ProcessMessagesTest, TheIdlePollAnswersTheEnginesTokens) {
  TestProcess& p = MakeProcess();
  const SDAEControl* dae = frameworks.DAE();
  p.GetControl(1)->SetValue(4242);

  // A value request gets the current value back.
  const Bytes request = Token(NameID(1), "GETV", "CAVL", {});
  ASSERT_EQ(dae->PostToken(request.data()), 0);
  ClearDispatched();
  EXPECT_EQ(p.Idle(nullptr), 0);
  EXPECT_EQ(NewTokens(), (std::vector<Bytes>{Token(NameID(1), "CURV", "CAVL", ValueBytes(4242))}));
  // The answer reaches the process's own value listener as well, within
  // the same poll: a refresh of the control's view.
  EXPECT_EQ(dae->mCommon.CountCalls("FicSDSDoneWithToken"), 2);
  EXPECT_EQ(dae->mCommon.CountCalls("FicPersonalityDoIdle"), 1);
  EXPECT_EQ(script.log, (std::vector<std::string>{"c:UpdateEditors"}));

  // A value the engine applied refreshes the control's view.
  script.log.clear();
  const Bytes applied = Token(NameID(1), "CURV", "CAVL", ValueBytes(1));
  ASSERT_EQ(dae->PostToken(applied.data()), 0);
  p.Idle(nullptr);
  EXPECT_EQ(script.log, (std::vector<std::string>{"c:UpdateEditors"}));

  // A highlight: state at 38, values at 40 and 54, its text from 42.
  Bytes highlight = Token(NameID(1), "SETV", "CHIL", Bytes(18, 0));
  highlight[38] = 1;
  highlight[40] = 7;
  highlight[42] = 3;
  std::memcpy(&highlight[43], "hot", 3);
  highlight[54] = 5;
  ASSERT_EQ(dae->PostToken(highlight.data()), 0);
  script.log.clear();
  p.Idle(nullptr);
  auto* view = static_cast<FakeView*>(p.GetView()->FindViewByID(FourCC("ct01")));
  EXPECT_EQ(script.log, (std::vector<std::string>{"c:SetHighlighted", "c:SetHighlight"}));
  EXPECT_TRUE(view->mHighlighted);
  EXPECT_EQ(view->mColour, 5);
  EXPECT_EQ(view->mSecond, 7);
  EXPECT_EQ(view->mText, "hot");
}

TEST_F(ProcessMessagesTest, ThePollStopsOnceItsTwoTicksHavePassed) {
  script.controls = 3;
  SlowProcess& p = MakeProcess<SlowProcess>();
  p.SetTickClock(FakeTicks);
  gTicks = 1000;
  for (int32_t n = 1; n <= 3; ++n) {
    const Bytes applied = Token(NameID(n), "CURV", "CAVL", ValueBytes(n));
    ASSERT_EQ(frameworks.DAE()->PostToken(applied.data()), 0);
  }
  p.Idle(nullptr);
  EXPECT_EQ(p.mRefreshed, (std::vector<int32_t>{1, 2}));
  p.Idle(nullptr);
  EXPECT_EQ(p.mRefreshed, (std::vector<int32_t>{1, 2, 3}));
}
