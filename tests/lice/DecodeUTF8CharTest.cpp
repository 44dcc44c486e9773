#include "lice/DecodeUTF8Char.h"

#include <gtest/gtest.h>

TEST(DecodeUTF8Char, DecodesTwoAndThreeByteFormsAndTakesTheRestByteByByte) {
  struct Case {
    const char* text;
    int length, character;
  };
  for (const Case& c : {Case{"a", 1, 'a'}, Case{"\xC3\xA9", 2, 0xE9}, Case{"\xDF\xBF", 2, 0x7FF},
                        Case{"\xE2\x82\xAC", 3, 0x20AC}, Case{"\xEF\xBF\xBD", 3, 0xFFFD},
                        Case{"\xF0\x9F\x8E\xB5", 4, ' '}, Case{"\xE9", 1, 0xE9}, Case{"\xC3", 1, 0xC3},
                        Case{"\xC3(", 1, 0xC3}, Case{"\xC0\x80", 1, 0xC0}, Case{"\xE2\x82", 1, 0xE2},
                        Case{"\xF5\x80\x80\x80", 1, 0xF5}, Case{"\x80", 1, 0x80}, Case{"\xF0\x9F\x8E", 1, 0xF0}}) {
    int out = -1;
    EXPECT_EQ(DecodeUTF8Char(c.text, &out), c.length) << c.text;
    EXPECT_EQ(out, c.character) << c.text;
    EXPECT_EQ(DecodeUTF8Char(c.text, nullptr), c.length);
  }
}
