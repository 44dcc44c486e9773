#include "lice/DrawContext.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "lice/DrawPools.h"
#include "lice/DrawRecords.h"
#include "lice/FontNameCache.h"
#include "platform/coretext/Font.h"
#include "tests/lice/TestFontModel.h"

// The sanitizers' allocators abort on absurd sizes instead of failing them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define BRIMLOW_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define BRIMLOW_SANITIZER_ALLOCATOR 1
#endif
#endif

namespace {

class TestFontOn {
 public:
  TestFontOn() { platform::SetTestFontEnabled(true); }
  ~TestFontOn() { platform::SetTestFontEnabled(false); }
};

DrawObject* MakeFont(int height, const char* face = "Verdana", int weight = 400, char italic = 0,
                     char quality = 0, int width = 0) {
  return CreateFont(height, width, 0, 0, weight, italic, 0, 0, 0, 0, 0, quality, 0, face);
}

}  // namespace

TEST(MemContext, PixelsAreZeroedAlignedAndSpanTheWholeArea) {
  for (auto [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {3, 7}, {13, 5}, {101, 7}, {256, 256}}) {
    DrawContext* ctx = CreateMemContext(w, h);
    ASSERT_NE(ctx, nullptr) << w << "x" << h;
    auto* bits = static_cast<uint8_t*>(GetMemContextBits(ctx));
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(bits) % 64, 0u);
    const size_t bytes = static_cast<size_t>(w) * 4 * h;
    EXPECT_EQ(std::vector<uint8_t>(bits, bits + bytes), std::vector<uint8_t>(bytes, 0));
    std::memset(bits, 0xAB, bytes);  // the sanitizer catches a short block
    DeleteDrawContext(ctx);
  }
}

TEST(MemContext, SizesThatCannotBeMadeGiveNull) {
  for (auto [w, h] : std::vector<std::pair<int, int>>{{0, 5}, {5, 0}, {-1, 5}, {5, -1}, {INT_MIN, INT_MIN}}) {
    EXPECT_EQ(CreateMemContext(w, h), nullptr) << w << "x" << h;
  }
#ifndef BRIMLOW_SANITIZER_ALLOCATOR
  // 16 EiB: the allocator refuses it.
  EXPECT_EQ(CreateMemContext(INT_MAX, INT_MAX), nullptr);
#endif
}

TEST(MemContext, NullAndReleasedRecordsAreIgnoredEverywhere) {
  TestFontOn testFont;
  DrawContext* live = CreateMemContext(8, 8);
  DrawContext* released = CreateMemContext(8, 8);
  DrawObject* font = MakeFont(12);
  DrawObject* releasedFont = MakeFont(12);
  ASSERT_TRUE(live && released && font && releasedFont);
  DeleteDrawContext(released);
  DeleteDrawObject(releasedFont);
  ASSERT_TRUE(released->mPooled && releasedFont->mPooled);
  const int pooledContexts = PooledDrawContextCount();
  const int pooledObjects = PooledDrawObjectCount();

  for (DrawContext* ctx : {static_cast<DrawContext*>(nullptr), released}) {
    EXPECT_EQ(GetMemContextBits(ctx), nullptr);
    SetDCTextColor(ctx, 0xFF0000);
    SetDCBkColor(ctx, 0x00FF00);
    SetDCBkMode(ctx, 1);
    EXPECT_EQ(SelectDrawObject(ctx, font), nullptr);
    EXPECT_EQ(SelectDrawObject(ctx, DrawObjectType(3)), nullptr);
    TextMetrics tm{};
    EXPECT_FALSE(GetTextMetrics(ctx, &tm));
    EXPECT_EQ(tm.mHeight, 16);  // the defaults are filled in all the same
    DrawRect r{0, 0, 0, 0};
    EXPECT_EQ(DrawTextCT(ctx, "abc", -1, &r, kDrawTextCalcRect), 0);
    EXPECT_EQ(r.right, 0);
    DeleteDrawContext(ctx);
  }
  EXPECT_EQ(released->mTextColor, 0);
  EXPECT_EQ(released->mTextCGColor, nullptr);
  EXPECT_EQ(PooledDrawContextCount(), pooledContexts);  // not pooled twice

  for (DrawObject* obj : {static_cast<DrawObject*>(nullptr), releasedFont}) {
    EXPECT_EQ(SelectDrawObject(live, obj), nullptr);
    DeleteDrawObject(obj);
  }
  EXPECT_EQ(PooledDrawObjectCount(), pooledObjects);
  EXPECT_FALSE(GetTextMetrics(live, nullptr));
  DrawRect r{0, 0, 0, 0};
  EXPECT_EQ(DrawTextCT(live, nullptr, -1, &r, kDrawTextCalcRect), 0);
  EXPECT_EQ(DrawTextCT(live, "abc", -1, nullptr, kDrawTextCalcRect), 0);
  DeleteDrawObject(font);
  DeleteDrawContext(live);
}

