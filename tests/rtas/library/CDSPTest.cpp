#include "rtas/library/CDSP.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/carboncore/MacMemory.h"
#include "platform/carboncore/Resources.h"
#include "platform/corefoundation/CFBundleStandIn.h"
#include "rtas/library/C321ChipDSP.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/COnyxChipDSP.h"
#include "rtas/library/CPrestoChipDSP.h"
#include "rtas/library/CProcessDSP.h"
#include "rtas/library/DebuggerReport.h"
#include "rtas/library/DsiShims.h"
#include "rtas/library/FourCC.h"
#include "rtas/library/HostCommandTable.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "rtas/library/NewProcessDSP.h"
#include "tests/ScratchFolder.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

class DSPTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(StartDSI(), 0); }

  DsiDSP AddDSP(int16_t cardType, uint32_t coreType = 0, int16_t number = 1) {
    DsiCard card = frameworks.DSI()->AddCard(cardType, 0);
    return frameworks.DSI()->AddDSP(card, number, coreType, nullptr);
  }
  // The DSI calls made of that name, each as its argument words.
  std::vector<std::vector<intptr_t>> Calls(const char* name) const {
    std::vector<std::vector<intptr_t>> calls;
    SStandInCall call{};
    for (int32_t i = 0; frameworks.DSI()->mCommon.GetCall(i, &call); ++i) {
      if (std::string(call.mName) == name) calls.emplace_back(call.mArgs, call.mArgs + call.mArgCount);
    }
    return calls;
  }

  StandInFrameworks frameworks;
};

// The byte registers of a host port laid out in a test's own block.
struct PortBlock {
  uint8_t bytes[80] = {};
};

}  // namespace

TEST_F(DSPTest, AttachingMakesAShellThatAsksTheLibraryForItsCallbacks) {
  const DsiDSP dsp = AddDSP(18);
  CDSP chip;
  EXPECT_EQ(chip.Attach(dsp), 0);
  EXPECT_EQ(chip.GetDSP(), dsp);
  EXPECT_FALSE(chip.UsesDsiAccessors());
  EXPECT_TRUE(chip.IsCardType18());
  EXPECT_TRUE(chip.IsCardType18Or19());
  EXPECT_EQ(chip.GetHostPortBase(), chip.GetInfoRecord());
  const DsiShell shell = chip.GetShell();
  ASSERT_NE(shell, nullptr);
  EXPECT_EQ(shell->mShellID, FourCC("Digi"));
  EXPECT_EQ(shell->mIsStandard, 1);
  EXPECT_EQ(shell->mDSPCode, 0u);
  EXPECT_EQ(shell->mHostCommandHandler, reinterpret_cast<HostWord>(&HostCommandLookup));
  EXPECT_EQ(chip.GetUseCount(), 0);

  CDSP detached;
  EXPECT_EQ(detached.Attach(nullptr), 0);
  EXPECT_EQ(detached.GetShell(), nullptr);
  EXPECT_EQ(detached.GetLoLong(), -1);
}

TEST_F(DSPTest, AFreeDSPIsTheFirstThatNoClientHolds) {
  const DsiDSP held = AddDSP(18);
  const DsiDSP free = AddDSP(18);
  held->mClient = 0x10;
  CDSP chip;
  EXPECT_EQ(chip.FindFreeDSP(), free);
  free->mClient = 0x20;
  EXPECT_EQ(chip.FindFreeDSP(), nullptr);
}

TEST_F(DSPTest, TheRegisterPathWritesCommandsAndWordsIntoThePortBytes) {
  CDSP chip;
  chip.Attach(AddDSP(18));
  PortBlock port;
  chip.SetHostPortBase(port.bytes);
  port.bytes[11] = 0x07;  // transmit empty, transmit ready, receive ready
  EXPECT_EQ(chip.DoHostCommand(5), 0);
  EXPECT_EQ(port.bytes[7], 18 + 5 + 128);
  EXPECT_EQ(chip.SendLoLong(0x7A123456), 0);
  EXPECT_EQ(port.bytes[23], 0x12);
  EXPECT_EQ(port.bytes[27], 0x34);
  EXPECT_EQ(port.bytes[31], 0x56);
  port.bytes[23] = 0xFF;
  port.bytes[27] = 0xFF;
  port.bytes[31] = 0xFE;
  EXPECT_EQ(chip.GetLoLong(), -2);
  port.bytes[23] = 0x7F;
  EXPECT_EQ(chip.GetLoLong(), 0x7FFFFE);

  // A port that never gets ready is given up on without a report.
  port.bytes[7] = 0x80;
  port.bytes[11] = 0;
  EXPECT_EQ(chip.DoHostCommandOnEmptyHostPort(2), 0);
  EXPECT_EQ(port.bytes[7], 18 + 2 + 128);
}

