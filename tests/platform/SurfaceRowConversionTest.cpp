// A window's pixels become an X visual's words by the same rule whichever
// loop converts them: the byte shuffle (eight at a time with AVX2, four
// without), the copy for a visual laid out as the window, and the plain
// loop for any other visual; only words that differ are stored and told.
#include "platform/windowserver/SurfaceRowConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// The visual's word for one pixel, from the channel bytes.
uint32_t Word(const platform::VisualLayout& v, const uint8_t* pixel) {
  return static_cast<uint32_t>(pixel[1]) << v.redShift | static_cast<uint32_t>(pixel[2]) << v.greenShift |
         static_cast<uint32_t>(pixel[3]) << v.blueShift;
}

TEST(SurfaceRowConversion, EveryLayoutAndWidthStoresTheWordsThatDifferAndTellsWhere) {
  const platform::VisualLayout layouts[] = {
      {16, 8, 0, true},   // the usual one, red high
      {0, 8, 16, true},   // blue high
      {8, 16, 24, true},  // the window's own byte order: a copy
      {24, 16, 8, true},  // every byte moved
      {11, 5, 0, true},   // channels off byte boundaries
  };
  const int widths[] = {1, 3, 4, 7, 8, 9, 15, 16, 17, 33, 70};
  std::mt19937 rng(3);
  for (const platform::VisualLayout& v : layouts) {
    for (bool avx2 : {true, false}) {
      for (int n : widths) {
        std::vector<uint8_t> in(static_cast<size_t>(n) * 4);
        for (uint8_t& b : in) b = static_cast<uint8_t>(rng());
        std::vector<uint32_t> want(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) want[static_cast<size_t>(i)] = Word(v, &in[static_cast<size_t>(i) * 4]);
        // Old words: all right but one or two, all wrong, all right.
        for (int pattern = 0; pattern < 4; ++pattern) {
          std::vector<uint32_t> out = want;
          int changedFirst = n, changedLast = -1;
          const auto spoil = [&](int i) {
            out[static_cast<size_t>(i)] ^= 0x00010000u;
            changedFirst = std::min(changedFirst, i);
            changedLast = std::max(changedLast, i);
          };
          if (pattern == 0) spoil(n / 2);
          if (pattern == 1) {
            spoil(0);
            if (n > 1) spoil(n - 1);
          }
          if (pattern == 2) {
            for (int i = 0; i < n; ++i) spoil(i);
          }
          int first = -7, last = -7;
          platform::ConvertSurfaceRow(v, in.data(), out.data(), n, &first, &last, avx2);
          ASSERT_EQ(out, want) << v.redShift << "/" << v.greenShift << "/" << v.blueShift << " width " << n
                               << (avx2 ? "" : " no AVX2") << " pattern " << pattern;
          if (changedLast < 0) {
            EXPECT_GT(first, last) << "width " << n << " pattern " << pattern;
          } else {
            // At most the group of eight round each changed word.
            EXPECT_LE(first, changedFirst);
            EXPECT_GE(last, changedLast);
            EXPECT_GE(first, changedFirst / 8 * 8);
            EXPECT_LE(last, std::min(n - 1, changedLast / 8 * 8 + 7));
          }
        }
      }
    }
  }
}

}  // namespace
