#include "rtas/library/ControlText.h"

#include <gtest/gtest.h>

TEST(ControlText, CaseFoldingIsAsciiOnly) {
  EXPECT_TRUE(EqualIgnoringCase("Low Cut", "LOW cut"));
  EXPECT_TRUE(EqualIgnoringCase("", ""));
  EXPECT_FALSE(EqualIgnoringCase("Low Cut", "Low Cu"));
  EXPECT_FALSE(EqualIgnoringCase("Low", "Low Cut"));
  EXPECT_FALSE(EqualIgnoringCase("\xC4", "\xE4"));
}

TEST(ControlText, CutCopiesTerminate) {
  char buffer[8] = "xxxxxxx";
  CopyTextCut("Frequency", buffer, 4);
  EXPECT_STREQ(buffer, "Freq");
  CopyTextCut("Hz", buffer, 4);
  EXPECT_STREQ(buffer, "Hz");
  CopyTextCut("Hz", buffer, 0);
  EXPECT_STREQ(buffer, "");
}

TEST(ControlText, NameFormsAreChosenByLength) {
  const std::string forms = "Master Bypass\nMastrByp\nMByp\nByp";
  struct Row {
    int32_t maxLength;
    const char* expected;
  };
  const Row rows[] = {{31, "Master Bypass"}, {12, "MastrByp"}, {7, "MByp"}, {3, "Byp"}, {2, "By"}, {0, ""}};
  for (const Row& row : rows) EXPECT_EQ(NameFormThatFits(forms, row.maxLength), row.expected) << row.maxLength;
}