TEST_F(DSPTest, WithTheDsiAccessorsThePortGoesThroughTheDsi) {
  const DsiDSP dsp = AddDSP(21);
  ASSERT_EQ(DetectDsiAccessors(), 0);
  ASSERT_TRUE(UsesDsiAccessors());
  CDSP chip;
  chip.Attach(dsp);
  EXPECT_TRUE(chip.UsesDsiAccessors());
  EXPECT_EQ(chip.GetHostPortBase(), nullptr);
  frameworks.DSI()->mCommon.ClearCalls();
  chip.DoHostCommand(4);
  chip.SendLoLong(77);
  const int32_t words[] = {1, 2};
  chip.SendLoLongs(words, 2);
  int32_t receive[1] = {0};
  frameworks.DSI()->QueueHostWord(-9);
  EXPECT_EQ(chip.DoHostCommandWithDataSendFirst(6, 1, receive, {10, 11}), 0);
  EXPECT_EQ(receive[0], -9);
  const intptr_t d = reinterpret_cast<intptr_t>(dsp);
  EXPECT_EQ(Calls("DsiDoHostCommand"), (std::vector<std::vector<intptr_t>>{{d, 22, 1000000000}}));
  EXPECT_EQ(Calls("DsiSendLo24of32"), (std::vector<std::vector<intptr_t>>{{d, 77, 1000000000}}));
  ASSERT_EQ(Calls("DsiSendLo24of32Check").size(), 1u);
  EXPECT_EQ(Calls("DsiSendLo24of32Check")[0][2], 2);
  EXPECT_EQ(Calls("DsiSendLo24of32Check")[0][3], 2000000000);
  ASSERT_EQ(Calls("DsiDoHostCommandWithDataList").size(), 1u);
  const std::vector<intptr_t> list = Calls("DsiDoHostCommandWithDataList")[0];
  EXPECT_EQ(std::vector<intptr_t>(list.begin(), list.begin() + 4), (std::vector<intptr_t>{d, 24, 1, 1}));
  EXPECT_EQ(list[5], 2);
}

TEST_F(DSPTest, DetachingHandsTheChipBackToTheStandardShell) {
  const DsiDSP dsp = AddDSP(18);
  CDSP chip;
  chip.Attach(dsp);
  dsp->mClientValue = 0x1234;
  frameworks.DSI()->mCommon.ClearCalls();
  chip.Detach();
  ASSERT_EQ(Calls("DsiLoadShell").size(), 1u);
  EXPECT_EQ(Calls("DsiLoadShell")[0], (std::vector<intptr_t>{reinterpret_cast<intptr_t>(dsp), 0, 0}));
  EXPECT_EQ(dsp->mClientValue, 0u);
  frameworks.DSI()->mCommon.FailFunction("DsiLoadShell", -60);
  try {
    chip.Detach();
    ADD_FAILURE() << "a shell that would not load";
  } catch (const CDAEError& error) {
    EXPECT_EQ(error.Code(), -60);
  }
}

TEST_F(DSPTest, LoadingTheCodeMakesTheObjectTheChipsClient) {
  ScratchFolder folder;
  std::filesystem::create_directories(folder.PathOf("SACD"));
  folder.Write("SACD/5", {9, 8, 7});
  CFBundleRef bundle = platform::CreateSymbolBundle("com.kestrelbay.rtas.DSPCode", nullptr, 0);
  platform::SetBundleResourceFolder(bundle, folder.Path().c_str());
  const int16_t file = CurResFile();

  const DsiDSP dsp = AddDSP(18);
  CProcessDSP chip;
  chip.Attach(dsp);
  frameworks.DSI()->mCommon.ClearCalls();
  chip.LoadDSPCode(bundle, 5);
  const intptr_t d = reinterpret_cast<intptr_t>(dsp);
  const intptr_t self = reinterpret_cast<intptr_t>(static_cast<CDSP*>(&chip));
  // Back to the standard shell first (the chip held another), then ours.
  EXPECT_EQ(Calls("ResetDSP").size(), 1u);
  EXPECT_EQ(Calls("DsiLoadShell"),
            (std::vector<std::vector<intptr_t>>{{d, 0, 0}, {d, reinterpret_cast<intptr_t>(chip.GetShell()), self}}));
  EXPECT_EQ(dsp->mClientValue, static_cast<HostWord>(self));
  // The released code is not left in the shell.
  EXPECT_EQ(chip.GetShell()->mDSPCode, 0u);
  EXPECT_EQ(CurResFile(), file);

  try {
    chip.LoadDSPCode(bundle, 6);
    ADD_FAILURE() << "code that is not there";
  } catch (const CDAEError& error) {
    EXPECT_EQ(error.Code(), -7061);
  }
  EXPECT_EQ(CurResFile(), file);
  CFRelease(bundle);
}

