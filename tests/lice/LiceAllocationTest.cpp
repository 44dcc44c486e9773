// What the raster library does when memory runs out. This executable is
// linked with the C allocator wrapped (-Wl,--wrap), so that allocations of
// chosen sizes made by our code fail on request; libpng, a shared library,
// allocates as usual.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "lice/lice.h"
#include "tests/ScratchFolder.h"
#include "tests/lice/LiceTestSupport.h"
#include "tests/lice/PNGTestFiles.h"

namespace {

// Allocations whose size lies in [gFailMin, gFailMax] fail while armed; the
// matching calls are counted either way.
bool gArmed = false;
size_t gFailMin = 0, gFailMax = 0;
int gMatching = 0;

bool ShouldFail(size_t n) {
  if (n < gFailMin || n > gFailMax) return false;
  ++gMatching;
  return gArmed;
}

// Arms the failure for the sizes given while it lives; count() reports the
// matching allocations.
class FailingAllocations {
 public:
  FailingAllocations(size_t minSize, size_t maxSize, bool fail = true) {
    gFailMin = minSize;
    gFailMax = maxSize;
    gMatching = 0;
    gArmed = fail;
  }
  ~FailingAllocations() {
    gArmed = false;
    gFailMin = gFailMax = 0;
  }
  int count() const { return gMatching; }
};

}  // namespace

extern "C" {
void* __real_malloc(size_t n);
void* __real_calloc(size_t count, size_t n);
void* __real_realloc(void* p, size_t n);
void* __wrap_malloc(size_t n) { return ShouldFail(n) ? nullptr : __real_malloc(n); }
void* __wrap_calloc(size_t count, size_t n) { return ShouldFail(count * n) ? nullptr : __real_calloc(count, n); }
void* __wrap_realloc(void* p, size_t n) { return ShouldFail(n) ? nullptr : __real_realloc(p, n); }
}

namespace {

TEST(MemBitmapOutOfMemory, EndsEmptyAndAnswersTrue) {
  {
    FailingAllocations fail(1000, 1000000);
    LICE_MemBitmap bm(100, 100, 4);
    EXPECT_EQ(bm.getBits(), nullptr);
    EXPECT_EQ(bm.getWidth(), 0);
    EXPECT_EQ(bm.getHeight(), 0);
  }
  LICE_MemBitmap bm(10, 10, 4);
  ASSERT_NE(bm.getBits(), nullptr);
  {
    // Growing: the reallocation and the fresh block after it both fail.
    FailingAllocations fail(1000, 1000000);
    EXPECT_TRUE(bm.resize(100, 100));
    EXPECT_EQ(fail.count(), 2);
  }
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_TRUE(bm.resize(20, 20));
  {
    // Only the reallocation with headroom fails: the exact fresh block is taken.
    FailingAllocations fail(50000 + 63, 50000 + 63);
    EXPECT_TRUE(bm.resize(100, 100));
  }
  ASSERT_NE(bm.getBits(), nullptr);
  EXPECT_EQ(bm.GetAllocatedBytes(), 40000);
}

TEST(SysBitmapOutOfMemory, EndsEmptyAndAnswersTrue) {
  FailingAllocations fail(1000, 1000000);
  LICE_SysBitmap bm(50, 50);
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getDC(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 0);
}

class PNGOutOfMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mFolder.Ok());
    LiceTest::PNGDescription s;
    s.width = 40;
    s.height = 30;
    s.colorType = PNG_COLOR_TYPE_RGB;
    for (int i = 0; i < 40 * 30 * 3; ++i) s.samples.push_back((i * 37) % 256);
    mPath = mFolder.PathOf("image.png");
    ASSERT_TRUE(LiceTest::WritePNG(mPath, s));
  }
  ScratchFolder mFolder;
  std::string mPath;
};

TEST_F(PNGOutOfMemory, NewBitmapWithoutPixelsIsRefused) {
  // The new bitmap's 40 x 30 pixels (+ alignment slack): its pixels fail.
  FailingAllocations fail(40 * 30 * 4, 40 * 30 * 4 + 63);
  EXPECT_EQ(LICE_LoadPNG(mPath.c_str(), nullptr), nullptr);
  EXPECT_EQ(fail.count(), 1);
}

TEST_F(PNGOutOfMemory, FailedRowTableFreesTheNewBitmapAndSparesTheCallers) {
  const size_t table = 30 * sizeof(void*);
  {
    FailingAllocations fail(table, table);
    // A new bitmap is freed again (a leak would fail this test under ASan).
    EXPECT_EQ(LICE_LoadPNG(mPath.c_str(), nullptr), nullptr);
    EXPECT_EQ(fail.count(), 1);
  }
  LICE_MemBitmap mine(40, 30, 4);
  LiceTest::FillAll(&mine, 0x5555AAAAu);
  {
    FailingAllocations fail(table, table);
    EXPECT_EQ(LICE_LoadPNG(mPath.c_str(), &mine), nullptr);
  }
  // No row was written.
  EXPECT_EQ(LiceTest::Touched(&mine, 0x5555AAAAu).size(), 0u);
  EXPECT_EQ(LICE_LoadPNG(mPath.c_str(), &mine), &mine);
}

TEST(PolygonOutOfMemory, FixedBufferUpTo512VerticesAndNothingDrawnWithoutTheHeapBuffer) {
  std::vector<int> x, y;
  for (int i = 0; i < 513; ++i) {
    x.push_back(i % 2 ? 0 : 10);
    y.push_back(i % 3 ? 0 : 10);
  }
  const size_t points = 513 * 2 * sizeof(int);
  LICE_MemBitmap bm(12, 12, 4);
  {
    FailingAllocations watch(points - 8, points, false);
    LiceTest::FillAll(&bm, 0);
    LICE_FillConvexPolygon(&bm, x.data(), y.data(), 512, 0xFFFFFFFFu, 1.0f, 0);
    EXPECT_EQ(watch.count(), 0);
    EXPECT_FALSE(LiceTest::Touched(&bm, 0).empty());
    LiceTest::FillAll(&bm, 0);
    LICE_FillConvexPolygon(&bm, x.data(), y.data(), 513, 0xFFFFFFFFu, 1.0f, 0);
    EXPECT_EQ(watch.count(), 1);
    EXPECT_FALSE(LiceTest::Touched(&bm, 0).empty());
  }
  FailingAllocations fail(points, points);
  LiceTest::FillAll(&bm, 0);
  LICE_FillConvexPolygon(&bm, x.data(), y.data(), 513, 0xFFFFFFFFu, 1.0f, 0);
  EXPECT_EQ(fail.count(), 1);
  EXPECT_TRUE(LiceTest::Touched(&bm, 0).empty());
}

TEST(BlurOutOfMemory, WideInPlaceBlurRunsWithoutItsSaveBuffer) {
  LICE_MemBitmap bm(1500, 4, 4);
  LiceTest::FillAll(&bm, 0xFFFFFFFFu);
  FailingAllocations fail(1500 * 8, 1500 * 8);
  LICE_BlurRect(&bm, &bm, 0, 0, 0, 0, 1500, 4);
  EXPECT_EQ(fail.count(), 1);
  // Every byte was blurred from 255, whatever the neighbours had become.
  for (int x = 0; x < 1500; ++x) EXPECT_GE(LICE_GETR(LiceTest::At(&bm, x, 1)), 247);
}

}  // namespace