TEST(DrawPools, KeepAtMostTheirLimitAndHandRecordsBack) {
  TestFontOn testFont;
  std::vector<DrawContext*> contexts;
  for (int i = 0; i < kMaxPooledContexts + 1; ++i) contexts.push_back(CreateMemContext(4, 4));
  for (DrawContext* ctx : contexts) DeleteDrawContext(ctx);
  EXPECT_EQ(PooledDrawContextCount(), kMaxPooledContexts);
  DrawContext* reused = CreateMemContext(4, 4);
  EXPECT_EQ(PooledDrawContextCount(), kMaxPooledContexts - 1);
  EXPECT_FALSE(reused->mPooled);
  EXPECT_NE(GetMemContextBits(reused), nullptr);
  DeleteDrawContext(reused);

  std::vector<DrawObject*> objects;
  for (int i = 0; i < kMaxPooledObjects + 1; ++i) objects.push_back(MakeFont(12));
  for (DrawObject* obj : objects) DeleteDrawObject(obj);
  EXPECT_EQ(PooledDrawObjectCount(), kMaxPooledObjects);
  DrawObject* again = MakeFont(12);
  EXPECT_EQ(PooledDrawObjectCount(), kMaxPooledObjects - 1);
  EXPECT_EQ(again->mType, kDrawObjectFont);
  DeleteDrawObject(again);
  FreeDrawPools();
  EXPECT_EQ(PooledDrawContextCount(), 0);
  EXPECT_EQ(PooledDrawObjectCount(), 0);
}

TEST(DrawObjectRefs, ADeleteOnlyDropsAnExtraReference) {
  TestFontOn testFont;
  DrawObject* font = MakeFont(12);
  font->mExtraRefs = 1;
  DeleteDrawObject(font);
  EXPECT_FALSE(font->mPooled);
  EXPECT_EQ(font->mExtraRefs, 0);
  DeleteDrawObject(font);
  EXPECT_TRUE(font->mPooled);
}

TEST(SelectDrawObject, AnswersThePreviousObjectOrTheSlotsType) {
  TestFontOn testFont;
  DrawContext* ctx = CreateMemContext(4, 4);
  DrawObject* a = MakeFont(12);
  DrawObject* b = MakeFont(14);
  EXPECT_EQ(SelectDrawObject(ctx, a), DrawObjectType(3));
  EXPECT_EQ(SelectDrawObject(ctx, a), a);  // already selected
  EXPECT_EQ(SelectDrawObject(ctx, b), a);
  EXPECT_EQ(SelectDrawObject(ctx, a), b);
  EXPECT_EQ(SelectDrawObject(ctx, DrawObjectType(3)), a);  // empties the slot
  EXPECT_EQ(SelectDrawObject(ctx, DrawObjectType(3)), DrawObjectType(3));
  EXPECT_EQ(SelectDrawObject(ctx, DrawObjectType(1)), DrawObjectType(1));
  EXPECT_EQ(SelectDrawObject(ctx, DrawObjectType(2)), DrawObjectType(2));
  for (int bad : {0, 4, 7, 4095}) EXPECT_EQ(SelectDrawObject(ctx, DrawObjectType(bad)), nullptr) << bad;

  // A selected font that was released counts as no font.
  SelectDrawObject(ctx, b);
  DeleteDrawObject(b);
  EXPECT_EQ(SelectDrawObject(ctx, a), DrawObjectType(3));
  // Restoring with what a select answered, type number included.
  DrawObject* previous = SelectDrawObject(ctx, DrawObjectType(3));
  EXPECT_EQ(previous, a);
  EXPECT_EQ(SelectDrawObject(ctx, previous), DrawObjectType(3));
  DeleteDrawObject(a);
  DeleteDrawContext(ctx);
}

struct SizeCase {
  int height, width, expectedPixels;
};

class CreateFontSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(CreateFontSize, TheMetricsShowTheClampedSize) {
  TestFontOn testFont;
  const SizeCase c = GetParam();
  DrawContext* ctx = CreateMemContext(4, 4);
  DrawObject* font = MakeFont(c.height, "Verdana", 400, 0, 0, c.width);
  SelectDrawObject(ctx, font);
  TextMetrics tm{};
  ASSERT_TRUE(GetTextMetrics(ctx, &tm));
  const TestFontModel f(c.expectedPixels);
  EXPECT_EQ(tm.mAscent, f.ascent);
  EXPECT_EQ(tm.mDescent, f.descent);
  EXPECT_EQ(tm.mLeading, 0);
  EXPECT_EQ(tm.mHeight, f.ascent + f.descent + 1);
  EXPECT_EQ(tm.mAveCharWidth, 2 * (f.ascent + f.descent) / 3);
  DeleteDrawObject(font);
  DeleteDrawContext(ctx);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CreateFontSize,
                         ::testing::Values(SizeCase{-12, 0, 12}, SizeCase{12, 0, 12},
                                           SizeCase{0, 0, 10}, SizeCase{0, -14, 14},
                                           SizeCase{9000, 0, 10}, SizeCase{8192, 0, 8192},
                                           SizeCase{2, 0, 2}, SizeCase{1, 0, 10},
                                           SizeCase{INT_MIN, 0, 10}));

TEST(GetTextMetrics, WithoutAFontTheDefaultFontAnswers) {
  TestFontOn testFont;
  DrawContext* ctx = CreateMemContext(4, 4);
  TextMetrics tm{};
  ASSERT_TRUE(GetTextMetrics(ctx, &tm));
  const TestFontModel f(10);  // the label font is 10 pixels
  EXPECT_EQ(tm.mHeight, f.ascent + f.descent + 1);
  EXPECT_EQ(tm.mAscent, f.ascent);
  DeleteDrawContext(ctx);
}

TEST(CreateFont, FaceNamesGetTheirStyleSuffixesAndAreResolvedOnce) {
  FontNameCache& cache = FontNameCache::Shared();
  DrawObject* font = MakeFont(12, "Verdana", 700, 1);
  std::string postScriptName;
  ASSERT_TRUE(cache.Lookup("Verdana Bold Italic", &postScriptName));
  EXPECT_FALSE(postScriptName.empty());  // fontconfig's substitute for it
  DeleteDrawObject(font);

  // A cached name is used as it stands.
  cache.Insert("Brimlow Cached Face Bold", "DejaVuSans-Bold");
  font = MakeFont(12, "Brimlow Cached Face", 700);
  EXPECT_EQ(platform::FontPostScriptName(font->mFont), "DejaVuSans-Bold");
  DeleteDrawObject(font);

  const int before = cache.Count();
  font = MakeFont(12, "");
  EXPECT_EQ(cache.Count(), before);  // the empty name skips the cache
  EXPECT_NE(font->mFont, nullptr);   // and gets the default face
  DeleteDrawObject(font);

  const std::string longName(1000, 'x');
  font = MakeFont(12, longName.c_str(), 700);
  EXPECT_TRUE(cache.Lookup((std::string(899, 'x') + " Bold").c_str(), nullptr));
  DeleteDrawObject(font);
}

// Contexts and fonts are made and released on several threads at once; the
// pools, the face-name cache and the default font are shared by all of them.
TEST(DrawPools, ThreadsShareThePoolsAndTheNameCache) {
  TestFontOn testFont;
  std::vector<std::thread> threads;
  std::vector<int> heights(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &heights] {
      const std::string face = "Thread Face " + std::to_string(t % 2);
      for (int i = 0; i < 200; ++i) {
        DrawContext* ctx = CreateMemContext(8 + i % 5, 8);
        DrawObject* font = i % 3 ? MakeFont(12, face.c_str(), i % 2 ? 700 : 400) : nullptr;
        if (font) SelectDrawObject(ctx, font);
        DrawRect r{0, 0, 0, 0};
        heights[t] = DrawTextCT(ctx, "ab", -1, &r, kDrawTextCalcRect);
        DeleteDrawObject(font);
        DeleteDrawContext(ctx);
      }
    });
  }
  for (std::thread& t : threads) t.join();
  for (int h : heights) EXPECT_EQ(h, TestFontModel(12).TextHeight(1));
  std::string value;
  EXPECT_TRUE(FontNameCache::Shared().Lookup("Thread Face 1 Bold", &value));
}
