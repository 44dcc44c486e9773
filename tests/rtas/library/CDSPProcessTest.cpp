#include "rtas/library/CDSPProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProcessTestSupport.h"
#include "rtas/library/CProcessDSP.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

// A chip that notes the messages a process sends it.
class NotingChip : public CProcessDSP {
 public:
  int16_t SendMessage1(int32_t typeIndex, int32_t slot, int32_t value) override {
    mSent.push_back({1, typeIndex, slot, value});
    return 0;
  }
  int16_t SendMessage2(int32_t typeIndex, int32_t slot, int32_t value) override {
    mSent.push_back({2, typeIndex, slot, value});
    return 0;
  }
  int16_t SendMessage3(int32_t typeIndex, int32_t slot, int32_t a, int32_t b) override {
    mSent.push_back({3, typeIndex, slot, a, b});
    return 0;
  }
  int16_t SendMessage4(int32_t typeIndex, int32_t slot, int32_t a, int32_t b) override {
    mSent.push_back({4, typeIndex, slot, a, b});
    return 0;
  }
  std::vector<std::vector<int32_t>> mSent;
};

int16_t Precision() { return 24; }

class DSPProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(InitDAELibAccess(), 0);
    process.SetTypeIndex(3);
    process.SetInstanceNumber(1);
  }
  // The engine calls of the connection handshakes, in order, each with
  // its second argument (the port, or whether a preparation begins).
  std::vector<std::string> ConnectionCalls() const {
    std::vector<std::string> names;
    SStandInCall call{};
    for (int32_t i = 0; frameworks.DAE()->mCommon.GetCall(i, &call); ++i) {
      const std::string name = call.mName;
      if (name.find("ctivate") != std::string::npos || name == "FicPrepareForConnections") {
        names.push_back(name + "(" + std::to_string(call.mArgs[1]) + ")");
      }
    }
    return names;
  }
  void ExpectDetached() {
    HostWord word1 = 1, word2 = 1;
    process.GetTypeWord1(&word1);
    process.GetTypeWord2(&word2);
    EXPECT_EQ(word1, 0u);
    EXPECT_EQ(word2, 0u);
    EXPECT_EQ(process.GetDSPObject(), nullptr);
    EXPECT_EQ(chip.GetUseCount(), 0);
    EXPECT_FALSE(process.IsConnected());
  }

  StandInFrameworks frameworks;
  SProcessScript script;
  TestProcessType type{FourCC("EFN1"), &script};
  // The chip outlives the process that may still hold it.
  NotingChip chip;
  TestProcess process{&script};
};

}  // namespace

TEST_F(DSPProcessTest, TheProcessAnswersForIProcess2UnderBothIdentifiers) {
  for (const DOA::SIID* iid : {&CDSPProcess::kIID_IProcess2, &CDSPProcess::kIID_IProcess2Alternate}) {
    void* object = nullptr;
    EXPECT_EQ(process.QueryInterface(*iid, &object), 0);
    EXPECT_EQ(object, static_cast<IProcess2*>(&process));
    EXPECT_EQ(process.GetRefCount(), 2);
    process.Release();
  }
  DOA::SIID other = CDSPProcess::kIID_IProcess2;
  other.mBytes[0] = 0x62;
  void* object = &process;
  EXPECT_EQ(process.QueryInterface(other, &object), DOA::kNoInterface);
  EXPECT_EQ(object, nullptr);
}

TEST_F(DSPProcessTest, WithoutAChipTheForwardersDoNothing) {
  EXPECT_EQ(process.SendToDSP1(1), 0);
  EXPECT_EQ(process.SendToDSP3(1, 2), 0);
  process.AttachDSPObject(0x77, &chip);
  process.SetDSPSlotNumber(2);
  EXPECT_EQ(process.SendToDSP1(5), 0);
  EXPECT_EQ(process.SendToDSP2(6), 0);
  EXPECT_EQ(process.SendToDSP3(7, 8), 0);
  EXPECT_EQ(process.SendToDSP4(9, 10), 0);
  EXPECT_EQ(chip.mSent, (std::vector<std::vector<int32_t>>{{1, 3, 2, 5}, {2, 3, 2, 6}, {3, 3, 2, 7, 8}, {4, 3, 2, 9, 10}}));
  EXPECT_EQ(process.GetStoredValue(), 0x77u);
  process.ReleaseProcess();
}

TEST_F(DSPProcessTest, AProcessIsOneUserOfTheChipItHolds) {
  NotingChip other;
  process.AttachDSPObject(1, &chip);
  process.AttachDSPObject(1, &chip);
  EXPECT_EQ(chip.GetUseCount(), 1);
  process.AttachDSPObject(2, &other);
  EXPECT_EQ(chip.GetUseCount(), 0);
  EXPECT_EQ(other.GetUseCount(), 1);
  process.AttachDSPObject(0, nullptr);
  EXPECT_EQ(other.GetUseCount(), 0);
  process.AttachDSPObject(1, &chip);
  // Released twice, as the type and then a destructor do: one user less.
  process.ReleaseProcess();
  process.ReleaseProcess();
  EXPECT_EQ(chip.GetUseCount(), 0);
  EXPECT_EQ(process.GetDSPObject(), nullptr);
}

