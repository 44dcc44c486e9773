#include "rtas/library/ResultCodes.h"

#include <gtest/gtest.h>

#include <set>

// Every code of the library's result-code table, as the host knows them.
const int32_t kHostCodes[] = {
    -1,    -77,   -108,  -1024, -2802, -2812, -7000, -7003, -7026, -7027, -7053, -7055, -7060, -7061, -7075, -7077,
    -7080, -7100, -7101, -7102, -7103, -7104, -7106, -7107, -7110, -7125, -7126, -7150, -7152, -7153, -7157, -7175,
    -7176, -7201, -7218, -7300, -7304, -7400, -7401, -7433, -9006, -9007, -9013, -9060, -9064, -9065,
};

TEST(ResultCodes, TableHoldsEveryHostCodeOnce) {
  std::multiset<int32_t> table;
  for (size_t i = 0; i < kResultCodeCount; ++i) {
    table.insert(kResultCodes[i].mCode);
    EXPECT_NE(kResultCodes[i].mName[0], 0) << kResultCodes[i].mCode;
    EXPECT_NE(kResultCodes[i].mMeaning[0], 0) << kResultCodes[i].mCode;
  }
  const std::multiset<int32_t> expected(std::begin(kHostCodes), std::end(kHostCodes));
  EXPECT_EQ(table, expected);
}

TEST(ResultCodes, EveryCodeIsANegative16BitValueAndFoundByItsNumber) {
  for (int32_t code : kHostCodes) {
    EXPECT_LT(code, 0);
    EXPECT_GE(code, -32768);
    const SResultCode* row = FindResultCode(code);
    ASSERT_NE(row, nullptr) << code;
    EXPECT_EQ(row->mCode, code);
  }
  EXPECT_EQ(FindResultCode(0), nullptr);
  EXPECT_EQ(FindResultCode(-42), nullptr);
}

TEST(ResultCodes, NamedConstantsCarryTheHostValues) {
  // The names the library's code throws and returns by.
  struct Row {
    int32_t constant;
    int32_t host;
  };
  const Row rows[] = {
      {DAEResult::kUnsupported, -7000},     {DAEResult::kMissingObject, -7053}, {DAEResult::kUnknownType, -7125},
      {DAEResult::kNoInstance, -7126},      {DAEResult::kControlRange, -7300},  {DAEResult::kConditionFailed, -7400},
      {DAEResult::kUnexpected, -7401},      {DAEResult::kOutOfMemory, -9006},   {DAEResult::kNoEntry, -9007},
      {DAEResult::kNoHostCallback, -7175},  {DAEResult::kNoHandle, -7176},      {DAEResult::kStemFormats, -7110},
      {DAEResult::kLockVersion, -7060},     {DAEResult::kLockCreate, -7075},    {DAEResult::kNoData, -9060},
  };
  for (const Row& row : rows) EXPECT_EQ(row.constant, row.host);
}
