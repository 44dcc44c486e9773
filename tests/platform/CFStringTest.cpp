#include "platform/corefoundation/CFString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string CString(CFStringRef string) {
  char buffer[300];
  return CFStringGetCString(string, buffer, sizeof buffer, kCFStringEncodingMacRoman) ? buffer : "(failed)";
}

}  // namespace

TEST(CFString, MadeFromCountedAndTerminatedTextAndReadBack) {
  const unsigned char counted[] = {5, 'H', 'e', 'l', 'l', 'o', '!'};  // the '!' lies past the count
  CFStringRef a = CFStringCreateWithPascalString(nullptr, counted, kCFStringEncodingMacRoman);
  CFStringRef b = CFStringCreateWithCString(nullptr, "Hello", kCFStringEncodingASCII);
  EXPECT_EQ(CString(a), "Hello");
  EXPECT_EQ(CFStringGetLength(a), 5);
  EXPECT_EQ(CFStringCompare(a, b, 0), kCFCompareEqualTo);
  CFStringRef c = CFStringCreateWithCString(nullptr, "hello", kCFStringEncodingASCII);
  EXPECT_EQ(CFStringCompare(a, c, 0), kCFCompareLessThan);  // 'H' < 'h'
  EXPECT_EQ(CFStringCompare(c, a, 0), kCFCompareGreaterThan);
  EXPECT_EQ(CFStringCompare(a, c, kCFCompareCaseInsensitive), kCFCompareEqualTo);
  for (CFStringRef s : {a, b, c}) CFRelease(s);
}

TEST(CFString, EncodingAndBufferLimitsAreRefused) {
  EXPECT_EQ(CFStringCreateWithCString(nullptr, "caf\xe9", kCFStringEncodingASCII), nullptr);
  CFStringRef roman = CFStringCreateWithCString(nullptr, "caf\x8e", kCFStringEncodingMacRoman);
  ASSERT_NE(roman, nullptr);
  char buffer[8];
  EXPECT_FALSE(CFStringGetCString(roman, buffer, sizeof buffer, kCFStringEncodingASCII));
  EXPECT_FALSE(CFStringGetCString(roman, buffer, 4, kCFStringEncodingMacRoman));  // no room for the terminator
  EXPECT_TRUE(CFStringGetCString(roman, buffer, 5, kCFStringEncodingMacRoman));
  CFRelease(roman);
  EXPECT_EQ(CFStringCreateWithCString(nullptr, nullptr, kCFStringEncodingASCII), nullptr);
}

TEST(CFString, ReferencesAreCountedAndConstantsShared) {
  CFStringRef s = CFStringCreateWithCString(nullptr, "x", kCFStringEncodingASCII);
  EXPECT_EQ(CFGetRetainCount(s), 1);
  EXPECT_EQ(CFRetain(s), s);
  EXPECT_EQ(CFGetRetainCount(s), 2);
  CFRelease(s);
  CFRelease(s);
  EXPECT_EQ(CFSTR("shared text"), CFSTR("shared text"));
  EXPECT_EQ(CString(CFSTR("shared text")), "shared text");
}
