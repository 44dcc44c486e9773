#include "rtas/library/CProcessGroup.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FakeProcessType.h"
#include "GroupSlotProbe.h"
#include "platform/carboncore/Resources.h"
#include "platform/corefoundation/CFBundleStandIn.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/FourCC.h"
#include "rtas/library/GroupInterfaceSlotTable.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "rtas/library/PString.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

// The probe's first argument, so forwarded probe calls find this type.
constexpr uint32_t kProbeType = 101;
constexpr uint32_t kOtherType = 202;

class TestGroup : public CProcessGroup {
 public:
  int32_t GetTypeIDs(int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
  int32_t GetProductName(char* text, int32_t maxLength) override {
    unsigned char* name = reinterpret_cast<unsigned char*>(text);
    name[0] = 0;
    static const unsigned char kBrimlow[] = {7, 'B', 'r', 'i', 'm', 'l', 'o', 'w'};
    AppendPString(maxLength, kBrimlow, name);
    return 0;
  }
  void CreateProcessTypes() override {
    for (auto& type : mPending) AddProcessType(std::move(type));
    mPending.clear();
  }
  // Types the next initialisation adds, returned for inspection.
  FakeProcessType* Add(std::unique_ptr<FakeProcessType> type) {
    FakeProcessType* raw = type.get();
    mPending.push_back(std::move(type));
    return raw;
  }

  int mSystemPasses = 0;
  int32_t mDepthDuringPass = -1;
  int32_t mSectionDepthDuringPass = -1;
  const SDAEControl* mDAE = nullptr;

 protected:
  void LetSystemRun() override {
    ++mSystemPasses;
    mDepthDuringPass = GetLockDepth();
    if (mDAE && GetLockHandle()) mSectionDepthDuringPass = mDAE->CriticalSectionDepth(GetLockHandle());
  }

 private:
  std::vector<std::unique_ptr<FakeProcessType>> mPending;
};

int32_t CodeOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const CDAEError& error) {
    return error.Code();
  }
  return 0;
}

// A group over the framework stand-ins, with a bundle whose resource map
// can be opened.
class ProcessGroupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bundle = platform::CreateSymbolBundle("com.kestrelbay.rtas.GroupTest", nullptr, 0);
    CProcessGroup::SetBundleRef(bundle);
    hostFile = CurResFile();
  }
  void TearDown() override {
    group.reset();
    CProcessGroup::SetBundleRef(nullptr);
    CFRelease(bundle);
    EXPECT_EQ(CProcessGroup::GetResourceNesting(), 0);
    EXPECT_EQ(CurResFile(), hostFile);
  }

  TestGroup& MakeGroup(std::initializer_list<std::pair<uint32_t, int32_t>> types = {{kProbeType, 0}}) {
    group = std::make_unique<TestGroup>();
    group->mDAE = frameworks.DAE();
    for (const auto& [id, kind] : types) fakes.push_back(group->Add(std::make_unique<FakeProcessType>(id, kind, &events)));
    EXPECT_EQ(group->InitProcessGroup(), 0);
    return *group;
  }

  StandInFrameworks frameworks;
  CFBundleRef bundle = nullptr;
  int16_t hostFile = 0;
  std::vector<std::string> events;
  std::vector<FakeProcessType*> fakes;
  std::unique_ptr<TestGroup> group;
};

}  // namespace

