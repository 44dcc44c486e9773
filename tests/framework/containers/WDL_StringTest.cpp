#include "framework/containers/WDL_String.h"

#include <gtest/gtest.h>

#include <string>

TEST(WDL_String, SetAtWritesInsertsAndAppends) {
  WDL_String s("abcde");
  s.SetAt(0, "xyz", 3, 0);
  EXPECT_STREQ(s.Get(), "xyz");

  s.Set("abcde");
  s.SetAt(5, "f", 1, 0);
  EXPECT_STREQ(s.Get(), "abcdef");

  s.Set("abcde");
  s.SetAt(1, "12", 2, 4);
  EXPECT_STREQ(s.Get(), "a12bcde");

  s.Set("abcde");
  s.SetAt(3, "", 0, 0);  // nothing to write: unchanged
  EXPECT_STREQ(s.Get(), "abcde");

  s.SetAt(0, "", 0, 0);
  EXPECT_STREQ(s.Get(), "");
}

TEST(WDL_String, EmptyReadsAsEmptyText) {
  WDL_String s;
  EXPECT_STREQ(s.Get(), "");
  EXPECT_EQ(s.GetLength(), 0);
  s.Append("ab");
  s.Insert("X", 1);
  s.Insert("Y", 100);  // past the end: appended
  EXPECT_STREQ(s.Get(), "aXbY");
}

TEST(WDL_String, SetAtBeyondTextDoesNotReadGarbage) {
  WDL_String s("ab");
  s.SetAt(10, "c", 1, 5);
  EXPECT_STREQ(s.Get(), "abc");
}

TEST(WDL_String, SelfAppendSurvivesReallocation) {
  WDL_String s("0123456789");
  for (int i = 0; i < 10; ++i) s.Append(s.Get());
  EXPECT_EQ(s.GetLength(), 10 << 10);
  EXPECT_EQ(std::string(s.Get()).substr(10230, 10), "0123456789");
}

TEST(WDL_String, SetFormattedIsBounded) {
  WDL_String s;
  s.SetFormatted(5, "%d-%s", 1234, "abcdef");
  EXPECT_STREQ(s.Get(), "1234-");
  s.SetFormatted(64, "%.2f", 1.5);
  EXPECT_STREQ(s.Get(), "1.50");
  s.AppendFormatted(3, "%s", "xyzw");
  EXPECT_STREQ(s.Get(), "1.50xyz");
}
