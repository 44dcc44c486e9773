#include "rtas/library/HostFrameworkAccess.h"

#include <gtest/gtest.h>

#include "platform/carboncore/Resources.h"
#include "platform/corefoundation/CFBundleStandIn.h"
#include "platform/protools/HostFrameworkIds.h"
#include "rtas/library/DAEFunctions.h"
#include "rtas/library/DSIFunctions.h"
#include "rtas/library/PascalText.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

std::string NameAt(const UDigiLibAccess& access, int32_t index) {
  Str255 name;
  return access.GetFunctionName(index, name) == 0 ? pascaltext::ToString(name) : "(none)";
}

}  // namespace

TEST(HostFrameworkAccess, EveryWrapperRowNamesItsIndexAndResolvesInTheStandIns) {
  StandInFrameworks frameworks;
  ASSERT_EQ(InitDAELibAccess(), 0);
  ASSERT_EQ(InitDSILibAccess(), 0);
  struct Row {
    const UDigiLibAccess* access;
    const char* name;
    int32_t index;
  };
#define BRIMLOW_DAE_ROW(name, index, ...) {DAELibAccess(), #name, index},
#define BRIMLOW_DSI_ROW(name, index, ...) {DSILibAccess(), #name, index},
  const Row rows[] = {BRIMLOW_DAE_FUNCTIONS(BRIMLOW_DAE_ROW) BRIMLOW_DAE_IRREGULAR_NAMES(BRIMLOW_DAE_ROW)
                          BRIMLOW_DSI_FUNCTIONS(BRIMLOW_DSI_ROW) BRIMLOW_DSI_IRREGULAR_NAMES(BRIMLOW_DSI_ROW)};
#undef BRIMLOW_DAE_ROW
#undef BRIMLOW_DSI_ROW
  for (const Row& row : rows) {
    EXPECT_EQ(NameAt(*row.access, row.index), row.name);
    EXPECT_NE(row.access->GetLibraryFunction(row.index), nullptr) << row.name;
  }
  // The fixed names the wrappers do not call, and the slots without one.
  EXPECT_EQ(NameAt(*DAELibAccess(), 0), "FicMain");
  EXPECT_EQ(NameAt(*DAELibAccess(), 4), "FicFindNamedType");
  EXPECT_EQ(NameAt(*DSILibAccess(), 0), "InitSADriver");
  EXPECT_EQ(NameAt(*DSILibAccess(), 2), "UnInitSADriver");
  EXPECT_EQ(NameAt(*DAELibAccess(), 529), "(none)");
  EXPECT_EQ(NameAt(*DSILibAccess(), 141), "(none)");
  EXPECT_EQ(NameAt(*DSILibAccess(), 157), "(none)");
  EXPECT_EQ(DAELibAccess()->FunctionCount(), 532);
  EXPECT_EQ(DSILibAccess()->FunctionCount(), 225);
  EXPECT_EQ(DAELibAccess()->GetLibraryFunction(529), nullptr);
}

TEST(HostFrameworkAccess, AFrameworkMissingNamesLoadsAndOnlyThoseSlotsAnswerMissing) {
  StandInFrameworks frameworks(StandInFrameworks::kDAE);
  frameworks.DAE()->mCommon.HideName("FicGetMaximumRTASQuantum");
  frameworks.DAE()->mCommon.HideName("FicGetVersion");
  ASSERT_EQ(InitDAELibAccess(), 0);
  EXPECT_EQ(DAELibAccess()->GetLibraryFunction(530), nullptr);
  EXPECT_EQ(DAELibAccess()->GetLibraryFunction(321), nullptr);
  EXPECT_NE(DAELibAccess()->GetLibraryFunction(6), nullptr);
  EXPECT_EQ(DAELibAccess()->LoadLibraryFunction(530), -9007);
  EXPECT_EQ(FicGetMaximumRTASQuantum(), -2802);  // not 0
  EXPECT_EQ(FicGetVersion(), -2802);
  EXPECT_EQ(FicMain(), 0);
}

TEST(HostFrameworkAccess, OpeningKeepsTheCurrentResourceFile) {
  StandInFrameworks frameworks(StandInFrameworks::kDAE);
  const short host = platform::OpenResourceFolder("");
  const short other = platform::OpenResourceFolder("");
  UseResFile(host);
  ASSERT_EQ(InitDAELibAccess(), 0);
  EXPECT_EQ(CurResFile(), host);
  CloseResFile(other);
  CloseResFile(host);
}

