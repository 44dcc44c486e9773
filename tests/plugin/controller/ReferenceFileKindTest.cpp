#include "plugin/controller/ReferenceFileKind.h"

#include <gtest/gtest.h>

namespace {

TEST(ReferenceFileKind, ExactLowerCaseExtensionsOnly) {
  struct Case {
    const char* path;
    ReferenceFileKind kind;
  };
  const Case cases[] = {
      {"/Users/a/capture.ref", kReferenceFileCapture},
      {"/Users/a/mix.wav", kReferenceFileAudio},
      {"/Users/a/mix.aiff", kReferenceFileAudio},
      {"mix.wav", kReferenceFileAudio},
      {"/Users/a/take.2.wav", kReferenceFileAudio},
      // Spellings the command does not take.
      {"/Users/a/mix.WAV", kReferenceFileIgnored},
      {"/Users/a/mix.Wav", kReferenceFileIgnored},
      {"/Users/a/capture.REF", kReferenceFileIgnored},
      {"/Users/a/mix.AIFF", kReferenceFileIgnored},
      {"/Users/a/mix.aif", kReferenceFileIgnored},
      {"/Users/a/mix.aifc", kReferenceFileIgnored},
      {"/Users/a/mix.wav.bak", kReferenceFileIgnored},
      {"/Users/a/mix.wave", kReferenceFileIgnored},
      // The extension belongs to the file name, not to a folder on the way.
      {"/Users/a.wav/mix", kReferenceFileIgnored},
      {"/Users/a.ref/", kReferenceFileIgnored},
      {"/Users/a/mix", kReferenceFileIgnored},
      {"", kReferenceFileIgnored},
      {nullptr, kReferenceFileIgnored},
  };
  for (const Case& c : cases) EXPECT_EQ(GetReferenceFileKind(c.path), c.kind) << (c.path ? c.path : "(null)");
}

}  // namespace