namespace {

// A process chip whose host-port exchanges are only noted: the command,
// the words sent and how many came back, answered from a queue.
class NotedChip : public CProcessDSP {
 public:
  struct SExchange {
    int16_t command;
    std::vector<int32_t> words;
    int32_t receiveCount;
  };
  int16_t DoHostCommandWithDataBuffer(int16_t command, int32_t receiveCount, int32_t* receive, int32_t sendCount,
                                      const int32_t* send) override {
    mExchanges.push_back({command, std::vector<int32_t>(send, send + sendCount), receiveCount});
    for (int32_t i = 0; i < receiveCount; ++i) {
      receive[i] = mAnswers.empty() ? 0 : mAnswers.front();
      if (!mAnswers.empty()) mAnswers.erase(mAnswers.begin());
    }
    return 0;
  }
  int16_t SendLoLong(int32_t value) override {
    mSingles.push_back(value);
    return 0;
  }
  int16_t SendLoLongs(const int32_t* words, int32_t count) override {
    mBlocks.emplace_back(words, words + count);
    return 0;
  }
  std::vector<SExchange> mExchanges;
  std::vector<int32_t> mAnswers;
  std::vector<int32_t> mSingles;
  std::vector<std::vector<int32_t>> mBlocks;
};

std::vector<std::string> gReports;
void NoteReport(const char* message) { gReports.push_back(message); }

}  // namespace

TEST_F(DSPTest, MessagesAreTheMessageCommandAndTheirWords) {
  NotedChip chip;
  const int32_t base = 0xFFC0;
  chip.SendMessage1(2, 3, 7);
  chip.SendMessage3(2, 3, 8, 9);
  chip.SetFlag(true);
  chip.SetFlagAt(4, false);
  chip.SetAddressPair(10, 11);
  chip.SendCommand(5);
  const std::vector<std::vector<int32_t>> expected = {
      {1, 2, 3, 7, 63 + base}, {3, 2, 3, 8, 9}, {6, 0xFFFFFF}, {7, 4 + base, 0}, {8, 10 + base, 11 + base}, {14, 5},
  };
  ASSERT_EQ(chip.mExchanges.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(chip.mExchanges[i].command, 13) << i;
    EXPECT_EQ(chip.mExchanges[i].words, expected[i]) << i;
  }
  int16_t first = 0, second = 0;
  chip.GetAddressPair(&first, &second);
  EXPECT_EQ(first, 10);
  EXPECT_EQ(second, 11);

  // Reading a word asks twice; the first answer is the word.
  chip.mExchanges.clear();
  chip.mAnswers = {0x55, 0x66};
  EXPECT_EQ(chip.ReadWord(40), 0x55);
  ASSERT_EQ(chip.mExchanges.size(), 2u);
  EXPECT_EQ(chip.mExchanges[0].receiveCount, 1);
  EXPECT_EQ(chip.mExchanges[1].receiveCount, 0);
  EXPECT_EQ(chip.mExchanges[1].words, (std::vector<int32_t>{0, 40}));

  // Two words joined: the first above the second's low 24 bits.
  chip.mAnswers = {0x12, static_cast<int32_t>(0xAB345678)};
  EXPECT_EQ(chip.ReadLong(1, 2), (int64_t{0x12} << 24) | 0x345678);
  chip.mExchanges.clear();
  EXPECT_EQ(chip.ReadLong(1, -1), -1);
  EXPECT_TRUE(chip.mExchanges.empty());
}

TEST_F(DSPTest, ALongWriteIsRefusedWhileTheChipCannotTakeIt) {
  NotedChip chip;
  chip.mAnswers = {-1};
  EXPECT_EQ(chip.WriteLong(30, 0x12345678), -7433);
  ASSERT_EQ(chip.mExchanges.size(), 1u);
  EXPECT_EQ(chip.mExchanges[0].words, (std::vector<int32_t>{12, 30}));
  chip.mAnswers = {0};
  EXPECT_EQ(chip.WriteLong(30, 0x12345678), 0);
  EXPECT_EQ(chip.mExchanges.back().words, (std::vector<int32_t>{11, 30, 0x12, 0x345678}));
}

