#include "platform/coretext/Font.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/coretext/GlyphSource.h"
#include "platform/coretext/TestFont.h"
#include "platform/coretext/TextLine.h"

// Smoke tests of the installed fonts through fontconfig and FreeType: they
// assert what any sane face gives, not exact pixels.

TEST(FontSmoke, FaceNamesResolveWithTheirStyleAndUnknownFamiliesAreSubstituted) {
  const std::string regular = platform::ResolveFontName("DejaVu Sans");
  const std::string bold = platform::ResolveFontName("DejaVu Sans Bold");
  const std::string boldItalic = platform::ResolveFontName("DejaVu Sans Bold Italic");
  EXPECT_EQ(regular, "DejaVuSans");
  EXPECT_EQ(bold, "DejaVuSans-Bold");
  EXPECT_EQ(boldItalic, "DejaVuSans-BoldOblique");
  EXPECT_FALSE(platform::ResolveFontName("Verdana").empty());
  EXPECT_FALSE(platform::ResolveFontName("").empty());  // sans-serif
  // A PostScript name finds that face; a face name that is none still loads.
  platform::Font* font = platform::CreateFontWithName("DejaVuSans-Bold", 12);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(platform::FontPostScriptName(font), "DejaVuSans-Bold");
  platform::ReleaseFont(font);
  font = platform::CreateFontWithName("No Such Family Bold", 12);
  ASSERT_NE(font, nullptr);
  platform::ReleaseFont(font);
}

TEST(FontSmoke, MetricsAreWholePixelsAndGlyphsHaveCoverage) {
  platform::Font* font = platform::CreateDefaultFont(16);
  ASSERT_NE(font, nullptr);
  const double a = platform::FontAscent(font), d = platform::FontDescent(font),
               l = platform::FontLeading(font);
  EXPECT_GT(a, 8);
  EXPECT_GT(d, 1);
  EXPECT_GE(l, 0);
  EXPECT_EQ(a, static_cast<int>(a));
  EXPECT_EQ(d, static_cast<int>(d));
  EXPECT_EQ(l, static_cast<int>(l));
  EXPECT_LT(a + d, 32);  // a 16-pixel font

  platform::GlyphSource* glyphs = platform::FontGlyphs(font);
  platform::GlyphCoverage smooth, mono;
  ASSERT_TRUE(glyphs->Render('W', true, &smooth));
  ASSERT_TRUE(glyphs->Render('W', false, &mono));
  int partial = 0, full = 0;
  for (unsigned char c : smooth.coverage) partial += c > 0 && c < 255;
  for (unsigned char c : mono.coverage) {
    EXPECT_TRUE(c == 0 || c == 255);
    full += c == 255;
  }
  EXPECT_GT(partial, 0);
  EXPECT_GT(full, 10);
  EXPECT_LE(smooth.top, a + 1);
  EXPECT_FALSE(glyphs->Render(' ', true, &smooth));  // no image, but an advance
  EXPECT_GT(glyphs->Advance(' '), 0);
  platform::ReleaseFont(font);
}

TEST(FontSmoke, BoldIsWiderThanRegular) {
  platform::Font* regular = platform::CreateFontWithName(platform::ResolveFontName("Verdana").c_str(), 14);
  platform::Font* bold = platform::CreateFontWithName(platform::ResolveFontName("Verdana Bold").c_str(), 14);
  ASSERT_TRUE(regular && bold);
  const char* text = "Frequency 1000 Hz";
  platform::TextLine* a = platform::CreateTextLine(text, 17, regular, nullptr);
  platform::TextLine* b = platform::CreateTextLine(text, 17, bold, nullptr);
  EXPECT_GT(platform::GetLineBounds(b).width, platform::GetLineBounds(a).width);
  platform::ReleaseTextLine(a);
  platform::ReleaseTextLine(b);
  platform::ReleaseFont(regular);
  platform::ReleaseFont(bold);
}

TEST(TestFont, HasTheDocumentedMetricsAndBoxes) {
  struct Case {
    int pixels, ascent, descent, advance, boxWidth;
  };
  for (const Case& c : {Case{12, 9, 3, 6, 5}, Case{10, 7, 3, 5, 4}, Case{16, 12, 4, 8, 7},
                        Case{2, 1, 1, 1, 1}, Case{3, 2, 1, 1, 1}}) {
    platform::TestFontGlyphs f(c.pixels);
    EXPECT_EQ(f.Ascent(), c.ascent) << c.pixels;
    EXPECT_EQ(f.Descent(), c.descent) << c.pixels;
    EXPECT_EQ(f.Leading(), 0);
    EXPECT_EQ(f.Advance('a'), c.advance);
    EXPECT_EQ(f.Advance(' '), c.advance);
    platform::GlyphCoverage g;
    ASSERT_TRUE(f.Render(0xE9, true, &g));
    EXPECT_EQ(g.width, c.boxWidth);
    EXPECT_EQ(g.height, c.ascent + c.descent);
    EXPECT_EQ(g.top, c.ascent);
    EXPECT_EQ(g.coverage[0], platform::kTestFontCornerCoverage);
    EXPECT_EQ(g.coverage.back(), 255);
    ASSERT_TRUE(f.Render('a', false, &g));
    EXPECT_EQ(g.coverage[0], 0);
  }
  platform::TestFontGlyphs f(12);
  platform::GlyphCoverage g;
  for (uint32_t blank : {0x20u, 0x09u, 0x7Fu, 0x85u}) EXPECT_FALSE(f.Render(blank, true, &g)) << blank;
}

TEST(TestFont, TheHookMakesEveryNewFontATestFont) {
  platform::SetTestFontEnabled(true);
  platform::Font* test = platform::CreateFontWithName("DejaVuSans-Bold", 12);
  platform::SetTestFontEnabled(false);
  platform::Font* real = platform::CreateFontWithName("DejaVuSans-Bold", 12);
  EXPECT_EQ(platform::FontPostScriptName(test), "BrimlowTestFont");
  EXPECT_EQ(platform::FontAscent(test), 9);  // kept after the hook is off
  EXPECT_EQ(platform::FontPostScriptName(real), "DejaVuSans-Bold");
  platform::ReleaseFont(test);
  platform::ReleaseFont(real);
}
