#include "rtas/library/CDSPProcessGroup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "FakeProcessType.h"
#include "ProcessTestSupport.h"
#include "platform/carboncore/Resources.h"
#include "platform/corefoundation/CFBundleStandIn.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/CProcessDSP.h"
#include "rtas/library/HostCallback.h"
#include "rtas/library/PString.h"
#include "tests/ScratchFolder.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

class TestDSPGroup : public CDSPProcessGroup {
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
  int32_t ChipReleased() override {
    ++mReleasedChips;
    return mChipReleasedAnswer;
  }
  std::vector<std::unique_ptr<CProcessTypeInterface>> mPending;
  int mReleasedChips = 0;
  int32_t mChipReleasedAnswer = 0;
};

// The host's callback procedure: notes each request and answers what the
// test set; a DSP request (10) is given the test's DSP.
struct SHostAnswers {
  std::vector<int16_t> selectors;
  std::vector<std::vector<HostWord>> blocks;
  int16_t status = 0;
  HostWord dsp = 0;
};
SHostAnswers* gHost = nullptr;

int16_t HostProcedure(int16_t selector, ComponentRecord*, char** parameters) {
  gHost->selectors.push_back(selector);
  const HostWord* words = reinterpret_cast<const HostWord*>(*parameters);
  gHost->blocks.push_back({words[0], words[1], words[2]});
  if (selector == 10) *reinterpret_cast<HostWord*>(words[0]) = gHost->dsp;
  return gHost->status;
}

class DSPProcessGroupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gHost = &host;
    bundle = platform::CreateSymbolBundle("com.kestrelbay.rtas.DSPGroupTest", nullptr, 0);
    platform::SetBundleResourceFolder(bundle, resources.Path().c_str());
    CProcessGroup::SetBundleRef(bundle);
  }
  void TearDown() override {
    group.reset();
    SetHostCallbackProcedure(nullptr);
    CProcessGroup::SetBundleRef(nullptr);
    CFRelease(bundle);
    gHost = nullptr;
  }

  TestDSPGroup& MakeGroup(int types = 1) {
    group = std::make_unique<TestDSPGroup>();
    for (int i = 0; i < types; ++i) {
      auto type = std::make_unique<TestProcessType>(FourCC("EFN1") + static_cast<uint32_t>(i), &script);
      dspTypes.push_back(type.get());
      group->mPending.push_back(std::move(type));
    }
    EXPECT_EQ(group->InitProcessGroup(), 0);
    return *group;
  }

  // A DSP on a card of the type, with the capacity word of its record.
  DsiDSP AddDSP(int16_t cardType, int32_t capacity = 0, uint32_t coreType = 0) {
    uint8_t info[kDsiInfoRecordBytes] = {0};
    std::memcpy(info + 68, &capacity, sizeof capacity);
    DsiCard card = frameworks.DSI()->AddCard(cardType, 0);
    return frameworks.DSI()->AddDSP(card, 1, coreType, info);
  }
  void PutDSPCode(int id) {
    std::filesystem::create_directories(resources.PathOf("SACD"));
    resources.Write("SACD/" + std::to_string(id), {1, 2, 3, 4});
  }
  int32_t NewInstance(uint32_t typeID) {
    int32_t number = 0;
    EXPECT_EQ(group->NewInstance(typeID, &number), 0);
    return number;
  }

  StandInFrameworks frameworks;
  ScratchFolder resources;
  CFBundleRef bundle = nullptr;
  SHostAnswers host;
  SProcessScript script;
  std::vector<TestProcessType*> dspTypes;
  std::unique_ptr<TestDSPGroup> group;
};

}  // namespace

TEST_F(DSPProcessGroupTest, InitialisationHandsTheChipListsToEveryDSPType) {
  group = std::make_unique<TestDSPGroup>();
  auto dsp = std::make_unique<TestProcessType>(FourCC("EFN1"), &script);
  TestProcessType* dspType = dsp.get();
  group->mPending.push_back(std::make_unique<FakeProcessType>(FourCC("plai"), 0));
  group->mPending.push_back(std::move(dsp));
  ASSERT_EQ(group->InitProcessGroup(), 0);
  ASSERT_NE(group->GetChipObjectList(), nullptr);
  EXPECT_EQ(dspType->GetDSPList(), group->GetDSPList());
  EXPECT_EQ(dspType->GetChipList(), group->GetChipList());
  EXPECT_EQ(dspType->GetChipObjectList(), group->GetChipObjectList());
  EXPECT_EQ(dspType->GetDSPProcessGroup(), group.get());
  EXPECT_EQ(dspType->GetProcessGroupInterface(), static_cast<IProcessGroup*>(group.get()));
}