TEST_F(DSPTest, StateDataNeedsAFirstBlockLargeEnough) {
  NotedChip chip;
  gReports.clear();
  SetDebuggerSink(NoteReport);
  EXPECT_EQ(chip.SetStateData(nullptr, 2, nullptr, 0, 1, 2, 3, 4, 5), -108);
  Handle small = NewHandle(4);
  EXPECT_EQ(chip.SetStateData(small, 2, nullptr, 0, 1, 2, 3, 4, 5), -108);
  EXPECT_EQ(gReports, (std::vector<std::string>{"CProcessDSP::SetStateData anXStateMem == NULL.",
                                                "CProcessDSP::SetStateData anXStateMem valid, but too small!"}));
  EXPECT_TRUE(chip.mExchanges.empty());

  Handle first = NewHandle(8);
  const int32_t firstWords[] = {100, 200};
  std::memcpy(*first, firstWords, 8);
  Handle second = NewHandle(4);
  const int32_t secondWord = 300;
  std::memcpy(*second, &secondWord, 4);
  // The second block holds one word, not the three it is said to: only
  // the one is sent.
  EXPECT_EQ(chip.SetStateData(first, 2, second, 3, 11, 12, 13, 14, 15), 0);
  ASSERT_EQ(chip.mExchanges.size(), 1u);
  EXPECT_EQ(chip.mExchanges[0].words, (std::vector<int32_t>{9, 14, 15, 13, 2, 12}));
  EXPECT_EQ(chip.mBlocks, (std::vector<std::vector<int32_t>>{{100, 200}, {300}}));
  EXPECT_EQ(chip.mSingles, (std::vector<int32_t>{3, 11}));

  chip.mAnswers = {-1, 5};
  int64_t time = 0;
  EXPECT_EQ(chip.GetCurrentTimeOfDay(&time), 0);
  EXPECT_EQ(gReports.back(), "CProcessDSP::GetCurrentTimeOfDay TODHi is negative!");
  EXPECT_EQ(chip.mExchanges.back().words, (std::vector<int32_t>{16}));
  SetDebuggerSink(nullptr);
  for (Handle h : {small, first, second}) DisposeHandle(h);
}

TEST_F(DSPTest, TheLockTellsANestedCallerTheChipIsBusy) {
  ASSERT_EQ(InitDAELibAccess(), 0);
  CProcessDSP chip;
  EXPECT_EQ(chip.Attach(AddDSP(18)), 0);
  ASSERT_NE(chip.GetLockHandle(), 0u);
  EXPECT_EQ(chip.Lock(), 1);
  EXPECT_EQ(chip.Lock(), 0);
  EXPECT_EQ(frameworks.DAE()->CriticalSectionDepth(chip.GetLockHandle()), 2);
  chip.Unlock();
  EXPECT_TRUE(chip.IsBusy());
  chip.Unlock();
  EXPECT_FALSE(chip.IsBusy());
  EXPECT_EQ(chip.GetLockDepth(), 0);
  EXPECT_EQ(frameworks.DAE()->CriticalSectionDepth(chip.GetLockHandle()), 0);
  chip.Unlock();  // an unmatched unlock leaves nothing it does not hold
  EXPECT_EQ(chip.GetLockDepth(), 0);

  // Host services too old for critical sections: their version answers.
  frameworks.DAE()->SetHostServicesVersion(0);
  CProcessDSP old;
  EXPECT_EQ(old.Attach(AddDSP(18)), 0);
  EXPECT_EQ(old.GetLockHandle(), 0u);
}

