#include "rtas/library/CDSPProcessType.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ProcessTestSupport.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/CProcessDSP.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

// What happened to the instances, without what their views were asked.
std::vector<std::string> Lifecycle(const std::vector<std::string>& log) {
  std::vector<std::string> events;
  for (const std::string& entry : log) {
    if (entry.find(':') == std::string::npos) events.push_back(entry);
  }
  return events;
}

int32_t CodeOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const CDAEError& error) {
    return error.Code();
  }
  return 0;
}

class DSPProcessTypeTest : public ::testing::Test {
 protected:
  int32_t Create() {
    int32_t number = -1;
    EXPECT_EQ(type.CreateProcessInstance(&number), 0);
    return number;
  }

  StandInFrameworks frameworks;
  SProcessScript script;
  TestProcessType type{FourCC("EFN1"), &script};
};

}  // namespace

TEST_F(DSPProcessTypeTest, NewInstancesTakeTheLowestFreeNumberAndKeepTheirOrder) {
  EXPECT_EQ(Create(), 1);
  EXPECT_EQ(Create(), 2);
  EXPECT_EQ(type.DeleteProcessInstance(1), 0);
  EXPECT_EQ(Create(), 1);
  EXPECT_EQ(InstanceNumbers(type), (std::vector<int32_t>{2, 1}));
  EXPECT_EQ(Create(), 3);
  EXPECT_EQ(Create(), 4);
  EXPECT_EQ(type.DeleteProcessInstance(3), 0);
  EXPECT_EQ(Create(), 3);  // live 1, 2 and 4
  for (int32_t n : {1, 4}) EXPECT_EQ(type.DeleteProcessInstance(n), 0);
  EXPECT_EQ(Create(), 1);  // live 2 and 3
  EXPECT_EQ(InstanceNumbers(type), (std::vector<int32_t>{2, 3, 1}));
  type.ReleaseAllProcesses();
}

TEST_F(DSPProcessTypeTest, ANewInstanceIsSetUpWithTheTypesValues) {
  type.SetTypeIndex(2);
  type.SetSampleRate(48000);
  type.SetSharedValue(5);
  const int32_t n = Create();
  auto* process = static_cast<TestProcess*>(type.GetProcessByNumber(n));
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(process->GetProcessType(), &type);
  EXPECT_EQ(process->GetCreatingType(), &type);
  EXPECT_EQ(process->GetTypeIndex(), 2);
  EXPECT_EQ(process->GetInstanceNumber(), n);
  EXPECT_EQ(process->GetSampleRate(), 48000);
  EXPECT_NE(process->GetView(), nullptr);
  type.ReleaseAllProcesses();
}

TEST_F(DSPProcessTypeTest, AFailedInitialisationLeavesNoInstance) {
  Create();
  script.initThrows = true;
  int32_t number = -1;
  EXPECT_EQ(CodeOf([&] { type.CreateProcessInstance(&number); }), -7999);
  EXPECT_EQ(number, 2);  // the caller's variable keeps what was written
  EXPECT_EQ(InstanceNumbers(type), (std::vector<int32_t>{1}));
  EXPECT_EQ(Lifecycle(script.log), (std::vector<std::string>{"close 2", "deleted 2"}));

  // A close that fails too does not hide the first failure.
  script.closeThrows = true;
  script.log.clear();
  EXPECT_EQ(CodeOf([&] { type.CreateProcessInstance(&number); }), -7999);
  EXPECT_EQ(Lifecycle(script.log), (std::vector<std::string>{"close 2", "deleted 2"}));

  script.initThrows = script.closeThrows = false;
  EXPECT_EQ(Create(), 2);
  type.mMakesNothing = true;
  EXPECT_EQ(type.CreateProcessInstance(&number), -7053);
  EXPECT_EQ(InstanceNumbers(type), (std::vector<int32_t>{1, 2}));
  type.ReleaseAllProcesses();
}

TEST_F(DSPProcessTypeTest, TheTypeAnswersForItsTwoInterfaces) {
  for (const DOA::SIID* iid : {&CDSPProcessType::kIID_IProcessType2, &CDSPProcessType::kIID_IProcessType2Alternate}) {
    void* object = nullptr;
    const int32_t before = type.GetRefCount();
    EXPECT_EQ(type.QueryInterface(*iid, &object), 0);
    EXPECT_EQ(object, static_cast<IProcessType2*>(&type));
    EXPECT_EQ(type.GetRefCount(), before + 1);
    type.Release();
  }
  void* object = &type;
  const DOA::SIID other = {{0x62, 0x57, 0x7f, 0x29, 0x66, 0x23, 0xd2, 0x11, 0x81, 0x7a, 0, 0x60, 8, 0x9a, 0x89, 0x17}};
  EXPECT_EQ(type.QueryInterface(other, &object), DOA::kNoInterface);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(type.QueryInterface(DOA::kIID_IUnknown, &object), 0);
  EXPECT_NE(object, nullptr);
  type.Release();
  uint32_t id = 0;
  EXPECT_EQ(type.GetTypeKind(&id), 0);
  EXPECT_EQ(id, FourCC("swDS"));
}

