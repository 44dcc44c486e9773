#include "platform/coretext/TextLine.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextLine, MeasuresCharactersNotBytesAndRefusesMalformedUTF8) {
  platform::SetTestFontEnabled(true);
  platform::Font* font = platform::CreateFontWithName("any", 12);
  platform::SetTestFontEnabled(false);
  struct Case {
    std::string text;
    int characters;  // -1: refused
  };
  for (const Case& c : {Case{"", 0}, Case{"abc", 3}, Case{"\xC3\xA9", 1}, Case{"\xE2\x82\xAC!", 2},
                        Case{"\xF0\x9F\x8E\xB5", 1}, Case{"\xE9", -1}, Case{"\xC3", -1},
                        Case{"\xC0\xAF", -1}, Case{"\xE0\x80\xAF", -1}, Case{"\xED\xA0\x80", -1},
                        Case{"\xF4\x90\x80\x80", -1}, Case{"a\x80", -1}, Case{"\xE2\x82", -1}}) {
    platform::TextLine* line =
        platform::CreateTextLine(c.text.data(), static_cast<int>(c.text.size()), font, nullptr);
    if (c.characters < 0) {
      EXPECT_EQ(line, nullptr) << c.text;
      continue;
    }
    ASSERT_NE(line, nullptr) << c.text;
    const platform::LineBounds b = platform::GetLineBounds(line);
    EXPECT_EQ(b.width, 6.0 * c.characters) << c.text;
    EXPECT_EQ(b.ascent, 9);
    EXPECT_EQ(b.descent, 3);
    platform::ReleaseTextLine(line);
  }
  EXPECT_EQ(platform::CreateTextLine("a", 1, nullptr, nullptr), nullptr);
  platform::ReleaseFont(font);
}
