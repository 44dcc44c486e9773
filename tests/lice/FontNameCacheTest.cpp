#include "lice/FontNameCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

TEST(FontNameCache, FindsEveryNameWhateverTheInsertionOrder) {
  std::vector<std::string> names;
  for (int i = 0; i < 300; ++i) names.push_back("Face " + std::to_string(i * 7919 % 1000));
  std::shuffle(names.begin(), names.end(), std::mt19937(5));
  FontNameCache cache;
  for (const std::string& n : names) cache.Insert(n.c_str(), (n + "-PS").c_str());
  EXPECT_EQ(cache.Count(), 300);
  for (const std::string& n : names) {
    std::string value;
    ASSERT_TRUE(cache.Lookup(n.c_str(), &value)) << n;
    EXPECT_EQ(value, n + "-PS");
  }
  EXPECT_FALSE(cache.Lookup("Face", nullptr));
  EXPECT_FALSE(cache.Lookup("Face 9999", nullptr));
}

TEST(FontNameCache, ReplacesValuesAndKeepsUnresolvedNames) {
  FontNameCache cache;
  cache.Insert("Verdana Bold", "A");
  cache.Insert("Verdana Bold", "B");
  cache.Insert("Unresolved", nullptr);
  EXPECT_EQ(cache.Count(), 2);
  std::string value = "x";
  ASSERT_TRUE(cache.Lookup("Verdana Bold", &value));
  EXPECT_EQ(value, "B");
  ASSERT_TRUE(cache.Lookup("Unresolved", &value));
  EXPECT_EQ(value, "");
  cache.Clear();
  EXPECT_EQ(cache.Count(), 0);
  EXPECT_FALSE(cache.Lookup("Verdana Bold", &value));
  cache.Insert("After clearing", "C");
  EXPECT_TRUE(cache.Lookup("After clearing", nullptr));
}
