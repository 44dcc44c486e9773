#include "tools/NumberArgument.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

struct NumberCase {
  const char* text;
  bool accepted;
  double value;
};

const NumberCase kNumberCases[] = {
    {"1200", true, 1200.0},  {"-48", true, -48.0},   {"+0.5", true, 0.5},   {" 0.707 ", true, 0.707},
    {".5", true, 0.5},       {"5.", true, 5.0},      {"1e3", true, 1000.0}, {"2.5E-1", true, 0.25},
    {"", false, 0},          {"  ", false, 0},       {"12O0", false, 0},    {"1,5", false, 0},
    {"0x10", false, 0},      {"inf", false, 0},      {"nan", false, 0},     {"1e999", false, 0},
    {"1e", false, 0},        {"-", false, 0},        {".", false, 0},       {"12 dB", false, 0},
    {"1.2.3", false, 0},     {"--1", false, 0},
};

TEST(NumberArgument, ReadsWholeDecimalNumbersOnly) {
  for (const NumberCase& c : kNumberCases) {
    double value = -123.0;
    EXPECT_EQ(ParseNumberArgument(c.text, &value), c.accepted) << "\"" << c.text << "\"";
    EXPECT_EQ(value, c.accepted ? c.value : -123.0) << "\"" << c.text << "\"";
  }
}

// A process locale with a decimal comma changes nothing.
TEST(NumberArgument, IgnoresTheProcessLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  double value = 0.0;
  EXPECT_TRUE(ParseNumberArgument("0.25", &value));
  EXPECT_EQ(value, 0.25);
  EXPECT_FALSE(ParseNumberArgument("0,25", &value));
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(NumberArgument, IntegersWithinARange) {
  long long v = 0;
  EXPECT_TRUE(ParseIntegerArgument("512", 1, 65536, &v));
  EXPECT_EQ(v, 512);
  EXPECT_TRUE(ParseIntegerArgument("-3", -5, 5, &v));
  EXPECT_EQ(v, -3);
  EXPECT_TRUE(ParseIntegerArgument("65536", 1, 65536, &v));
  v = 7;
  EXPECT_FALSE(ParseIntegerArgument("65537", 1, 65536, &v));
  EXPECT_FALSE(ParseIntegerArgument("0", 1, 65536, &v));
  EXPECT_FALSE(ParseIntegerArgument("1.0", 1, 65536, &v));
  EXPECT_FALSE(ParseIntegerArgument("1e2", 1, 65536, &v));
  EXPECT_FALSE(ParseIntegerArgument("99999999999999999999999", 1, 65536, &v));
  EXPECT_FALSE(ParseIntegerArgument("", 1, 65536, &v));
  EXPECT_EQ(v, 7);
}

TEST(NumberArgument, FormatsWithoutTrailingZeros) {
  EXPECT_EQ(FormatNumber(1200.0), "1200");
  EXPECT_EQ(FormatNumber(0.707), "0.707");
  EXPECT_EQ(FormatNumber(-48.0), "-48");
  EXPECT_EQ(FormatNumber(-0.0), "0");
  EXPECT_EQ(FormatNumber(48000.0), "48000");
}

}  // namespace
