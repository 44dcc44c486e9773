#include "rtas/library/ControlNameForms.h"

#include <gtest/gtest.h>

TEST(ControlNameForms, FirstFormThatFitsElseTheLastCut) {
  const std::string forms = "Master Bypass\nMastrByp\nMByp\nByp";
  struct Row {
    int32_t maxLength;
    const char* expected;
  };
  const Row rows[] = {{31, "Master Bypass"}, {13, "Master Bypass"}, {12, "MastrByp"}, {8, "MastrByp"},
                      {7, "MByp"},           {4, "MByp"},           {3, "Byp"},       {2, "By"},
                      {0, ""},               {-5, ""}};
  for (const Row& row : rows) EXPECT_EQ(NameFormThatFits(forms, row.maxLength), row.expected) << row.maxLength;
  EXPECT_EQ(NameFormThatFits("", 10), "");
  EXPECT_EQ(NameFormThatFits("Gain", 10), "Gain");
}

TEST(ControlNameForms, CaseFoldingIsAsciiOnly) {
  EXPECT_TRUE(EqualIgnoringCase("Low Cut", "LOW cut", 7));
  EXPECT_FALSE(EqualIgnoringCase("Low Cut", "Low Cu", 6));
  EXPECT_FALSE(EqualIgnoringCase("\xC4", "\xE4", 1));
}