TEST(DSPProcessGroupStart, DSPServicesThatDoNotStartFailTheInitialisation) {
  StandInFrameworks frameworks(StandInFrameworks::kDAE | StandInFrameworks::kDSPManager);
  TestDSPGroup group;
  try {
    group.InitProcessGroup();
    ADD_FAILURE() << "the group started without its DSP services";
  } catch (const CDAEError& error) {
    EXPECT_NE(error.Code(), 0);
  }
  EXPECT_EQ(group.GetDSPList(), nullptr);
  EXPECT_EQ(group.GetChipList(), nullptr);
  EXPECT_EQ(group.GetChipObjectList(), nullptr);
  EXPECT_EQ(group.GetProcessTypeCount(), 0);
}

TEST_F(DSPProcessGroupTest, RemovingAnInstanceDeletesTheChipsNobodyUses) {
  MakeGroup();
  const int32_t first = NewInstance(FourCC("EFN1"));
  NewInstance(FourCC("EFN1"));
  auto* used = new CProcessDSP;
  auto* free = new CProcessDSP;
  used->AddUser();
  group->GetChipObjectList()->push_back(used);
  group->GetChipObjectList()->push_back(free);
  group->mChipReleasedAnswer = 6;
  EXPECT_EQ(group->RemoveInstance(FourCC("EFN1"), first), 6);
  EXPECT_EQ(*group->GetChipObjectList(), (CDSPProcessType::ChipObjectList{used}));
  EXPECT_EQ(group->mReleasedChips, 1);
  // With no free chip the process group's own answer stands.
  const int32_t second = NewInstance(FourCC("EFN1"));
  EXPECT_EQ(group->RemoveInstance(FourCC("EFN1"), second), 0);
  EXPECT_EQ(group->GetChipObjectList()->size(), 1u);
  EXPECT_EQ(group->RemoveInstance(FourCC("EFN1"), 9), -7126);
  try {
    group->RemoveInstance(FourCC("nope"), 1);
    ADD_FAILURE() << "an unknown type";
  } catch (const CDAEError& error) {
    EXPECT_EQ(error.Code(), -7125);
  }
}

TEST_F(DSPProcessGroupTest, AChipWithANegativeUserCountStopsTheSweep) {
  MakeGroup();
  const int32_t n = NewInstance(FourCC("EFN1"));
  auto* broken = new CProcessDSP;
  auto* free = new CProcessDSP;
  broken->RemoveUser();
  group->GetChipObjectList()->push_back(free);
  group->GetChipObjectList()->push_back(broken);
  EXPECT_EQ(group->RemoveInstance(FourCC("EFN1"), n), -7150);
  EXPECT_EQ(group->GetChipObjectList()->size(), 2u);
  EXPECT_EQ(group->mReleasedChips, 0);
}

TEST_F(DSPProcessGroupTest, TheGroupAttributeNamesTheChipKindForOneSelector) {
  MakeGroup();
  struct Row {
    int16_t selector;
    int32_t count;
    int32_t value;
    uint32_t detail;
  };
  const Row rows[] = {{21, 1, 1, 27}, {21, 4, 1, 27}, {21, 0, 0, 0xAA}, {20, 1, 0, 0xAA}};
  for (const Row& row : rows) {
    int32_t value = -1;
    uint32_t detail = 0xAA;
    EXPECT_EQ(group->GetGroupAttribute(row.selector, &value, row.count, &detail), 0);
    EXPECT_EQ(value, row.value) << row.selector << " " << row.count;
    EXPECT_EQ(detail, row.detail) << row.selector << " " << row.count;
  }
  int32_t out = 5;
  EXPECT_EQ(group->HostCall035(&out, nullptr), 0);
  EXPECT_EQ(out, 0);
}