TEST_F(ProcessGroupTest, ForwardedSlotsReachTheirTypeSlotWithTheirArguments) {
  TestGroup& g = MakeGroup();
  FakeProcessType& type = *fakes[0];
  const std::map<int, GroupSlotInvoker> invokers = GroupSlotInvokers();
  for (size_t i = 0; i < kGroupInterfaceSlotCount; ++i) {
    const SGroupInterfaceSlot& row = kGroupInterfaceSlots[i];
    if (row.mGroup != SGroupInterfaceSlot::kForward && row.mGroup != SGroupInterfaceSlot::kDefaultForward) continue;
    GroupSlotProbe probe;
    std::vector<uint64_t> expected = GroupSlotProbeBits(probe).at(row.mSlot);
    expected.erase(expected.begin());  // the type id finds the type
    type.mCalls.clear();
    EXPECT_EQ(invokers.at(row.mSlot)(g, probe), FakeProcessType::AnswerBits(row.mTypeSlot)) << row.mSlot;
    ASSERT_EQ(type.mCalls.size(), 1u) << row.mSlot;
    EXPECT_EQ(type.mCalls[0].typeSlot, row.mTypeSlot) << row.mSlot;
    EXPECT_EQ(type.mCalls[0].args, expected) << row.mSlot;
  }
  // An unknown type id fails every forwarded call with -7125.
  EXPECT_EQ(CodeOf([&] { g.HostCall008(kOtherType, 1); }), -7125);
  EXPECT_EQ(CodeOf([&] { g.GetControlValue(kOtherType, 1, 2, nullptr); }), -7125);
  EXPECT_EQ(CodeOf([&] { g.GetViewRect(kOtherType, 1, nullptr); }), -7125);
}

TEST_F(ProcessGroupTest, BroadcastsReachEveryTypeAndAnswerTheFirstFailure) {
  TestGroup& g = MakeGroup({{kProbeType, 0}, {kOtherType, 0}});
  const std::map<int, GroupSlotInvoker> invokers = GroupSlotInvokers();
  const int32_t results[][2] = {{0, 0}, {0, -5}, {-3, -5}};
  for (size_t i = 0; i < kGroupInterfaceSlotCount; ++i) {
    const SGroupInterfaceSlot& row = kGroupInterfaceSlots[i];
    if (row.mGroup != SGroupInterfaceSlot::kBroadcast) continue;
    for (const auto& pair : results) {
      GroupSlotProbe probe;
      const std::vector<uint64_t> expected = GroupSlotProbeBits(probe).at(row.mSlot);
      for (int t = 0; t < 2; ++t) {
        fakes[t]->mCalls.clear();
        fakes[t]->mBroadcastResult = pair[t];
      }
      EXPECT_EQ(invokers.at(row.mSlot)(g, probe), pair[0] != 0 ? pair[0] : pair[1]) << row.mSlot;
      for (FakeProcessType* type : fakes) {
        ASSERT_EQ(type->mCalls.size(), 1u) << row.mSlot;
        EXPECT_EQ(type->mCalls[0].typeSlot, row.mTypeSlot) << row.mSlot;
        EXPECT_EQ(type->mCalls[0].args, expected) << row.mSlot;
      }
    }
  }
}

TEST_F(ProcessGroupTest, BroadcastsStoreTheGroupsValuesFirstAndNeedNoTypes) {
  TestGroup& g = MakeGroup({});
  EXPECT_EQ(g.SetGroupSampleRate(48000), 0);
  EXPECT_EQ(g.GetGroupSampleRate(), 48000);
  SFicTimeCodeInfo info;
  info.mCode = 2;
  info.mValue = 99;
  EXPECT_EQ(g.SetGroupTimeCodeInfo(&info), 0);
  EXPECT_EQ(g.GetGroupTimeCodeCode(), 2);
  EXPECT_EQ(g.GetGroupTimeCodeValue(), 99);
  EXPECT_EQ(g.SetSharedPair(3, 4), 0);
  EXPECT_EQ(g.GetSharedPairValue(), 4);
  EXPECT_EQ(g.HostCall016(), 0);
  EXPECT_EQ(g.HostCall069(1), 0);
}