TEST(HostFrameworkAccess, InitOnceReleaseTwiceAndTheHostsReferenceComesBack) {
  StandInFrameworks frameworks(StandInFrameworks::kDAE);
  const CFIndex hostReferences = CFGetRetainCount(frameworks.DAEBundle());
  ASSERT_EQ(InitDAELibAccess(), 0);
  CDAELibAccess* first = DAELibAccess();
  EXPECT_EQ(CFGetRetainCount(frameworks.DAEBundle()), hostReferences + 1);
  EXPECT_EQ(InitDAELibAccess(), 0);
  EXPECT_EQ(DAELibAccess(), first);  // nothing loaded again
  EXPECT_EQ(CFGetRetainCount(frameworks.DAEBundle()), hostReferences + 1);
  EXPECT_EQ(ReleaseDAELibAccess(), 0);
  EXPECT_EQ(DAELibAccess(), nullptr);
  EXPECT_EQ(CFGetRetainCount(frameworks.DAEBundle()), hostReferences);
  EXPECT_FALSE(CFBundleIsExecutableLoaded(frameworks.DAEBundle()));  // released with its code unloaded
  EXPECT_EQ(ReleaseDAELibAccess(), 0);
  EXPECT_EQ(ReleaseDSILibAccess(), 0);  // never loaded
  // The host's copy stays configured: its code was kept loaded.
  frameworks.DAE()->SetMaximumQuantum(333);
  ASSERT_EQ(InitDAELibAccess(), 0);
  EXPECT_EQ(FicGetMaximumRTASQuantum(), 333);
}

TEST(HostFrameworkAccess, StartDSIAndStartDAE) {
  StandInFrameworks frameworks;
  EXPECT_EQ(StartDAE(), 0);
  EXPECT_EQ(frameworks.DSI()->mCommon.CountCalls("InitSADriver"), 1);
  EXPECT_EQ(frameworks.DAE()->mCommon.CountCalls("FicMain"), 1);

  frameworks.DSI()->mCommon.FailFunction("InitSADriver", -7777);
  EXPECT_EQ(StartDSI(), -7777);
  frameworks.DAE()->mCommon.FailFunction("FicMain", -1234);
  EXPECT_EQ(StartDAE(), -1234);  // the DSI's failure is not looked at
}

TEST(HostFrameworkAccess, StartFailsWithTheLoadersStatusAndMissingEntryPointsAnswerMissing) {
  {
    StandInFrameworks none(0);
    EXPECT_EQ(StartDSI(), -9065);
    // The DAE is also looked for by folder: "/Library/Frameworks/" has none.
    EXPECT_EQ(StartDAE(), -9064);
    EXPECT_EQ(CallDSPMgrEntryPoint(), nullptr);
  }
  StandInFrameworks frameworks;
  frameworks.DSI()->mCommon.HideName("InitSADriver");
  frameworks.DAE()->mCommon.HideName("FicMain");
  EXPECT_EQ(StartDSI(), -2802);
  EXPECT_EQ(StartDAE(), -2802);
}

struct FallbackRow {
  const char* name;
  int32_t notLoaded, missing;
  int32_t (*call)();
};

class DAEFallbacks : public ::testing::TestWithParam<FallbackRow> {};