TEST_F(DSPProcessTypeTest, CreatingThroughTheDSPManagerConnectsAndActivates) {
  int32_t number = 0;
  EXPECT_EQ(type.CreateProcess(&number), 0);
  EXPECT_EQ(number, 1);
  auto* process = static_cast<CDSPProcess*>(type.GetProcessByNumber(1));
  ASSERT_NE(process, nullptr);
  const SDSPManagerControl* manager = frameworks.DSPManager();
  SStandInCall call{};
  ASSERT_EQ(manager->mCommon.CountCalls("Connect"), 1);
  ASSERT_EQ(manager->mCommon.CountCalls("Activate"), 1);
  for (int32_t i = 0; manager->mCommon.GetCall(i, &call); ++i) {
    if (std::string(call.mName) == "Connect" || std::string(call.mName) == "Activate") {
      EXPECT_EQ(call.mArgs[0], reinterpret_cast<intptr_t>(static_cast<IProcess2*>(process)));
    }
  }

  manager->mCommon.ClearCalls();
  EXPECT_EQ(type.DeleteProcessInstance(1), 0);
  std::vector<std::string> names;
  for (int32_t i = 0; manager->mCommon.GetCall(i, &call); ++i) names.push_back(call.mName);
  EXPECT_EQ(names, (std::vector<std::string>{"Deactivate", "Disconnect"}));
  EXPECT_TRUE(type.GetInstances().empty());
  EXPECT_EQ(type.DeleteProcessInstance(1), -7126);
}

TEST_F(DSPProcessTypeTest, AFailedConnectionUndoesTheNewInstance) {
  const SDSPManagerControl* manager = frameworks.DSPManager();
  manager->SetActivateStatus(-33);
  int32_t number = 0;
  EXPECT_EQ(type.CreateProcess(&number), -33);
  EXPECT_TRUE(type.GetInstances().empty());
  EXPECT_EQ(manager->mCommon.CountCalls("Disconnect"), 1);
  EXPECT_EQ(Lifecycle(script.log), (std::vector<std::string>{"close 1", "deleted 1"}));

  manager->SetActivateStatus(0);
  manager->mCommon.FailFunction("Connect", -44);
  script.log.clear();
  EXPECT_EQ(type.CreateProcess(&number), -44);
  EXPECT_TRUE(type.GetInstances().empty());
  EXPECT_EQ(manager->mCommon.CountCalls("Activate"), 1);
  EXPECT_EQ(Lifecycle(script.log), (std::vector<std::string>{"close 1", "deleted 1"}));
}

TEST_F(DSPProcessTypeTest, WithoutTheDSPManagerCreationFailsAndRemovalThrows) {
  Create();
  frameworks.DSPManager()->SetManagerPresent(false);
  int32_t number = 0;
  EXPECT_EQ(type.CreateProcess(&number), -7080);
  EXPECT_EQ(InstanceNumbers(type), (std::vector<int32_t>{1}));
  EXPECT_EQ(CodeOf([&] { type.DeleteProcessInstance(1); }), -7080);
  EXPECT_EQ(InstanceNumbers(type), (std::vector<int32_t>{1}));
  type.ReleaseAllProcesses();
}

TEST_F(DSPProcessTypeTest, InstancesAreNumberedByRunsOfTheChipTheySitOn) {
  for (int i = 0; i < 5; ++i) Create();
  const HostWord chips[] = {0xA, 0xA, 0xB, 0xA, 0xA};
  std::vector<CProcess*> instances = type.GetInstances();
  for (size_t i = 0; i < instances.size(); ++i) instances[i]->SetTypeWord2(chips[i]);
  type.NumberInstances();
  std::vector<int16_t> slots;
  for (CProcess* process : instances) slots.push_back(static_cast<CDSPProcess*>(process)->GetDSPSlotNumber());
  EXPECT_EQ(slots, (std::vector<int16_t>{1, 2, 1, 1, 2}));
  type.ReleaseAllProcesses();
}

TEST_F(DSPProcessTypeTest, ChipQueriesWithoutAGroup) {
  int16_t a = 5, b = 5;
  EXPECT_EQ(type.GetChipUsage(0, &a, &b), 0);
  EXPECT_EQ(a, 0);
  int32_t w = 0, x = 0, y = 9, z = 9;
  EXPECT_EQ(type.GetChipRequirements(&w, &x, &y, &z), 0);
  EXPECT_EQ(std::vector<int32_t>({w, x, y, z}), (std::vector<int32_t>{1, 1, 0, 0}));
  EXPECT_EQ(type.GetProcessGroupInterface(), nullptr);
  void* chip = &a;
  // The engine's entry answers -7401 for what a direct call throws.
  EXPECT_EQ(type.FindChipWithRoom(&chip), -7401);
  EXPECT_EQ(CodeOf([&] { type.AcquireManagerChip(&chip); }), -7027);
  CProcessDSP* object = nullptr;
  EXPECT_EQ(type.FindChipForEngine(0, &object), -7027);
  EXPECT_FALSE(type.ChipHasOutputRoom(nullptr));
}