TEST_F(ProcessGroupTest, TypesWaitingForTheirKindGoLastAndAreNotCounted) {
  TestGroup& g = MakeGroup({{11, 3}, {22, 0}, {33, 3}, {44, 0}});
  const auto order = [&] {
    std::vector<int> ids;
    for (int32_t i = 0; i < g.GetProcessTypeCount(); ++i) {
      uint32_t id = 0;
      g.GetProcessTypeAt(i)->GetTypeID(&id);
      int16_t index = 0;
      g.GetProcessTypeAt(i)->GetTypeIndex(&index);
      EXPECT_EQ(index, i + 1);
      ids.push_back(static_cast<int>(id));
    }
    return ids;
  };
  EXPECT_EQ(order(), (std::vector<int>{22, 44, 11, 33}));
  for (FakeProcessType* type : fakes) EXPECT_EQ(type->mGroup, &g);
  int16_t count = -1;
  EXPECT_EQ(g.CountProcessTypes(&count), 0);
  EXPECT_EQ(count, 2);

  EXPECT_EQ(g.EnableProcessTypes(5), 0);  // no type of that kind
  g.CountProcessTypes(&count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(g.EnableProcessTypes(3), 0);
  g.CountProcessTypes(&count);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(order(), (std::vector<int>{22, 44, 11, 33}));
  EXPECT_EQ(g.FindProcessType(3), g.FindProcessTypeByID(11));
  EXPECT_EQ(CodeOf([&] { g.FindProcessType(5); }), -7125);
  EXPECT_EQ(g.FindProcessTypeByID(55), nullptr);
  EXPECT_EQ(CodeOf([&] { g.GetProcessType(55); }), -7125);
}

TEST_F(ProcessGroupTest, EffectTypesCountOnlyOnceTheHostEnablesThem) {
  TestGroup& g = MakeGroup({{FourCC("EFN1"), 3}, {FourCC("EFN2"), 3}});
  int16_t count = -1;
  g.CountProcessTypes(&count);
  EXPECT_EQ(count, 0);
  g.EnableProcessTypes(3);
  g.CountProcessTypes(&count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(events, (std::vector<std::string>{std::to_string(FourCC("EFN1")) + " init",
                                              std::to_string(FourCC("EFN2")) + " init"}));
}

TEST_F(ProcessGroupTest, AddingATypeNeedsATypeAndAnInitialisedGroup) {
  TestGroup early;
  bool refused = false;
  try {
    early.AddProcessType(std::make_unique<FakeProcessType>(1, 0));
  } catch (const CProcessGroup::AddProcessTypeEx&) {
    refused = true;
  }
  EXPECT_TRUE(refused);
  TestGroup& g = MakeGroup({});
  refused = false;
  try {
    g.AddProcessType(nullptr);
  } catch (const CProcessGroup::AddProcessTypeEx&) {
    refused = true;
  }
  EXPECT_TRUE(refused);
}

TEST_F(ProcessGroupTest, TypeNamesFeaturesAndStemNames) {
  TestGroup& g = MakeGroup({{kProbeType, 0}});
  unsigned char text[256] = {};
  EXPECT_EQ(g.GetProcessTypeName(FourCC("????"), 4, reinterpret_cast<char*>(text)), 0);
  EXPECT_EQ(PStringToString(text), "Brim");
  EXPECT_EQ(g.GetProcessTypeName(kProbeType, 31, reinterpret_cast<char*>(text)), 14);
  EXPECT_EQ(fakes[0]->mCalls.back().typeSlot, 14);
  EXPECT_EQ(fakes[0]->mCalls.back().args, (std::vector<uint64_t>{31, BitsOf(reinterpret_cast<char*>(text))}));
  EXPECT_EQ(CodeOf([&] { g.GetProcessTypeName(kOtherType, 31, reinterpret_cast<char*>(text)); }), -7125);

  int32_t value = 0;
  EXPECT_EQ(g.GetFeatureSupport(kProbeType, 29, &value), 94);
  EXPECT_EQ(fakes[0]->mCalls.back().args, (std::vector<uint64_t>{29, BitsOf(&value)}));
  EXPECT_EQ(g.GetFeatureSupport(kOtherType, 29, &value), -7125);  // answered, not thrown
}

namespace {

// A type whose channel counts the stem-name fallback asks.
class ChannelType : public FakeProcessType {
 public:
  ChannelType(uint32_t id, int16_t channels) : FakeProcessType(id, 0) { mInputs = mOutputs = channels; }
  int32_t GetTypeInputCount(int32_t, int16_t* count) override {
    *count = mInputs;
    return 0;
  }
  int32_t GetTypeOutputCount(int32_t, int16_t* count) override {
    *count = mOutputs;
    return 0;
  }
};

}  // namespace

TEST_F(ProcessGroupTest, AStereoTypeNamesItsSecondStemFormatWhenItsOwnNameFails) {
  group = std::make_unique<TestGroup>();
  auto stereo = std::make_unique<ChannelType>(kProbeType, 2);
  auto mono = std::make_unique<ChannelType>(kOtherType, 1);
  ChannelType* stereoType = stereo.get();
  group->Add(std::move(stereo));
  group->Add(std::move(mono));
  ASSERT_EQ(group->InitProcessGroup(), 0);
  unsigned char text[256] = {};
  EXPECT_EQ(group->GetStemFormatName(kProbeType, 0, 2, text), 0);
  EXPECT_EQ(PStringToString(text), "stereo mode");
  text[0] = 0;
  EXPECT_EQ(group->GetStemFormatName(kProbeType, 0, 1, text), -7000);
  EXPECT_EQ(group->GetStemFormatName(kOtherType, 0, 2, text), -7000);
  EXPECT_EQ(text[0], 0);
  stereoType->mStemNameResult = 0;
  EXPECT_EQ(group->GetStemFormatName(kProbeType, 0, 2, text), 0);
  EXPECT_EQ(text[0], 0);  // the type's own answer stands
}

TEST_F(ProcessGroupTest, ProcessObjectsComeFromTheTypesTwoWords) {
  TestGroup& g = MakeGroup();
  FakeProcessType& type = *fakes[0];
  HostWord p = 7, q = 8;
  EXPECT_EQ(g.GetProcessObjects(&p, &q, kProbeType, 1, 0), 0);
  EXPECT_EQ(p, 0x11u);
  EXPECT_EQ(q, 0x22u);
  type.mWord1Result = -7126;
  type.mCalls.clear();
  p = q = 5;
  EXPECT_EQ(g.GetProcessObjects2(&p, &q, kProbeType, 1, 0), -7126);
  EXPECT_EQ(q, 0u);  // cleared, and the second word not asked
  ASSERT_EQ(type.mCalls.size(), 1u);
  EXPECT_EQ(type.mCalls[0].typeSlot, 40);

  // The magic word asks for an engine-connected instance's own word.
  int32_t number = 0;
  ASSERT_EQ(type.CreateProcess(&number), 0);
  type.mCalls.clear();
  q = 0x47892354;
  EXPECT_EQ(g.GetProcessObjects(&p, &q, kProbeType, number, 0), 0);
  EXPECT_EQ(q, 0x47892354u);  // not an engine-connected process: left alone
  type.mEngineConnected = true;
  type.mEngineWord = 0xABC;
  EXPECT_EQ(g.GetProcessObjects(&p, &q, kProbeType, number, 0), 0);
  EXPECT_EQ(q, 0xABCu);
  EXPECT_TRUE(type.mCalls.empty());
}

namespace {

// The reference number of the bundle's map while it is open, found by
// making it current for a moment.
int16_t OpenMap() {
  const int16_t previous = CProcessGroup::UseResourceFile();
  const int16_t map = CurResFile();
  CProcessGroup::RestoreResourceFile(previous);
  return map;
}

bool IsOpenFile(int16_t refNum) {
  const int16_t current = CurResFile();
  UseResFile(refNum);
  const bool open = ResError() == 0;
  UseResFile(current);
  return open;
}

}  // namespace

TEST_F(ProcessGroupTest, InstancesKeepTheEngineLinkAndTheBundlesMapWhileTheyLive) {
  frameworks.DAE()->SetGestalt(ficgestalt::kLinkAllowed, 1);
  TestGroup& g = MakeGroup();
  const int32_t objectsBefore = frameworks.DAE()->CountLiveObjects();
  int32_t first = 0, second = 0;
  ASSERT_EQ(g.NewInstance(kProbeType, &first), 0);
  EXPECT_EQ(first, 1);
  EXPECT_NE(CProcessGroup::GetDAEServer(), 0u);
  EXPECT_NE(CProcessGroup::GetDAEObject(), 0u);
  EXPECT_EQ(frameworks.DAE()->CountLiveObjects(), objectsBefore + 2);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 1);
  EXPECT_EQ(CurResFile(), hostFile);  // the map is open, the host's file current
  const int16_t map = OpenMap();
  EXPECT_NE(map, hostFile);
  EXPECT_EQ(CProcessGroup::GetCreationCount(), 1);

  const int32_t mainCalls = frameworks.DAE()->mCommon.CountCalls("FicMain");
  ASSERT_EQ(g.NewInstance(kProbeType, &second), 0);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(frameworks.DAE()->mCommon.CountCalls("FicMain"), mainCalls);  // linked already
  EXPECT_EQ(frameworks.DAE()->CountLiveObjects(), objectsBefore + 2);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 1);
  EXPECT_EQ(g.GetInstanceCount(), 2);
  EXPECT_EQ(CProcessGroup::GetCreationCount(), 2);

  EXPECT_EQ(g.RemoveInstance(kProbeType, first), 0);
  EXPECT_EQ(g.GetInstanceCount(), 1);
  EXPECT_NE(CProcessGroup::GetDAEObject(), 0u);
  EXPECT_TRUE(IsOpenFile(map));
  EXPECT_EQ(g.RemoveInstance(kProbeType, second), 0);
  EXPECT_EQ(g.GetInstanceCount(), 0);
  EXPECT_EQ(CProcessGroup::GetDAEServer(), 0u);
  EXPECT_EQ(CProcessGroup::GetDAEObject(), 0u);
  EXPECT_EQ(frameworks.DAE()->CountLiveObjects(), objectsBefore);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 0);
  EXPECT_FALSE(IsOpenFile(map));
  EXPECT_EQ(CurResFile(), hostFile);
  EXPECT_EQ(CProcessGroup::GetCreationCount(), 2);  // never counts down
}

