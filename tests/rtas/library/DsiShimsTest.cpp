#include "rtas/library/DsiShims.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <vector>

#include "rtas/library/CDAEError.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

// The DSI stand-in with cards, read either through its accessors (a DSI
// that answers DsiGetDSPShell) or in place (one that lacks it).
class DsiShims : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!GetParam()) mFrameworks.DSI()->mCommon.HideName("DsiGetDSPShell");
    ASSERT_EQ(StartDSI(), 0);
  }
  DsiDSP AddDSP(int16_t cardType, int16_t number, uint32_t coreType = 0) {
    return Dsi()->AddDSP(Dsi()->AddCard(cardType, 0x5a5a0000u + cardType), number, coreType, nullptr);
  }
  void Detect() {
    ASSERT_EQ(DetectDsiAccessors(), 0);
    ASSERT_EQ(UsesDsiAccessors(), GetParam());
  }
  const SDSIControl* Dsi() const { return mFrameworks.DSI(); }

  StandInFrameworks mFrameworks{StandInFrameworks::kDSI};
};

}  // namespace

TEST_P(DsiShims, RecordFieldsReadTheSameEitherWay) {
  uint8_t info[kDsiInfoRecordBytes];
  for (int i = 0; i < kDsiInfoRecordBytes; ++i) info[i] = static_cast<uint8_t>(i * 3);
  DsiDSP dsp = Dsi()->AddDSP(Dsi()->AddCard(-2, 77), 1, kDsiCoreType321, info);
  DsiDSP second = AddDSP(21, 0);
  Detect();
  uint8_t copied[kDsiInfoRecordBytes] = {};
  EXPECT_EQ(GetDSPInfoRecord(dsp, copied), 0);
  EXPECT_EQ(0, std::memcmp(copied, info, sizeof info));
  EXPECT_EQ(SetDSPClientVal(dsp, reinterpret_cast<HostWord>(&info)), 0);
  HostWord value = 0;
  EXPECT_EQ(GetDSPClientVal(dsp, &value), 0);
  EXPECT_EQ(value, reinterpret_cast<HostWord>(&info));  // a pointer survives whole
  int32_t cardType = 0;
  EXPECT_EQ(GetCardTypeFromDSP(dsp, &cardType), 0);
  EXPECT_EQ(cardType, -2);  // sign-extended
  DsiDSP next = nullptr;
  EXPECT_EQ(GetNextDSP(dsp, &next), 0);
  EXPECT_EQ(next, second);
  uint32_t core = 0;
  EXPECT_EQ(GetDSPCoreType(dsp, &core), 0);
  EXPECT_EQ(core, kDsiCoreType321);
  EXPECT_TRUE(IsDSP321(dsp));
  EXPECT_FALSE(IsDSP321(second));
  uint32_t legacy = 1;
  EXPECT_EQ(GetLegacyCardWord(dsp, &legacy), 0);
  EXPECT_EQ(legacy, GetParam() ? 0u : 77u);  // only plain records carry it

  DsiShell shell = NewDSPShell();
  ASSERT_NE(shell, nullptr);
  EXPECT_EQ(SetShellID(shell, 9), 0);
  EXPECT_EQ(SetShellIsStandard(shell, 1), 0);
  EXPECT_EQ(SetShellMaxLocation(shell, 0x7fff), 0);
  EXPECT_EQ(SetShellDSPCode(shell, 0x1234), 0);
  EXPECT_EQ(SetShellHostCodeHandler(shell, 0x5678), 0);
  EXPECT_EQ(shell->mShellID, 9u);
  EXPECT_EQ(shell->mIsStandard, 1);
  EXPECT_EQ(shell->mMaxLocation, 0x7fffu);
  EXPECT_EQ(shell->mDSPCode, 0x1234u);
  EXPECT_EQ(shell->mHostCommandHandler, 0x5678u);
  DisposeDSPShell(shell);
}

TEST_P(DsiShims, DriverTypesFollowTheCardType) {
  const std::pair<int16_t, int32_t> rows[] = {{10, 0x430},  {18, 0xEE20}, {20, 0xEE80}, {21, 0xEE90}, {25, 0xEEC0},
                                              {26, 0xEEC0}, {28, 0xEEC0}, {29, 0xEEC0}, {31, 0xEEC0}, {30, -1},
                                              {11, -1}};
  std::vector<DsiDSP> dsps;
  for (const auto& row : rows) dsps.push_back(AddDSP(row.first == 18 ? 19 : row.first, 0));
  Detect();
  for (size_t i = 0; i < std::size(rows); ++i) {
    if (rows[i].first == 18) continue;  // a type-18 card keeps the records plain; checked below
    int32_t driver = 0;
    EXPECT_EQ(DSPToDriverType(dsps[i], &driver), 0);
    EXPECT_EQ(driver, rows[i].second) << rows[i].first;
  }
}

