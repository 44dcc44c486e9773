#include "framework/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale.h>
#include <string>

TEST(NumberText, PrintsAsFixedSixDecimals) {
  // The test process runs in the C locale, so snprintf is the reference.
  const double values[] = {0.0, -0.0, 0.1, -3.5, 2.0 / 3.0, 1e-7, 123456.789, 20000.0, -99.999999, 1e20,
                           std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min()};
  for (double v : values) {
    char expected[kNumberTextSize], printed[kNumberTextSize];
    std::snprintf(expected, sizeof expected, "%f", v);
    EXPECT_EQ(PrintFixedC(v, printed, sizeof printed), static_cast<int>(std::string(expected).size())) << expected;
    EXPECT_STREQ(printed, expected);
  }
  char small[4];
  EXPECT_EQ(PrintFixedC(12.5, small, sizeof small), -1);
  EXPECT_STREQ(small, "");
}

TEST(NumberText, ScansTheLeadingNumber) {
  struct Case { const char* text; bool ok; double value; };
  const Case cases[] = {
      {"1.5", true, 1.5},      {"  -2.25e1", true, -22.5}, {"2.5dB", true, 2.5}, {"+3", true, 3.0},
      {".5", true, 0.5},       {"1,5", true, 1.0},         {"abc", false, 0.0},  {"", false, 0.0},
      {"-", false, 0.0},       {"20000.000000", true, 20000.0},
  };
  for (const Case& c : cases) {
    double value = 42.0;
    EXPECT_EQ(ScanDoubleC(c.text, &value), c.ok) << c.text;
    EXPECT_EQ(value, c.ok ? c.value : 42.0) << c.text;
  }
  double value = 42.0;
  EXPECT_FALSE(ScanDoubleC(nullptr, &value));
  EXPECT_EQ(value, 42.0);
}

TEST(NumberText, IgnoresACommaDecimalLocale) {
  locale_t comma = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "ru_RU.UTF-8", "de_DE"}) {
    comma = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
    if (comma) break;
  }
  if (!comma) GTEST_SKIP() << "no locale with a comma decimal separator is installed";
  const locale_t previous = uselocale(comma);
  char printed[kNumberTextSize];
  char localised[64];
  std::snprintf(localised, sizeof localised, "%f", 1.5);
  PrintFixedC(1.5, printed, sizeof printed);
  double value = 0.0;
  const bool scanned = ScanDoubleC("2.75", &value);
  uselocale(previous);
  freelocale(comma);
  EXPECT_STREQ(localised, "1,500000");  // the locale is in effect
  EXPECT_STREQ(printed, "1.500000");
  EXPECT_TRUE(scanned);
  EXPECT_EQ(value, 2.75);
}