TEST_F(ProcessGroupTest, ARefusedRemovalLeavesTheCountAndTheLinkAlone) {
  frameworks.DAE()->SetGestalt(ficgestalt::kLinkAllowed, 1);
  TestGroup& g = MakeGroup();
  int32_t number = 0;
  ASSERT_EQ(g.NewInstance(kProbeType, &number), 0);
  // Removing an instance that does not exist, twice: the live instance
  // keeps its link and its map.
  EXPECT_EQ(g.RemoveInstance(kProbeType, 7), -7126);
  EXPECT_EQ(g.RemoveInstance(kProbeType, 0), -7126);
  EXPECT_EQ(g.GetInstanceCount(), 1);
  EXPECT_NE(CProcessGroup::GetDAEObject(), 0u);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 1);
  EXPECT_EQ(CodeOf([&] { g.RemoveInstance(kOtherType, 1); }), -7125);
  EXPECT_EQ(g.GetInstanceCount(), 1);
  EXPECT_EQ(g.RemoveInstance(kProbeType, number), 0);
  EXPECT_EQ(g.GetInstanceCount(), 0);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 0);
}

TEST_F(ProcessGroupTest, AFailedFirstCreationUndoesTheLinkAndTheMap) {
  frameworks.DAE()->SetGestalt(ficgestalt::kLinkAllowed, 1);
  TestGroup& g = MakeGroup();
  const int32_t objectsBefore = frameworks.DAE()->CountLiveObjects();
  fakes[0]->mCreateResult = -7077;
  int32_t number = 0;
  EXPECT_EQ(g.NewInstance(kProbeType, &number), -7077);
  EXPECT_EQ(CProcessGroup::GetDAEServer(), 0u);
  EXPECT_EQ(frameworks.DAE()->CountLiveObjects(), objectsBefore);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 0);
  EXPECT_EQ(CurResFile(), hostFile);

  // A throwing creation and an unknown type are failed creations too.
  fakes[0]->mCreateResult = 0;
  fakes[0]->mCreateThrows = true;
  EXPECT_THROW(g.NewInstance(kProbeType, &number), std::runtime_error);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 0);
  EXPECT_EQ(CProcessGroup::GetDAEServer(), 0u);
  EXPECT_EQ(CodeOf([&] { g.NewInstance(kOtherType, &number); }), -7125);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 0);
  EXPECT_EQ(CProcessGroup::GetDAEServer(), 0u);
  EXPECT_EQ(CProcessGroup::GetCreationCount(), 0);
}