TEST_P(DsiShims, PrestoAndCardPredicates) {
  struct Row {
    int16_t cardType, number;
    bool presto;
  };
  const Row rows[] = {{31, 3, true}, {31, 4, false}, {28, 2, true}, {28, 3, false},
                      {26, 9, true}, {25, 0, false}, {21, 0, false}};
  std::vector<DsiDSP> dsps;
  for (const Row& row : rows) dsps.push_back(AddDSP(row.cardType, row.number));
  Detect();
  for (size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(IsPrestoDSP(dsps[i]), rows[i].presto) << rows[i].cardType << "/" << rows[i].number;
    EXPECT_EQ(IsCardType21DSP(dsps[i]), rows[i].cardType == 21);
    EXPECT_FALSE(IsCardType18DSP(dsps[i]));
  }
}

TEST_P(DsiShims, PresenceQueriesWalkTheLists) {
  AddDSP(20, 0);
  Detect();
  EXPECT_FALSE(IsDSP321Present());
  EXPECT_FALSE(IsTDM2Present());
  EXPECT_TRUE(IsCardTypePresent(20));
  EXPECT_FALSE(IsCardTypePresent(21));
  EXPECT_FALSE(IsCardTypePresent(29));
  AddDSP(21, 0, kDsiCoreType321);
  AddDSP(30, 0);
  EXPECT_TRUE(IsDSP321Present());
  EXPECT_TRUE(IsCardTypePresent(21));
  EXPECT_TRUE(IsTDM2Present());
  // Type 29 is answered from the DSP list: a TDM2 DSP counts, whatever its card.
  EXPECT_TRUE(IsCardTypePresent(29));
}

INSTANTIATE_TEST_SUITE_P(AccessorsOrPlainRecords, DsiShims, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Accessors" : "PlainRecords"; });

TEST(DetectDsiAccessors, AnEmptyListOrAType18CardKeepsTheRecordsPlain) {
  StandInFrameworks frameworks(StandInFrameworks::kDSI);
  ASSERT_EQ(DetectDsiAccessors(), 0);
  EXPECT_FALSE(UsesDsiAccessors());
  const SDSIControl* dsi = frameworks.DSI();
  DsiDSP dsp = dsi->AddDSP(dsi->AddCard(18, 0), 0, 0, nullptr);
  ASSERT_EQ(DetectDsiAccessors(), 0);
  EXPECT_FALSE(UsesDsiAccessors());
  EXPECT_TRUE(IsCardType18DSP(dsp));
  EXPECT_EQ(frameworks.DSI()->mCommon.CountCalls("DsiGetDSPShell"), 0);
}

TEST(DetectDsiAccessors, WithoutADSIItAnswers0AndPresenceThrows) {
  StandInFrameworks none(0);
  EXPECT_EQ(DetectDsiAccessors(), 0);
  EXPECT_FALSE(UsesDsiAccessors());
  try {
    IsCardTypePresent(18);
    ADD_FAILURE();
  } catch (const CDAEError& error) {
    EXPECT_EQ(error.Code(), -9065);
  }
}

TEST(DsiShimsPlain, ANullRecordIsRefusedNotRead) {
  StandInFrameworks none(0);
  HostWord value = 0;
  int32_t type = 0;
  EXPECT_EQ(GetDSPClientVal(nullptr, &value), paramErr);
  EXPECT_EQ(GetCardTypeFromDSP(nullptr, &type), paramErr);
  EXPECT_EQ(SetShellID(nullptr, 1), paramErr);
  EXPECT_FALSE(IsPrestoDSP(nullptr));
  EXPECT_FALSE(IsDSP321(nullptr));
}

TEST(DSPWaitHostFlag, MasksNameBitsAndOthersAnswerMinus1WithoutWaiting) {
  StandInFrameworks frameworks(StandInFrameworks::kDSI);
  ASSERT_EQ(InitDSILibAccess(), 0);
  DsiDSP dsp = frameworks.DSI()->AddDSP(frameworks.DSI()->AddCard(25, 0), 0, 0, nullptr);
  const std::pair<int32_t, intptr_t> masks[] = {{1, 2}, {2, 1}, {4, 0}, {8, 7}, {16, 8}, {32, 9}};
  for (const auto& [mask, bit] : masks) {
    frameworks.DSI()->mCommon.ClearCalls();
    EXPECT_EQ(DSPWaitHostFlag(dsp, mask), 0);
    SStandInCall call{};
    ASSERT_TRUE(frameworks.DSI()->mCommon.GetCall(0, &call));
    EXPECT_STREQ(call.mName, "DsiWaitHostBit");
    EXPECT_EQ(call.mArgs[1], bit) << mask;
    EXPECT_EQ(call.mArgs[2], 1);
    EXPECT_EQ(call.mArgs[3], 1000000000);
  }
  frameworks.DSI()->mCommon.ClearCalls();
  for (const int32_t bad : {3, 0, 64, -1}) EXPECT_EQ(DSPWaitHostFlag(dsp, bad), -1);
  EXPECT_EQ(frameworks.DSI()->mCommon.CountCalls(nullptr), 0);
}