TEST_P(DAEFallbacks, AnswerTheirOwnValuesWithoutTheEngineOrTheFunction) {
  const FallbackRow row = GetParam();
  {
    StandInFrameworks none(0);
    EXPECT_EQ(row.call(), row.notLoaded) << row.name;
  }
  StandInFrameworks frameworks(StandInFrameworks::kDAE);
  frameworks.DAE()->mCommon.HideName(row.name);
  ASSERT_EQ(InitDAELibAccess(), 0);
  EXPECT_EQ(row.call(), row.missing) << row.name;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DAEFallbacks,
    ::testing::Values(
        FallbackRow{"FicIsAlive", 1, 1, [] { return int32_t{FicIsAlive()}; }},
        FallbackRow{"FicPrepareForConnectionsStatus", 4, 14, [] { return int32_t{FicPrepareForConnectionsStatus(0)}; }},
        FallbackRow{"FicDelete", -2812, -2802, [] { return int32_t{FicDelete(FicRef{1})}; }},
        FallbackRow{"FicGetMaximumRTASQuantum", -2812, -2802, [] { return FicGetMaximumRTASQuantum(); }},
        // References answer null, so the callers' checks for 0 see the failure.
        FallbackRow{"FicCreateCriticalSection", 0, 0, [] { return int32_t(FicCreateCriticalSection() != 0); }},
        FallbackRow{"FicNewServer", 0, 0, [] { return int32_t(FicNewServer() != 0); }},
        FallbackRow{"FicNewObject", 0, 0, [] { return int32_t(FicNewObject(FicRef{1}, FicRef{2}) != 0); }},
        FallbackRow{"FicFindStandardType", 0, 0, [] { return int32_t(FicFindStandardType(FicRef{1}, 57) != 0); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DAEFunctions, GestaltClearsTheAnswerBeforeAFallback) {
  intptr_t answer = 77;
  {
    StandInFrameworks none(0);
    EXPECT_EQ(FicGestalt(ficgestalt::kVariableQuantum, &answer), -2812);
    EXPECT_EQ(answer, 0);
  }
  StandInFrameworks frameworks(StandInFrameworks::kDAE);
  ASSERT_EQ(InitDAELibAccess(), 0);
  answer = 77;
  EXPECT_NE(FicGestalt(ficgestalt::kLinkAllowed, &answer), 0);  // unlinked by default
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(FicGestalt(ficgestalt::kVariableQuantum, &answer), 0);
  EXPECT_EQ(answer, 1);
  frameworks.DAE()->mCommon.HideName("FicGestalt");
  ReleaseDAELibAccess();
  ASSERT_EQ(InitDAELibAccess(), 0);
  answer = 77;
  EXPECT_EQ(FicGestalt(ficgestalt::kVariableQuantum, &answer), -2802);
  EXPECT_EQ(answer, 0);
}

TEST(DAEFunctions, IdleIsANoOpWithoutTheEngineAndResultsAreNarrowed) {
  { StandInFrameworks none(0);
    FicPersonalityDoIdle();  // nothing to call, nothing returned
  }
  StandInFrameworks frameworks(StandInFrameworks::kDAE);
  ASSERT_EQ(InitDAELibAccess(), 0);
  FicPersonalityDoIdle();
  EXPECT_EQ(frameworks.DAE()->mCommon.CountCalls("FicPersonalityDoIdle"), 1);
  // 16-bit results keep the low 16 bits as a signed number, 8-bit ones the
  // low byte, 32-bit ones everything.
  frameworks.DAE()->mCommon.FailFunction("FicDelete", 0x0001fffe);
  EXPECT_EQ(FicDelete(FicRef{1}), -2);
  frameworks.DAE()->mCommon.FailFunction("FicIsAlive", 0x1234);
  EXPECT_EQ(FicIsAlive(), 0x34);
  frameworks.DAE()->mCommon.FailFunction("FicGetMaximumRTASQuantum", 0x00012345);
  EXPECT_EQ(FicGetMaximumRTASQuantum(), 0x00012345);
}

TEST(DSIFunctions, OnEmptyHostPortWaitsForBit2ThenSendsTheLow16Bits) {
  StandInFrameworks frameworks(StandInFrameworks::kDSI);
  frameworks.DSI()->mCommon.HideName("DsiDoHostCommandOnEmptyHostPort");
  ASSERT_EQ(InitDSILibAccess(), 0);
  DsiDSP dsp = frameworks.DSI()->AddDSP(frameworks.DSI()->AddCard(25, 0), 0, 0, nullptr);
  frameworks.DSI()->mCommon.ClearCalls();
  EXPECT_EQ(DsiDoHostCommandOnEmptyHostPort(dsp, 0x12345, 99), 0);
  SStandInCall wait{}, command{};
  ASSERT_TRUE(frameworks.DSI()->mCommon.GetCall(0, &wait));
  ASSERT_TRUE(frameworks.DSI()->mCommon.GetCall(1, &command));
  EXPECT_STREQ(wait.mName, "DsiWaitHostBit");
  EXPECT_EQ(wait.mArgs[1], 2);
  EXPECT_EQ(wait.mArgs[2], 1);
  EXPECT_EQ(wait.mArgs[3], 99);
  EXPECT_STREQ(command.mName, "DsiDoHostCommand");
  EXPECT_EQ(command.mArgs[1], 0x2345);
  // A failed wait ends it.
  frameworks.DSI()->mCommon.FailFunction("DsiWaitHostBit", -7);
  frameworks.DSI()->mCommon.ClearCalls();
  EXPECT_EQ(DsiDoHostCommandOnEmptyHostPort(dsp, 1, 99), -7);
  EXPECT_EQ(frameworks.DSI()->mCommon.CountCalls("DsiDoHostCommand"), 0);
}

TEST(DSIFunctions, WithDataListBuildsTheExchangeInTheFlagsOrder) {
  StandInFrameworks frameworks(StandInFrameworks::kDSI);
  frameworks.DSI()->mCommon.HideName("DsiDoHostCommandOnEmptyHostPort");
  frameworks.DSI()->mCommon.HideName("DsiDoHostCommandWithDataList");
  ASSERT_EQ(InitDSILibAccess(), 0);
  const SDSIControl* dsi = frameworks.DSI();
  DsiDSP dsp = dsi->AddDSP(dsi->AddCard(25, 0), 0, 0, nullptr);
  const int32_t send[2] = {11, 22};
  for (const bool sendFirst : {false, true}) {
    dsi->mCommon.ClearCalls();
    dsi->QueueHostWord(-5);
    dsi->QueueHostWord(6);
    int32_t receive[2] = {};
    EXPECT_EQ(DsiDoHostCommandWithDataList(dsp, 40, sendFirst, 2, receive, 2, send), 0);
    const std::vector<std::string> expected =
        sendFirst ? std::vector<std::string>{"DsiSendLo24of32", "DsiSendLo24of32", "DsiWaitHostBit",
                                             "DsiDoHostCommand", "DsiGetLo24ofS32", "DsiGetLo24ofS32"}
                  : std::vector<std::string>{"DsiWaitHostBit", "DsiDoHostCommand", "DsiSendLo24of32",
                                             "DsiSendLo24of32", "DsiGetLo24ofS32", "DsiGetLo24ofS32"};
    ASSERT_EQ(dsi->mCommon.CountCalls(nullptr), 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(CallName(dsi, i), expected[i]) << i;
    SStandInCall firstSend{};
    dsi->mCommon.GetCall(sendFirst ? 0 : 2, &firstSend);
    EXPECT_EQ(firstSend.mArgs[1], 11);
    EXPECT_EQ(firstSend.mArgs[2], kDsiStepTimeout);
    EXPECT_EQ(receive[0], -5);
    EXPECT_EQ(receive[1], 6);
  }
  // The first failing step ends the exchange; no buffer for a count is refused.
  dsi->mCommon.FailFunction("DsiSendLo24of32", -9);
  dsi->mCommon.ClearCalls();
  int32_t receive[1];
  EXPECT_EQ(DsiDoHostCommandWithDataList(dsp, 40, true, 1, receive, 2, send), -9);
  EXPECT_EQ(dsi->mCommon.CountCalls(nullptr), 1);
  EXPECT_EQ(DsiDoHostCommandWithDataList(dsp, 40, true, 1, nullptr, 0, nullptr), paramErr);
}

TEST(DSIFunctions, CompositesCallTheDirectFunctionWhenPresentAndAnswerNotLoadedWithoutTheDSI) {
  {
    StandInFrameworks none(0);
    EXPECT_EQ(DsiDoHostCommandOnEmptyHostPort(nullptr, 1, 1), -2812);
    EXPECT_EQ(DsiDoHostCommandWithDataList(nullptr, 1, false, 0, nullptr, 0, nullptr), -2812);
  }
  StandInFrameworks frameworks(StandInFrameworks::kDSI);
  ASSERT_EQ(InitDSILibAccess(), 0);
  DsiDSP dsp = frameworks.DSI()->AddDSP(frameworks.DSI()->AddCard(25, 0), 0, 0, nullptr);
  frameworks.DSI()->mCommon.ClearCalls();
  EXPECT_EQ(DsiDoHostCommandOnEmptyHostPort(dsp, 1, 1), 0);
  EXPECT_EQ(DsiDoHostCommandWithDataList(dsp, 1, false, 0, nullptr, 0, nullptr), 0);
  EXPECT_EQ(CallName(frameworks.DSI(), 0), "DsiDoHostCommandOnEmptyHostPort");
  EXPECT_EQ(CallName(frameworks.DSI(), 1), "DsiDoHostCommandWithDataList");
  EXPECT_EQ(frameworks.DSI()->mCommon.CountCalls(nullptr), 2);
}