TEST_F(DSPProcessGroupTest, ChipCapacityAndLoad) {
  MakeGroup();
  const DsiDSP dsp = AddDSP(18, 4410000);
  const HostWord chip = reinterpret_cast<HostWord>(dsp);
  EXPECT_EQ(group->GetChipCapacity(chip), 4410000 / 2 / 44100);
  group->SetGroupSampleRate(0);
  EXPECT_EQ(group->GetChipCapacity(chip), 0);

  EXPECT_EQ(group->GetChipLoad(chip), 0);
  CProcessDSP object;
  const int32_t a = NewInstance(FourCC("EFN1"));
  const int32_t b = NewInstance(FourCC("EFN1"));
  auto* first = static_cast<CDSPProcess*>(dspTypes[0]->GetProcessByNumber(a));
  auto* second = static_cast<CDSPProcess*>(dspTypes[0]->GetProcessByNumber(b));
  first->AttachDSPObject(chip, &object);
  EXPECT_EQ(group->GetChipLoad(chip), 100);
  second->AttachDSPObject(chip, &object);
  EXPECT_EQ(group->GetChipLoad(chip), 100);  // 200 is reported as 100
  int16_t load = 0;
  EXPECT_EQ(group->QueryChip(chip, 4, &load), 0);
  EXPECT_EQ(load, 100);
  unsigned char name[16];
  std::memset(name, 'x', sizeof name);
  EXPECT_EQ(group->QueryChip(chip, 1, name), 0);
  EXPECT_EQ(std::vector<unsigned char>(name, name + 16),
            (std::vector<unsigned char>{7, 'B', 'r', 'i', 'm', 'l', 'o', 'w', 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(group->QueryChip(chip, 9, &load), -1);

  second->SetSettableWord(0x51);
  EXPECT_TRUE(group->IsChipInUse(0x51));
  EXPECT_FALSE(group->IsChipInUse(0x52));
  first->AttachDSPObject(0, nullptr);
  second->AttachDSPObject(0, nullptr);
}

TEST_F(DSPProcessGroupTest, TheGroupAnswersForIProcessGroup) {
  MakeGroup();
  void* object = nullptr;
  EXPECT_EQ(group->QueryInterface(CDSPProcessGroup::kIID_IProcessGroup, &object), 0);
  EXPECT_EQ(object, static_cast<IProcessGroup*>(group.get()));
  EXPECT_EQ(group->GetRefCount(), 2);
  group->Release();
  DOA::SIID other = CDSPProcessGroup::kIID_IProcessGroup;
  other.mBytes[15] ^= 1;
  EXPECT_EQ(group->QueryInterface(other, &object), DOA::kNoInterface);
  EXPECT_EQ(object, nullptr);
}

TEST_F(DSPProcessGroupTest, AllocatingAChipLoadsItsCodeOrLeavesNothing) {
  MakeGroup();
  SetHostCallbackProcedure(HostProcedure);
  PutDSPCode(0);
  const DsiDSP dsp = AddDSP(18);
  CProcessDSP* chip = nullptr;
  EXPECT_EQ(group->AllocateChip(dsp, &chip, 0x33, 0x44), 0);
  ASSERT_NE(chip, nullptr);
  EXPECT_EQ(*group->GetChipObjectList(), (CDSPProcessType::ChipObjectList{chip}));
  EXPECT_EQ(chip->GetDSP(), dsp);
  EXPECT_EQ(chip->GetUserWord(), 0x44u);
  EXPECT_EQ(dsp->mClientValue, reinterpret_cast<HostWord>(static_cast<CDSP*>(chip)));
  ASSERT_EQ(host.selectors, (std::vector<int16_t>{13}));
  EXPECT_EQ(host.blocks[0], (std::vector<HostWord>{reinterpret_cast<HostWord>(chip->GetShell()), 0x33, 0x44}));

  // The host refusing the chip: nothing is kept.
  host.status = -50;
  CProcessDSP* refused = reinterpret_cast<CProcessDSP*>(&host);
  try {
    group->AllocateChip(AddDSP(18), &refused, 0, 0);
    ADD_FAILURE() << "a refused chip was kept";
  } catch (const CDAEError& error) {
    EXPECT_EQ(error.Code(), -50);
  }
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(group->GetChipObjectList()->size(), 1u);

  // No code for the chip, and a DSP of no known kind.
  host.status = 0;
  std::filesystem::remove_all(resources.PathOf("SACD"));
  const int16_t file = CurResFile();
  try {
    group->AllocateChip(AddDSP(18), &refused, 0, 0);
    ADD_FAILURE() << "a chip without code";
  } catch (const CDAEError& error) {
    EXPECT_EQ(error.Code(), -7061);
  }
  EXPECT_EQ(CurResFile(), file);
  EXPECT_THROW(group->AllocateChip(AddDSP(10), &refused, 0, 0), std::runtime_error);
  EXPECT_EQ(group->GetChipObjectList()->size(), 1u);
}

TEST_F(DSPProcessGroupTest, TheTypesTakeAndGiveBackChips) {
  MakeGroup();
  TestProcessType& type = *dspTypes[0];
  SetHostCallbackProcedure(HostProcedure);
  PutDSPCode(0);

  // A chip of the DSP manager.
  void* none = nullptr;
  EXPECT_EQ(type.AcquireManagerChip(&none), -7077);
  int managerChip = 0;
  frameworks.DSPManager()->SetAllocatedChip(&managerChip);
  void* given = nullptr;
  EXPECT_EQ(type.AcquireManagerChip(&given), 0);
  EXPECT_EQ(given, &managerChip);
  EXPECT_EQ(*group->GetChipList(), (CDSPProcessType::ChipList{&managerChip}));
  // Given back only once no instance sits on it.
  const int32_t n = NewInstance(FourCC("EFN1"));
  auto* process = static_cast<CDSPProcess*>(type.GetProcessByNumber(n));
  process->SetSettableWord(reinterpret_cast<HostWord>(&managerChip));
  EXPECT_EQ(type.GiveBackChipIfUnused(&managerChip), 0);
  EXPECT_EQ(group->GetChipList()->size(), 1u);
  process->ClearSettableWord();
  EXPECT_EQ(type.GiveBackChipIfUnused(&managerChip), 0);
  EXPECT_TRUE(group->GetChipList()->empty());
  EXPECT_EQ(frameworks.DSPManager()->mCommon.CountCalls("ReleaseChip"), 1);

  // A DSP the host gives, with its chip object made once.
  const DsiDSP dsp = AddDSP(18);
  host.dsp = reinterpret_cast<HostWord>(dsp);
  CProcessDSP* chip = nullptr;
  EXPECT_EQ(type.AcquireDSPChip(&chip), 0);
  ASSERT_NE(chip, nullptr);
  EXPECT_EQ(*group->GetDSPList(), (CDSPProcessType::DSPList{dsp}));
  CProcessDSP* again = nullptr;
  EXPECT_EQ(type.AcquireDSPChip(&again), 0);
  EXPECT_EQ(again, chip);
  EXPECT_EQ(group->GetChipObjectList()->size(), 1u);

  // A chip in use stays; a free one goes with its DSP.
  chip->AddUser();
  EXPECT_EQ(type.ReleaseChip(chip), 0);
  EXPECT_EQ(group->GetChipObjectList()->size(), 1u);
  chip->RemoveUser();
  host.selectors.clear();
  group->mChipReleasedAnswer = 3;
  EXPECT_EQ(type.ReleaseChip(chip), 3);
  EXPECT_TRUE(group->GetChipObjectList()->empty());
  EXPECT_TRUE(group->GetDSPList()->empty());
  EXPECT_EQ(dsp->mClientValue, 0u);
  EXPECT_EQ(host.selectors, (std::vector<int16_t>{11}));
  host.dsp = 0;
  EXPECT_EQ(type.AcquireDSPChip(&chip), -7077);
}

TEST_F(DSPProcessGroupTest, InstancesLetGoOfTheirChipsBeforeTheGroupDeletesThem) {
  MakeGroup();
  SetHostCallbackProcedure(HostProcedure);
  PutDSPCode(0);
  CProcessDSP* chip = nullptr;
  ASSERT_EQ(group->AllocateChip(AddDSP(18), &chip, 0, 0), 0);
  const int32_t n = NewInstance(FourCC("EFN1"));
  static_cast<CDSPProcess*>(dspTypes[0]->GetProcessByNumber(n))->AttachDSPObject(1, chip);
  EXPECT_EQ(chip->GetUseCount(), 1);
  group.reset();  // a use of the chip after it went would show under the sanitizers
}

TEST_F(DSPProcessGroupTest, HostRequestsReachTheInstanceThroughTheGroupAndItsType) {
  MakeGroup(2);
  const int32_t n = NewInstance(FourCC("EFN2"));
  auto* process = static_cast<TestProcess*>(dspTypes[1]->GetProcessByNumber(n));
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(group->SetControlValue(FourCC("EFN2"), n, 2, 7), 0);
  EXPECT_EQ(process->GetControl(2)->GetValue(), 7);
  int32_t value = 0;
  EXPECT_EQ(group->GetControlValue(FourCC("EFN2"), n, 2, &value), 0);
  EXPECT_EQ(value, 7);
  EXPECT_EQ(group->UpdateControlValue(FourCC("EFN2"), n, 3, 9), 0);
  EXPECT_EQ(process->GetControl(3)->GetValue(), 9);
  for (int32_t missing : {0, n + 1}) {
    EXPECT_EQ(group->GetControlValue(FourCC("EFN2"), missing, 2, &value), -7126) << missing;
    EXPECT_EQ(group->CloseInstance(FourCC("EFN2"), missing), -7126) << missing;
  }
  EXPECT_EQ(group->GetControlValue(FourCC("EFN1"), n, 2, &value), -7126);
  try {
    group->GetControlValue(FourCC("EFN3"), n, 2, &value);
    ADD_FAILURE() << "an unknown type";
  } catch (const CDAEError& error) {
    EXPECT_EQ(error.Code(), -7125);
  }
  // A rate the host sets while the instance lives is the instance's rate.
  EXPECT_EQ(group->SetGroupSampleRate(88200), 0);
  EXPECT_EQ(process->GetSampleRate(), 88200);
  const int32_t later = NewInstance(FourCC("EFN2"));
  EXPECT_EQ(dspTypes[1]->GetProcessByNumber(later)->GetSampleRate(), 88200);
  EXPECT_EQ(group->RemoveInstance(FourCC("EFN2"), n), 0);
  EXPECT_EQ(dspTypes[1]->GetProcessByNumber(n), nullptr);
}
