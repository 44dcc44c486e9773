#include "dsp/resampler/LowPassKernelCache.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// Short kernels (23 taps) under keys no other test uses: the variant is
// part of the key.
LowPassKernel* Get(int variant) {
  return GetCachedLowPassFilter(0.5, 45.0, 64.08, 100000 + variant, nullptr);
}
bool Cached(int variant) {
  return LowPassKernelCache::Live()->Contains(0.5, 45.0, 64.08, 100000 + variant);
}

TEST(LowPassKernelCache, EqualKeysShareOneKernelAndCountReferences) {
  LowPassKernel* a = Get(1);
  LowPassKernel* b = Get(1);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a->refCount, 2);
  LowPassKernel* other = GetCachedLowPassFilter(0.5, 45.0, 64.08 + 1e-9, 100001, nullptr);
  EXPECT_NE(other, a);
  ReleaseLowPassKernel(other);
  ReleaseLowPassKernel(b);
  EXPECT_EQ(a->refCount, 1);
  ReleaseLowPassKernel(a);
  EXPECT_EQ(a->refCount, 0);
  // Unreferenced kernels stay cached for the next converter.
  EXPECT_TRUE(Cached(1));
  LowPassKernel* c = Get(1);
  EXPECT_EQ(c, a);
  ReleaseLowPassKernel(c);
}

TEST(LowPassKernelCache, MissPastTheLimitEvictsTheLeastRecentlyUnusedKernel) {
  LowPassKernelCache* cache = LowPassKernelCache::Live();
  const int n = LowPassKernelCache::kMaxEntries;
  // Fill the cache with this test's kernels only, all unreferenced.
  for (int i = 0; i < n; ++i) ReleaseLowPassKernel(Get(1000 + i));
  ASSERT_EQ(cache->EntryCount(), n);
  ASSERT_TRUE(Cached(1000));

  ReleaseLowPassKernel(Get(2000));  // the 97th
  EXPECT_EQ(cache->EntryCount(), n);
  EXPECT_FALSE(Cached(1000));
  EXPECT_TRUE(Cached(1001));

  // A hit makes a kernel the most recent: 1001 survives the next miss.
  ReleaseLowPassKernel(Get(1001));
  ReleaseLowPassKernel(Get(2001));
  EXPECT_TRUE(Cached(1001));
  EXPECT_FALSE(Cached(1002));
}

TEST(LowPassKernelCache, AHeldTailIsKeptAndTheCacheGrows) {
  LowPassKernelCache* cache = LowPassKernelCache::Live();
  const int n = LowPassKernelCache::kMaxEntries;
  LowPassKernel* held = Get(3000);
  for (int i = 1; i < n; ++i) ReleaseLowPassKernel(Get(3000 + i));
  ASSERT_EQ(cache->EntryCount(), n);
  ReleaseLowPassKernel(Get(4000));
  EXPECT_EQ(cache->EntryCount(), n + 1);
  EXPECT_TRUE(Cached(3000));
  EXPECT_EQ(held->refCount, 1);
  ReleaseLowPassKernel(held);
  // Now unreferenced: the oldest unused entry goes at the next miss and the
  // list stays as long as it had grown.
  ReleaseLowPassKernel(Get(4001));
  EXPECT_EQ(cache->EntryCount(), n + 1);
  EXPECT_FALSE(Cached(3001));
}

TEST(LowPassKernelCache, ConcurrentLookupsAgreeOnOneKernel) {
  std::vector<LowPassKernel*> got(8, nullptr);
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&got, t] { got[t] = Get(5000); });
  }
  for (std::thread& th : threads) th.join();
  for (LowPassKernel* k : got) EXPECT_EQ(k, got[0]);
  EXPECT_EQ(got[0]->refCount, 8);
  for (LowPassKernel* k : got) ReleaseLowPassKernel(k);
}

}  // namespace