TEST_F(DSPTest, TheChipObjectFollowsTheKindOfDSP) {
  struct Row {
    int16_t cardType;
    uint32_t coreType;
    int16_t number;
    const char* kind;
  };
  const Row rows[] = {
      {18, 0, 1, "process"}, {21, 0, 1, "onyx"},      {26, 0, 1, "presto"},
      {31, 0, 2, "presto"},  {31, 0, 5, "generic"},   {25, kDsiCoreType321, 1, "321"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.kind);
    const DsiDSP dsp = AddDSP(row.cardType, row.coreType, row.number);
    if (std::string(row.kind) == "generic") {
      try {
        delete GetNewCProcessDSP(dsp);
        ADD_FAILURE() << "a DSP of no known kind";
      } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "unrecognized card type in GetNewCProcessDSP()");
      }
      continue;
    }
    std::unique_ptr<CProcessDSP> chip(GetNewCProcessDSP(dsp));
    const std::string kind = dynamic_cast<CPrestoChipDSP*>(chip.get())  ? "presto"
                             : dynamic_cast<COnyxChipDSP*>(chip.get()) ? "onyx"
                             : dynamic_cast<C321ChipDSP*>(chip.get())  ? "321"
                                                                       : "process";
    EXPECT_EQ(kind, row.kind);
  }
  // Each family's constants.
  EXPECT_EQ(COnyxChipDSP().GetMemoryBase(), 0x8001C0);
  EXPECT_EQ(COnyxChipDSP().GetOnyxHostCommandBase(), 58);
  EXPECT_EQ(CPrestoChipDSP().GetMemoryBase(), 0x801800);
  EXPECT_EQ(CPrestoChipDSP().GetOnyxHostCommandBase(), 74);
  EXPECT_EQ(C321ChipDSP().GetMemoryBase(), 0x801800);
  EXPECT_EQ(C321ChipDSP().GetHostCommandBase(), 58);
  EXPECT_EQ(CProcessDSP().GetMemoryBase(), 0xFFC0);
}

namespace {

uint32_t gTicks = 0;
// Each read of the clock is a tick later: a wait that never ends sees
// its 30 ticks go by.
uint32_t RunningTicks() { return gTicks++; }

struct RegisterBlock {
  uint32_t words[20] = {};
  uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(words); }
};

// An Onyx chip whose single sends are noted by kind.
class NotedOnyx : public COnyxChipDSP {
 public:
  int16_t SendLoLong(int32_t value) override {
    mSends.push_back("wait " + std::to_string(value));
    return 0;
  }
  bool SendWithoutWaiting(int32_t value) override {
    mSends.push_back("now " + std::to_string(value));
    return true;
  }
  std::vector<std::string> mSends;
};

}  // namespace

TEST_F(DSPTest, OnyxPortsUseRegistersAndGiveUpAfterThirtyTicks) {
  COnyxChipDSP chip;
  chip.SetTickClock(RunningTicks);
  EXPECT_EQ(chip.WaitHostFlag(1), -7201);  // no chip
  chip.Attach(AddDSP(21));
  RegisterBlock port;
  chip.SetHostPortBase(port.Bytes());
  gTicks = 0;
  EXPECT_EQ(chip.WaitHostFlag(4), -7218);
  EXPECT_GE(gTicks, 30u);
  port.words[1] = 0x4;  // status: receive ready
  EXPECT_EQ(chip.WaitHostFlag(4), 0);
  port.words[4] = 0x00800001;
  EXPECT_EQ(chip.GetLoLong(), static_cast<int32_t>(0xFF800001));
  port.words[1] = 0x1;
  EXPECT_EQ(chip.SendLoLong(0x123), 0);
  EXPECT_EQ(port.words[3], 0x123u);
  EXPECT_EQ(chip.DoHostCommand(3), 0);
  EXPECT_EQ(port.words[2], static_cast<uint32_t>((58 + 3) * 2 + 1));
  // The command register never clears: the next command is dropped.
  EXPECT_EQ(chip.DoHostCommand(4), 0);
  EXPECT_EQ(port.words[2], static_cast<uint32_t>((58 + 3) * 2 + 1));

  port.words[1] = 0;
  bool received = true;
  EXPECT_EQ(chip.ReceiveWithoutWaiting(&received), 0);
  EXPECT_FALSE(received);
  EXPECT_FALSE(chip.SendWithoutWaiting(5));
  chip.SetHostFlags(8 | 32);
  EXPECT_EQ(port.words[0], 40u);
  EXPECT_TRUE(chip.AreHostFlagsSet(8));
  chip.ClearHostFlags(8);
  EXPECT_FALSE(chip.AreHostFlagsSet(8 | 32));
}

TEST_F(DSPTest, OnyxBlockSendsWaitOnTheThirdOfEverySixAndTheLast) {
  NotedOnyx chip;
  const int32_t words[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  chip.SendLoLongs(words, 10);
  EXPECT_EQ(chip.mSends, (std::vector<std::string>{"now 1", "now 2", "wait 3", "now 4", "now 5", "now 6", "now 7",
                                                   "now 8", "wait 9", "wait 10"}));
  chip.mSends.clear();
  chip.SendLoLongs(words, 1);
  EXPECT_EQ(chip.mSends, (std::vector<std::string>{"wait 1"}));
}
