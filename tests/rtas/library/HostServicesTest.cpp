#include "rtas/library/HostServices.h"

#include <gtest/gtest.h>

#include <vector>

#include "rtas/library/CStructureRegistry.h"
#include "rtas/library/DSPManagerInterface.h"
#include "rtas/library/HostCallback.h"
#include "rtas/library/DAEFunctions.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

// A host's registry that records what reaches it.
struct RecordingRegistry {
  SStructureRegistry mInterface;
  std::vector<std::pair<void*, int>> mCalls;  // object, kind (-1 unregister, -2 describe)
};
RecordingRegistry gRegistry;
int gRequests = 0;
int16_t gAnswer = 0;

int32_t Register(SStructureRegistry*, void* object, uint8_t kind) {
  gRegistry.mCalls.emplace_back(object, kind);
  return 0x10007;  // narrowed to 7
}
int32_t Unregister(SStructureRegistry*, void* object) {
  gRegistry.mCalls.emplace_back(object, -1);
  return 0;
}
int32_t Describe(SStructureRegistry*, void* object, const SWordArraySnapshot*) {
  gRegistry.mCalls.emplace_back(object, -2);
  return 0;
}
const SStructureRegistryVtbl kRegistryVtbl = {Register, Unregister, Describe};

int16_t HostCallback(int16_t selector, ComponentRecord* component, char** parameters) {
  ++gRequests;
  EXPECT_EQ(selector, 18);
  EXPECT_EQ(component, nullptr);
  if (gAnswer == 0) *reinterpret_cast<SStructureRegistry**>(parameters) = &gRegistry.mInterface;
  return gAnswer;
}

class StructureRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    gRegistry = RecordingRegistry{{&kRegistryVtbl}, {}};
    gRequests = 0;
    gAnswer = 0;
  }
  StandInFrameworks mFrameworks{0};
};

}  // namespace

TEST_F(StructureRegistry, IsAskedForOnceAndForwardsEachOperation) {
  int object = 0;
  EXPECT_EQ(CStructureRegistry::Register(&object, 3), 0);  // no host procedure yet: nothing asked
  EXPECT_EQ(gRequests, 0);
  SetHostCallbackProcedure(HostCallback);
  EXPECT_EQ(CStructureRegistry::Register(&object, 3), 7);
  EXPECT_EQ(CStructureRegistry::Describe(&object, nullptr), 0);
  EXPECT_EQ(CStructureRegistry::Unregister(&object), 0);
  EXPECT_EQ(gRequests, 1);
  const std::vector<std::pair<void*, int>> expected = {{&object, 3}, {&object, -2}, {&object, -1}};
  EXPECT_EQ(gRegistry.mCalls, expected);
}

TEST_F(StructureRegistry, AFailedRequestIsNotRepeated) {
  SetHostCallbackProcedure(HostCallback);
  gAnswer = -1;
  int object = 0;
  EXPECT_EQ(CStructureRegistry::Register(&object, 4), 0);
  gAnswer = 0;  // the host would answer now, but is not asked again
  EXPECT_EQ(CStructureRegistry::Register(&object, 4), 0);
  EXPECT_EQ(CStructureRegistry::Unregister(&object), 0);
  EXPECT_EQ(CStructureRegistry::Describe(&object, nullptr), 0);
  EXPECT_EQ(gRequests, 1);
  EXPECT_TRUE(gRegistry.mCalls.empty());
}

TEST(DSPManagerInterface, ComesFromTheManagerAndHoldsNoReferenceOfItsOwn) {
  {
    StandInFrameworks none(StandInFrameworks::kDAE | StandInFrameworks::kDSI);  // no DSP manager by default
    EXPECT_EQ(GetDSPManagerInterface(), nullptr);
  }
  StandInFrameworks frameworks;
  SDSPManagerConnection* connection = GetDSPManagerInterface();
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(frameworks.DSPManager()->ManagerReferences(), 0);
  EXPECT_EQ(frameworks.DSPManager()->ConnectionReferences(), 0);
  EXPECT_EQ(GetDSPManagerInterface(), connection);  // cached: asked once
  EXPECT_EQ(frameworks.DSPManager()->mCommon.CountCalls("GetDSPManager"), 1);
  EXPECT_EQ(connection->mVtbl->Connect(connection, nullptr), 0);
  EXPECT_EQ(frameworks.DSPManager()->mCommon.CountCalls("Connect"), 1);
}

TEST(DSPManagerInterface, ARefusedInterfaceIsNullAndAskedForAgain) {
  StandInFrameworks frameworks;
  frameworks.DSPManager()->SetConnectionPresent(false);
  EXPECT_EQ(GetDSPManagerInterface(), nullptr);
  EXPECT_EQ(frameworks.DSPManager()->ManagerReferences(), 0);  // the manager was given back
  frameworks.DSPManager()->SetConnectionPresent(true);
  EXPECT_NE(GetDSPManagerInterface(), nullptr);
  frameworks.DSPManager()->mCommon.HideName("GetDSPManager");
  ResetDSPManagerInterface();
  ReleaseDSPMgrLibAccess();
  EXPECT_EQ(GetDSPManagerInterface(), nullptr);
}

TEST(HostServices, TheEnginesObjectIsCachedAfterTheFirstAnswer) {
  {
    StandInFrameworks none(0);
    EXPECT_EQ(GetHostServices(), nullptr);
  }
  StandInFrameworks frameworks(StandInFrameworks::kDAE);
  ASSERT_EQ(InitDAELibAccess(), 0);
  SHostServices* services = GetHostServices();
  ASSERT_EQ(services, frameworks.DAE()->HostServices());
  EXPECT_EQ(services->mVtbl->GetVersion(services), 1);
  frameworks.DAE()->RemoveGestalt(ficgestalt::kHostServices);
  EXPECT_EQ(GetHostServices(), services);  // not asked again
  EXPECT_EQ(frameworks.DAE()->mCommon.CountCalls("FicGestalt"), 1);
  // The object's try-enter enters the engine's recursive sections.
  const FicRef section = FicCreateCriticalSection();
  ASSERT_NE(section, 0u);
  EXPECT_EQ(services->mVtbl->TryEnterCriticalSection(services, section), 1);
  EXPECT_EQ(frameworks.DAE()->CriticalSectionDepth(section), 1);
  EXPECT_EQ(FicEnterCriticalSection(section), 0);
  EXPECT_EQ(frameworks.DAE()->CriticalSectionDepth(section), 2);
  EXPECT_EQ(FicLeaveCriticalSection(section), 0);
  EXPECT_EQ(FicLeaveCriticalSection(section), 0);
  EXPECT_EQ(FicDeleteCriticalSection(section), 0);
  EXPECT_EQ(frameworks.DAE()->CountCriticalSections(), 0);
}