TEST_F(ProcessGroupTest, AFailedLaterCreationChangesNothing) {
  frameworks.DAE()->SetGestalt(ficgestalt::kLinkAllowed, 1);
  TestGroup& g = MakeGroup();
  int32_t number = 0;
  ASSERT_EQ(g.NewInstance(kProbeType, &number), 0);
  fakes[0]->mCreateResult = -7077;
  EXPECT_EQ(g.NewInstance(kProbeType, &number), -7077);
  EXPECT_EQ(g.GetInstanceCount(), 1);
  EXPECT_NE(CProcessGroup::GetDAEObject(), 0u);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 1);
  EXPECT_EQ(g.RemoveInstance(kProbeType, 1), 0);
}

TEST_F(ProcessGroupTest, WithoutTheEnginesLeaveThereIsNoLink) {
  // The engine does not answer 'hsds' by default: instances work unlinked.
  TestGroup& g = MakeGroup();
  int32_t number = 0;
  ASSERT_EQ(g.NewInstance(kProbeType, &number), 0);
  EXPECT_EQ(CProcessGroup::GetDAEServer(), 0u);
  EXPECT_EQ(CProcessGroup::GetDAEObject(), 0u);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 1);
  // Nor when the engine is not alive.
  EXPECT_EQ(g.RemoveInstance(kProbeType, number), 0);
  frameworks.DAE()->SetGestalt(ficgestalt::kLinkAllowed, 1);
  frameworks.DAE()->SetAlive(false);
  ASSERT_EQ(g.NewInstance(kProbeType, &number), 0);
  EXPECT_EQ(CProcessGroup::GetDAEServer(), 0u);
  EXPECT_EQ(g.RemoveInstance(kProbeType, number), 0);
}

