#include "framework/Utilities.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

TEST(Utilities, ToLowerCopiesAndCounts) {
  char buf[16];
  EXPECT_EQ(ToLower(buf, "ProTools 10"), 11);
  EXPECT_STREQ(buf, "protools 10");
}

TEST(Utilities, CopyTextTruncatesIntoTheField) {
  char field[8];
  CopyText(field, "a much longer name");
  EXPECT_STREQ(field, "a much ");
  CopyText(field, nullptr);
  EXPECT_STREQ(field, "");
}

struct ZoneCase {
  const char* tz;  // POSIX TZ offsets are written west-positive
  const char* suffix;
  const char* label;
};

class CurrentTimeZone : public ::testing::TestWithParam<ZoneCase> {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TZ");
    mHadTz = old != nullptr;
    if (old) mOldTz = old;
  }
  void TearDown() override {
    if (mHadTz) setenv("TZ", mOldTz.c_str(), 1); else unsetenv("TZ");
    tzset();
  }
  bool mHadTz = false;
  std::string mOldTz;
};

TEST_P(CurrentTimeZone, EndsWithTheUtcOffset) {
  setenv("TZ", GetParam().tz, 1);
  tzset();
  const std::string text = CurrentTime();
  ASSERT_GE(text.size(), 5u);
  EXPECT_EQ(text.substr(text.size() - 5), GetParam().suffix);
  EXPECT_EQ(text[8], ' ');
}

INSTANTIATE_TEST_SUITE_P(Zones, CurrentTimeZone,
                         ::testing::Values(ZoneCase{"XYZ-5:30", "+0530", "EastHalfHour"},
                                           ZoneCase{"XYZ3", "-0300", "West3"}, ZoneCase{"XYZ-2", "+0200", "East2"},
                                           ZoneCase{"UTC0", "+0000", "Utc"}, ZoneCase{"XYZ-14", "+1400", "East14"},
                                           ZoneCase{"XYZ12", "-1200", "West12"}),
                         [](const ::testing::TestParamInfo<ZoneCase>& info) { return std::string(info.param.label); });

TEST(Utilities, DoubleArrays) {
  double** a = NewDoubleArray2D(4, 3);
  ClearDoubleArray2D(a, 4, 3);
  const double src[2] = {1.5, 2.5};
  CopyDoubleArray(src, a[1], 2, 2);
  CopyDoubleArray(nullptr, a[1], 2, 0);  // nothing
  EXPECT_EQ(a[1][0], 0.0);
  EXPECT_EQ(a[1][2], 1.5);
  EXPECT_EQ(a[1][3], 2.5);
  DeleteDoubleArray2D(a, 3);
  DeleteDoubleArray2D(nullptr, 0);
}
