// Operations on a bottom-up bitmap draw the picture they draw on a
// top-down one and touch no padding. The shapes flip their coordinates and
// then work in memory rows, where rounding ties (the middle pixel of a
// line, a disc centre on a half pixel, a polygon edge's truncation) go the
// way of the memory row order: there the memory equals that of the
// mirrored shape on a top-down bitmap.
#include <gtest/gtest.h>

#include <functional>

#include "lice/lice.h"
#include "tests/lice/LiceTestSupport.h"

namespace {

struct DrawCase {
  const char* name;
  std::function<void(LICE_IBitmap* dest, LICE_IBitmap* src)> draw;
};

class FlippedBitmaps : public ::testing::TestWithParam<DrawCase> {};

TEST_P(FlippedBitmaps, DrawTheSamePicture) {
  const DrawCase c = GetParam();
  LICE_MemBitmap plain(17, 13, 4), plainSrc(11, 9, 4);
  LiceTest::FlippedBitmap flipped(17, 13), flippedSrc(11, 9);
  for (LICE_IBitmap* bm : {static_cast<LICE_IBitmap*>(&plain), static_cast<LICE_IBitmap*>(&flipped)}) {
    LiceTest::FillRandom(bm, 1);
  }
  for (LICE_IBitmap* bm : {static_cast<LICE_IBitmap*>(&plainSrc), static_cast<LICE_IBitmap*>(&flippedSrc)}) {
    LiceTest::FillRandom(bm, 2);
  }
  const std::vector<LICE_pixel> before = LiceTest::Pixels(&plain);
  c.draw(&plain, &plainSrc);
  ASSERT_NE(LiceTest::Pixels(&plain), before) << "the case draws nothing";

  // Both flipped, and each side flipped alone.
  c.draw(&flipped, &flippedSrc);
  EXPECT_EQ(LiceTest::Pixels(&flipped), LiceTest::Pixels(&plain));
  EXPECT_TRUE(flipped.PaddingIntact());
  EXPECT_TRUE(flippedSrc.PaddingIntact());
  LICE_MemBitmap plainDest(17, 13, 4);
  LiceTest::FillRandom(&plainDest, 1);
  c.draw(&plainDest, &flippedSrc);
  EXPECT_EQ(LiceTest::Pixels(&plainDest), LiceTest::Pixels(&plain));
}

INSTANTIATE_TEST_SUITE_P(
    Operations, FlippedBitmaps,
    ::testing::Values(
        DrawCase{"Blit", [](LICE_IBitmap* d, LICE_IBitmap* s) { LICE_Blit(d, s, 3, 2, 1, 2, 9, 6, 1.0f, 0); }},
        DrawCase{"BlitClipped",
                 [](LICE_IBitmap* d, LICE_IBitmap* s) { LICE_Blit(d, s, -2, 9, 0, 0, 11, 9, 0.4f, 0x10001); }},
        DrawCase{"Blur", [](LICE_IBitmap* d, LICE_IBitmap* s) { LICE_BlurRect(d, s, 4, 1, 1, 1, 9, 7); }},
        DrawCase{"BlurInPlace", [](LICE_IBitmap* d, LICE_IBitmap*) { LICE_BlurRect(d, d, 2, 3, 2, 3, 12, 8); }},
        DrawCase{"ScaledKernel",
                 [](LICE_IBitmap* d, LICE_IBitmap* s) { LICE_ScaledBlit(d, s, 1, 2, 5, 4, 0, 0, 11, 9, 1.0f, 0x100); }},
        DrawCase{"ScaledBilinear",
                 [](LICE_IBitmap* d, LICE_IBitmap* s) {
                   LICE_ScaledBlit(d, s, -3, 1, 19, 14, 0.5f, 0.25f, 10, 8, 0.8f, 0x10100);
                 }},
        DrawCase{"ScaledNearest",
                 [](LICE_IBitmap* d, LICE_IBitmap* s) { LICE_ScaledBlit(d, s, 2, -2, 14, 16, 1, 1, 9, 7, 1.0f, 0); }},
        DrawCase{"ScaledUnscaled",
                 [](LICE_IBitmap* d, LICE_IBitmap* s) { LICE_ScaledBlit(d, s, 2, 3, 8, 6, 1, 2, 8, 6, 1.0f, 0); }},
        DrawCase{"FillRect",
                 [](LICE_IBitmap* d, LICE_IBitmap*) { LICE_FillRect(d, 3, -2, 9, 8, 0x11223344u, 0.3f, 1); }},
        DrawCase{"FillRectOpaque",
                 [](LICE_IBitmap* d, LICE_IBitmap*) { LICE_FillRect(d, 4, 5, 30, 3, 0x11223344u, 1.0f, 0); }},
        DrawCase{"SymmetricTriangle",
                 [](LICE_IBitmap* d, LICE_IBitmap*) { LICE_FillTriangle(d, 2, 1, 12, 6, 2, 11, 0x55667788u, 0.5f, 1); }}),
    [](const auto& info) { return std::string(info.param.name); });

// A drawing given the row mapping y -> flip(y) of a bitmap 13 rows high.
struct MirroredCase {
  const char* name;
  std::function<void(LICE_IBitmap* dest, int (*flip)(int))> draw;
};

class FlippedMemoryRows : public ::testing::TestWithParam<MirroredCase> {};

int Same(int y) { return y; }
int Mirror(int y) { return 12 - y; }

TEST_P(FlippedMemoryRows, HoldTheMirroredShape) {
  const MirroredCase c = GetParam();
  LICE_MemBitmap plain(17, 13, 4);
  LiceTest::FlippedBitmap flipped(17, 13);
  LiceTest::FillAll(&plain, 0x20406080u);
  LiceTest::FillAll(&flipped, 0x20406080u);
  c.draw(&flipped, Same);
  c.draw(&plain, Mirror);
  ASSERT_GT(LiceTest::Touched(&plain, 0x20406080u).size(), 10u);
  for (int y = 0; y < 13; ++y) {
    for (int x = 0; x < 17; ++x) ASSERT_EQ(LiceTest::At(&flipped, x, 12 - y), LiceTest::At(&plain, x, y)) << x << "," << y;
  }
  EXPECT_TRUE(flipped.PaddingIntact());
}

INSTANTIATE_TEST_SUITE_P(
    Operations, FlippedMemoryRows,
    ::testing::Values(
        MirroredCase{"Lines",
                     [](LICE_IBitmap* d, int (*flip)(int)) {
                       LICE_DrawLine(d, 0, flip(0), 16, flip(5), 0xFF00FF00u, 1.0f, 0, true);
                       LICE_DrawLine(d, 3, flip(12), 12, flip(0), 0xFF00FF00u, 0.6f, 1, false);
                       LICE_DrawLine(d, 1, flip(1), 9, flip(9), 0xFF00FF00u, 1.0f, 0, true);
                       LICE_DrawLine(d, 14, flip(0), 14, flip(20), 0xFF00FF00u, 0.5f, 0, false);
                       LICE_DrawLine(d, -5, flip(12), 40, flip(12), 0xFF00FF00u, 0.25f, 0, false);
                       LICE_DrawLineFloat(d, 3.3f, static_cast<float>(flip(12)), 12.1f, static_cast<float>(flip(0)),
                                          0xFF00FF00u, 0.7f, 2, false);
                     }},
        MirroredCase{"Circles",
                     [](LICE_IBitmap* d, int (*flip)(int)) {
                       auto fy = [flip](float y) { return flip(0) == 0 ? y : 12.0f - y; };
                       LICE_FillCircle(d, 5.3f, fy(4.5f), 3.7f, 0x80C0E0F0u, 1.0f, 1, true);
                       LICE_FillCircle(d, 12.0f, fy(11.0f), 4.0f, 0x80C0E0F0u, 0.5f, 0, false);
                       LICE_FillCircle(d, 16.0f, fy(0.0f), 2.5f, 0x80C0E0F0u, 1.0f, 0, true);
                     }},
        MirroredCase{"FloatLines",
                     [](LICE_IBitmap* d, int (*flip)(int)) {
                       auto fy = [flip](float y) { return flip(0) == 0 ? y : 12.0f - y; };
                       LICE_DrawLineFloat(d, 0.5f, fy(0.25f), 15.5f, fy(11.0f), 0xFF00FF00u, 1.0f, 0, true);
                       LICE_DrawLineFloat(d, 3.3f, fy(12.5f), 5.1f, fy(-3.0f), 0xFF00FF00u, 0.7f, 2, true);
                     }},
        MirroredCase{"Polygons", [](LICE_IBitmap* d, int (*flip)(int)) {
                       LICE_FillTriangle(d, 2, flip(1), 9, flip(4), 4, flip(8), 0x55667788u, 1.0f, 0);
                       const int x[5] = {10, 16, 18, 13, 9};
                       const int y[5] = {flip(-3), flip(0), flip(9), flip(14), flip(6)};
                       LICE_FillConvexPolygon(d, x, y, 5, 0x55667788u, 0.7f, 3);
                     }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