TEST_F(ProcessGroupTest, AnEngineThatDoesNotStartFailsTheCreationAlone) {
  TestGroup& g = MakeGroup();
  frameworks.DAE()->mCommon.FailFunction("FicMain", -1234);
  int32_t number = 0;
  EXPECT_EQ(g.NewInstance(kProbeType, &number), -1234);
  EXPECT_EQ(g.GetInstanceCount(), 0);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 0);
  EXPECT_TRUE(fakes[0]->mInstances.empty());
}

TEST_F(ProcessGroupTest, ResourceFileUseIsCountedAndOnlyTheLastRestoreCloses) {
  const int16_t previous = CProcessGroup::UseResourceFile();
  EXPECT_EQ(previous, hostFile);
  const int16_t map = CurResFile();
  EXPECT_NE(map, hostFile);
  // Already current: counted, not switched.
  EXPECT_EQ(CProcessGroup::UseResourceFile(), map);
  EXPECT_EQ(CurResFile(), map);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 2);
  // From another current file the map is made current again.
  UseResFile(hostFile);
  EXPECT_EQ(CProcessGroupUseResourceFile(), hostFile);
  EXPECT_EQ(CurResFile(), map);
  CProcessGroupRestoreResourceFile(map);
  CProcessGroup::RestoreResourceFile(map);
  EXPECT_TRUE(IsOpenFile(map));
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 1);
  CProcessGroup::RestoreResourceFile(previous);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 0);
  EXPECT_FALSE(IsOpenFile(map));
  EXPECT_EQ(CurResFile(), hostFile);
  // An unmatched restore only makes the file current.
  CProcessGroup::RestoreResourceFile(hostFile);
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 0);
}

TEST_F(ProcessGroupTest, NoBundleNoResourceMap) {
  CProcessGroup::SetBundleRef(nullptr);
  EXPECT_EQ(CodeOf([] { CProcessGroup::UseResourceFile(); }), -7400);
  EXPECT_EQ(CProcessGroupUseResourceFile(), hostFile);  // the export never throws
  EXPECT_EQ(CProcessGroup::GetResourceNesting(), 0);
  EXPECT_EQ(CProcessGroupGetBundleRef(), nullptr);
  CFBundleRef out = bundle;
  EXPECT_EQ(CProcessGroup::GetBundleRef(&out), nullptr);
  EXPECT_EQ(out, nullptr);

  frameworks.DAE()->SetGestalt(ficgestalt::kLinkAllowed, 1);
  TestGroup& g = MakeGroup();
  int32_t number = 0;
  EXPECT_EQ(CodeOf([&] { g.NewInstance(kProbeType, &number); }), -7400);
  EXPECT_EQ(CProcessGroup::GetDAEServer(), 0u);  // the link does not outlive the failure
  EXPECT_TRUE(fakes[0]->mInstances.empty());
  CProcessGroup::SetBundleRef(bundle);
}

