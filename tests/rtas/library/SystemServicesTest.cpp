#include "rtas/library/SystemServices.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/hitoolbox/Events.h"
#include "rtas/library/CDAEError.h"

namespace {

constexpr const char* kBypass = "Master Bypass\nMastrByp\nMByp\nByp";

struct FitCase {
  const char* text;
  int32_t length;
  const char* expected;
};

class LineThatFits : public ::testing::TestWithParam<FitCase> {};

}  // namespace

TEST_P(LineThatFits, TakesTheFirstFormThatFitsElseTheLastCut) {
  const FitCase c = GetParam();
  char destination[64];
  std::memset(destination, 'x', sizeof destination);
  CopyLineThatFits(destination, c.text, c.length);
  EXPECT_STREQ(destination, c.expected);
  // Nothing is written past length + 1 bytes (or past the terminator when
  // the length is not positive).
  const size_t used = c.length > 0 ? static_cast<size_t>(c.length) + 1 : 1;
  for (size_t i = used; i < sizeof destination; ++i) ASSERT_EQ(destination[i], 'x') << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, LineThatFits,
                         ::testing::Values(FitCase{kBypass, 8, "MastrByp"}, FitCase{kBypass, 13, "Master Bypass"},
                                           FitCase{kBypass, 40, "Master Bypass"}, FitCase{kBypass, 4, "MByp"},
                                           FitCase{kBypass, 3, "Byp"}, FitCase{kBypass, 2, "By"},
                                           FitCase{"Gain", 2, "Ga"}, FitCase{"", 5, ""},
                                           FitCase{kBypass, 0, ""}, FitCase{kBypass, -3, ""}));

TEST(LineThatFits, ANullTextGivesZerosToTheLength) {
  char destination[8];
  std::memset(destination, 'x', sizeof destination);
  CopyLineThatFits(destination, nullptr, 5);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(destination[i], 0) << i;
  EXPECT_EQ(destination[6], 'x');
}

TEST(StemFormat, ChannelCountsAndUnknownCodes) {
  const int32_t expected[] = {1, 2, 3, 4, 4, 5, 6, 6, 7, 7, 8, 7, 8};
  for (int32_t format = 0; format <= 12; ++format) EXPECT_EQ(ChannelCountOfStemFormat(format), expected[format]);
  for (const int32_t bad : {13, -1, 1000}) {
    try {
      ChannelCountOfStemFormat(bad);
      ADD_FAILURE() << bad;
    } catch (const CDAEError& error) {
      EXPECT_EQ(error.Code(), -7401);
    }
  }
}

TEST(OptionKey, FollowsKeyCode58Only) {
  platform::ReleaseAllKeys();
  EXPECT_FALSE(IsOptionKeyDown());
  platform::SetKeyDown(57, true);
  platform::SetKeyDown(59, true);
  EXPECT_FALSE(IsOptionKeyDown());
  platform::SetKeyDown(platform::kOptionKeyCode, true);
  EXPECT_TRUE(IsOptionKeyDown());
  KeyMap keys;
  GetKeys(keys);
  EXPECT_EQ(keys[7] & 0x04, 0x04);
  platform::ReleaseAllKeys();
}
