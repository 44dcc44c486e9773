#include "tools/CommandFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CommandFiles, TheFormatANameSays) {
  struct Case {
    const char* path;
    const char* format;  // nullptr: none known
  };
  for (const Case& c : {Case{"out.wav", "WAV"}, Case{"OUT.WaV", "WAV"}, Case{"a/b.c/mix.aif", "AIFF"},
                        Case{"shot.jpeg", "JPEG"}, Case{"x.tar.png", "PNG"}, Case{"plain", nullptr},
                        Case{"dir.wav/plain", nullptr}, Case{".wav", nullptr}, Case{"sub/.png", nullptr},
                        Case{"out.", nullptr}, Case{"s.state", nullptr}, Case{"out.bin", nullptr}}) {
    const char* format = FormatOfName(c.path);
    EXPECT_EQ(std::string(format ? format : "(none)"), std::string(c.format ? c.format : "(none)")) << c.path;
  }
}

}  // namespace