TEST_F(ProcessGroupTest, TheLockIsTheEnginesCriticalSectionWithADepth) {
  TestGroup& g = MakeGroup();
  const FicRef section = g.GetLockHandle();
  ASSERT_NE(section, 0u);
  EXPECT_EQ(frameworks.DAE()->CountCriticalSections(), 1);
  EXPECT_EQ(g.EnterGroupLock(), 1);
  EXPECT_EQ(g.EnterGroupLock(), 2);
  EXPECT_EQ(frameworks.DAE()->CriticalSectionDepth(section), 2);
  EXPECT_EQ(g.TryEnterGroupLock(), 1);
  EXPECT_EQ(g.GetLockDepth(), 3);

  // The yield gives the whole depth back to the system, then takes it again.
  g.YieldGroupLock();
  EXPECT_EQ(g.mSystemPasses, 1);
  EXPECT_EQ(g.mDepthDuringPass, 0);
  EXPECT_EQ(g.mSectionDepthDuringPass, 0);
  EXPECT_EQ(g.GetLockDepth(), 3);
  EXPECT_EQ(frameworks.DAE()->CriticalSectionDepth(section), 3);

  EXPECT_EQ(g.LeaveGroupLock(), 2);
  EXPECT_EQ(g.LeaveGroupLock(), 1);
  EXPECT_EQ(g.LeaveGroupLock(), 0);
  EXPECT_EQ(frameworks.DAE()->CriticalSectionDepth(section), 0);
  g.YieldGroupLock();
  EXPECT_EQ(g.mSystemPasses, 2);
  EXPECT_EQ(g.GetLockDepth(), 0);
}

TEST_F(ProcessGroupTest, LockCreationFailsOnOldHostServicesOrNoSection) {
  frameworks.DAE()->SetHostServicesVersion(0);
  group = std::make_unique<TestGroup>();
  EXPECT_EQ(group->InitProcessGroup(), -7060);
  EXPECT_EQ(group->GetLockHandle(), 0u);
  EXPECT_EQ(group->TryEnterGroupLock(), 0);
  // Without a section the depth is still counted.
  EXPECT_EQ(group->EnterGroupLock(), 1);
  EXPECT_EQ(group->LeaveGroupLock(), 0);

  group.reset();
  frameworks.DAE()->mCommon.Reset();
  frameworks.DAE()->mCommon.FailFunction("FicCreateCriticalSection", 0);
  group = std::make_unique<TestGroup>();
  EXPECT_EQ(group->InitProcessGroup(), -7075);
}

TEST_F(ProcessGroupTest, ShutdownReleasesTypesInOrderThenTheLinkLockAndFrameworks) {
  frameworks.DAE()->SetGestalt(ficgestalt::kLinkAllowed, 1);
  MakeGroup({{11, 0}, {22, 0}});
  int32_t number = 0;
  ASSERT_EQ(group->NewInstance(11, &number), 0);
  events.clear();
  ASSERT_NE(DAELibAccess(), nullptr);
  // The host closes the plug-in without removing the instance: the map
  // kept open for it closes too (the fixture checks).
  group.reset();
  EXPECT_EQ(events, (std::vector<std::string>{"11 release", "11 deleted", "22 release", "22 deleted"}));
  EXPECT_EQ(CProcessGroup::GetDAEServer(), 0u);
  EXPECT_EQ(DAELibAccess(), nullptr);
  EXPECT_EQ(DSILibAccess(), nullptr);
  EXPECT_EQ(DSPMgrLibAccess(), nullptr);
}
