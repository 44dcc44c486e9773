#include "graphics/mac/CocoaFormatter_vBrimlow_rtas.h"

#include <gtest/gtest.h>

namespace {

struct FormatterCase {
  const char* characters;  // null: any character
  int maxLength;
  int maxValue;
  const char* partial;
  bool valid;
};

class CocoaFormatter : public ::testing::TestWithParam<FormatterCase> {};

TEST_P(CocoaFormatter, ChecksCharactersThenLengthThenValue) {
  const FormatterCase c = GetParam();
  auto* formatter = new CocoaFormatter_vBrimlow_rtas;
  if (c.characters) {
    auto* set = new NSMutableCharacterSet;
    set->addCharactersInString(c.characters);
    formatter->setAcceptableCharacterSet(set);
    set->release();  // the formatter keeps its own reference
  }
  formatter->setMaximumLength(c.maxLength);
  formatter->setMaximumValue(c.maxValue);
  std::string error;
  EXPECT_EQ(formatter->isPartialStringValid(c.partial, nullptr, &error), c.valid);
  formatter->release();
}

INSTANTIATE_TEST_SUITE_P(
    Table, CocoaFormatter,
    ::testing::Values(FormatterCase{"0123456789.-+kK", 7, 0, "2k5", true}, FormatterCase{"0123456789-+", 7, 0, "2k5", false},
                      FormatterCase{"0123456789", 3, 0, "123", true}, FormatterCase{"0123456789", 3, 0, "1234", false},
                      FormatterCase{nullptr, 0, 0, "anything at all, any length", true},
                      FormatterCase{"", 0, 0, "1", false}, FormatterCase{"", 0, 0, "", true},
                      // The value limit reads the leading integer, as intValue does.
                      FormatterCase{nullptr, 0, 100, "100", true}, FormatterCase{nullptr, 0, 100, "101", false},
                      FormatterCase{nullptr, 0, 100, " 99x", true}, FormatterCase{nullptr, 0, 100, "-5000", true},
                      FormatterCase{nullptr, 0, 100, "99999999999", false}));

TEST(CocoaFormatterObjects, AStringIsItsOwnObjectAndCopiesComeBackAsObjects) {
  CocoaFormatter_vBrimlow_rtas formatter;
  NSString text("1.5k");
  EXPECT_EQ(formatter.stringForObjectValue(&text), &text);
  EXPECT_EQ(formatter.stringForObjectValue(nullptr), nullptr);
  NSAutoreleasePool pool;
  NSObject* object = nullptr;
  const std::string source = "440";
  EXPECT_TRUE(formatter.getObjectValue(&object, &source, nullptr));
  ASSERT_NE(dynamic_cast<NSString*>(object), nullptr);
  EXPECT_EQ(dynamic_cast<NSString*>(object)->UTF8String(), "440");
  EXPECT_TRUE(formatter.getObjectValue(nullptr, &source, nullptr));
}

}  // namespace