TEST_F(DSPProcessTest, ConnectingWithoutPreparationStoresTheConnection) {
  process.SetCreatingType(&type);
  chip.SetUserWord(0x99);
  EXPECT_EQ(process.Connect(&chip), 0);
  HostWord word1 = 0, word2 = 0;
  process.GetTypeWord1(&word1);
  process.GetTypeWord2(&word2);
  EXPECT_EQ(word1, 0x99u);
  EXPECT_EQ(word2, reinterpret_cast<HostWord>(chip.GetDSP()));
  EXPECT_EQ(process.GetDSPObject(), &chip);
  EXPECT_EQ(chip.GetUseCount(), 1);
  EXPECT_TRUE(process.IsConnected());
  EXPECT_EQ(process.GetConnectedFlag(), 1);
  // Inputs 1 and 2, then outputs 1 and 2; no preparation asked for.
  EXPECT_EQ(ConnectionCalls(),
            (std::vector<std::string>{"FicReactivateListener(1)", "FicReactivateListener(2)",
                                      "FicReactivateTalker(1)", "FicReactivateTalker(2)"}));
}

TEST_F(DSPProcessTest, APreparationThisCallBeganIsEnded) {
  frameworks.DAE()->SetGestalt(ficgestalt::kConnections, 1);
  EXPECT_EQ(process.Connect(&chip), 0);
  EXPECT_EQ(ConnectionCalls(),
            (std::vector<std::string>{"FicPrepareForConnections(1)", "FicReactivateListener(1)",
                                      "FicReactivateListener(2)", "FicReactivateTalker(1)", "FicReactivateTalker(2)",
                                      "FicPrepareForConnections(0)"}));
  frameworks.DAE()->mCommon.ClearCalls();
  EXPECT_EQ(process.Disconnect(), 0);
  EXPECT_EQ(ConnectionCalls(),
            (std::vector<std::string>{"FicPrepareForConnections(1)", "FicDeactivateTalker(1)",
                                      "FicDeactivateTalker(2)", "FicDeactivateListener(1)",
                                      "FicDeactivateListener(2)", "FicPrepareForConnections(0)"}));
  ExpectDetached();
}

TEST_F(DSPProcessTest, AFailingHandshakeLeavesTheProcessDetached) {
  frameworks.DAE()->SetGestalt(ficgestalt::kConnections, 1);
  frameworks.DAE()->mCommon.FailFunction("FicReactivateListener", -20);
  EXPECT_EQ(process.Connect(&chip), -20);
  ExpectDetached();
  EXPECT_EQ(ConnectionCalls(), (std::vector<std::string>{"FicPrepareForConnections(1)", "FicReactivateListener(1)",
                                                         "FicPrepareForConnections(0)"}));

  // The outputs failing: the inputs already connected are disconnected.
  frameworks.DAE()->mCommon.Reset();
  frameworks.DAE()->mCommon.FailFunction("FicReactivateTalker", -21);
  EXPECT_EQ(process.Connect(&chip), -21);
  ExpectDetached();
  EXPECT_EQ(ConnectionCalls(),
            (std::vector<std::string>{"FicReactivateListener(1)", "FicReactivateListener(2)", "FicReactivateTalker(1)",
                                      "FicDeactivateListener(1)", "FicDeactivateListener(2)"}));

  // The engine refusing to prepare: nothing stays attached either.
  frameworks.DAE()->mCommon.Reset();
  frameworks.DAE()->SetGestalt(ficgestalt::kConnections, 1);
  frameworks.DAE()->mCommon.FailFunction("FicPrepareForConnections", -23);
  EXPECT_EQ(process.Connect(&chip), -23);
  ExpectDetached();

  // A port the engine reports as already done counts as done.
  frameworks.DAE()->mCommon.Reset();
  frameworks.DAE()->mCommon.FailFunction("FicReactivateListener", -7103);
  EXPECT_EQ(process.Connect(&chip), 0);
  EXPECT_TRUE(process.IsConnected());
}

TEST_F(DSPProcessTest, AFailingDisconnectionRestoresTheOutputs) {
  frameworks.DAE()->SetGestalt(ficgestalt::kConnections, 1);
  ASSERT_EQ(process.Connect(&chip), 0);
  frameworks.DAE()->mCommon.ClearCalls();
  frameworks.DAE()->mCommon.FailFunction("FicDeactivateListener", -22);
  EXPECT_EQ(process.Disconnect(), -22);
  EXPECT_EQ(ConnectionCalls(),
            (std::vector<std::string>{"FicPrepareForConnections(1)", "FicDeactivateTalker(1)",
                                      "FicDeactivateTalker(2)", "FicDeactivateListener(1)", "FicReactivateTalker(1)",
                                      "FicReactivateTalker(2)", "FicPrepareForConnections(0)"}));
}

TEST_F(DSPProcessTest, TheProcessingPrecisionComesFromTheEngine) {
  EXPECT_EQ(process.GetProcessingPrecision(), 0);
  frameworks.DAE()->SetGestalt(ficgestalt::kPrecision, reinterpret_cast<intptr_t>(&Precision));
  EXPECT_EQ(process.GetProcessingPrecision(), 24);
  EXPECT_EQ(process.GetTypeAnswer26(), 0);
  EXPECT_EQ(process.GetLoad(), 100.0);
  EXPECT_EQ(process.SetSettableWord(0x55), 0);
  EXPECT_EQ(process.GetSettableWord(), 0x55u);
  process.ClearSettableWord();
  EXPECT_EQ(process.GetSettableWord(), 0u);
}
