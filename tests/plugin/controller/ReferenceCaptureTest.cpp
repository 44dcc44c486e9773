#include "plugin/controller/ReferenceCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "framework/containers/WDL_Mutex.h"

namespace {

constexpr int kN = kReferencePointCount;

struct Points {
  std::vector<double> f = std::vector<double>(kN);
  std::vector<double> m = std::vector<double>(kN);
};

// Rising frequencies from 10 Hz to 22050 Hz, magnitudes that tell sets apart.
Points MakePoints(double magnitudeOffset) {
  Points p;
  for (int i = 0; i < kN; ++i) {
    p.f[i] = 10.0 * std::pow(2205.0, i / (kN - 1.0));
    p.m[i] = magnitudeOffset + 0.01 * i;
  }
  return p;
}

void ExpectHolds(const ReferenceCapture& r, const Points& p) {
  for (int i = 0; i < kN; ++i) {
    ASSERT_EQ(r.GetFrequencies()[i], p.f[i]) << i;
    ASSERT_EQ(r.GetMagnitudes()[i], p.m[i]) << i;
  }
}

TEST(ReferenceCapture, StartsZeroAndLaysAZeroCurve) {
  const ReferenceCapture r;
  EXPECT_EQ(r.GetCount(), 134);
  for (int i = 0; i < kN; ++i) {
    EXPECT_EQ(r.GetFrequencies()[i], 0.0);
    EXPECT_EQ(r.GetMagnitudes()[i], 0.0);
  }
  std::vector<double> curve(4096, -1.0);
  r.LayOnGrid(curve.data(), 4096, 44100.0);
  for (double v : curve) ASSERT_EQ(v, 0.0);
}

TEST(ReferenceCapture, SetTakesBothArraysOrNeither) {
  ReferenceCapture r;
  const Points before = MakePoints(1.0);
  ASSERT_TRUE(r.Set(before.f.data(), before.m.data(), kN));
  ExpectHolds(r, before);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Bad {
    const char* name;
    bool inFrequencies;
    int index;
    double value;
  };
  for (const Bad& b : {Bad{"NaN frequency", true, 0, nan}, Bad{"infinite frequency", true, kN - 1, inf},
                       Bad{"NaN magnitude", false, 77, nan}, Bad{"-inf magnitude", false, kN - 1, -inf}}) {
    Points p = MakePoints(5.0);
    (b.inFrequencies ? p.f : p.m)[b.index] = b.value;
    EXPECT_FALSE(r.Set(p.f.data(), p.m.data(), kN)) << b.name;
    ExpectHolds(r, before);
  }
  const Points other = MakePoints(5.0);
  EXPECT_FALSE(r.Set(other.f.data(), other.m.data(), kN - 1));
  EXPECT_FALSE(r.Set(other.f.data(), other.m.data(), kN + 1));
  EXPECT_FALSE(r.Set(nullptr, other.m.data(), kN));
  EXPECT_FALSE(r.Set(other.f.data(), nullptr, kN));
  ExpectHolds(r, before);
}

TEST(ReferenceCapture, CommitCopiesAndLaysOnTheHostHalfBand) {
  ReferenceCapture fresh;
  // Magnitude = frequency: the curve shows each grid point's frequency.
  Points p = MakePoints(0.0);
  p.m = p.f;
  ASSERT_TRUE(fresh.Set(p.f.data(), p.m.data(), kN));
  ReferenceCapture owned;
  WDL_Mutex mutex;
  std::vector<double> curve(2048, -1.0);
  owned.Commit(fresh, &mutex, curve.data(), 2048, 48000.0);
  ExpectHolds(owned, p);
  for (int i = 0; i < 2048; ++i) {
    const double f = std::min(std::max(i * 24000.0 / 2047.0, 10.0), 20000.0);
    ASSERT_NEAR(curve[i], f, 1e-9 * f) << i;
  }
  // Without a curve only the arrays change.
  const Points q = MakePoints(3.0);
  ASSERT_TRUE(fresh.Set(q.f.data(), q.m.data(), kN));
  owned.Commit(fresh, &mutex, nullptr, 0, 48000.0);
  ExpectHolds(owned, q);
}

TEST(ReferenceCapture, CommitWaitsForThePlugMutex) {
  ReferenceCapture owned;
  const Points old = MakePoints(1.0);
  ASSERT_TRUE(owned.Set(old.f.data(), old.m.data(), kN));
  ReferenceCapture fresh;
  const Points next = MakePoints(9.0);
  ASSERT_TRUE(fresh.Set(next.f.data(), next.m.data(), kN));

  WDL_Mutex mutex;
  std::vector<double> curve(256, -1.0);
  std::atomic<bool> started{false};
  mutex.Enter();
  std::thread loader([&] {
    started = true;
    owned.Commit(fresh, &mutex, curve.data(), 256, 44100.0);
  });
  while (!started) std::this_thread::yield();
  // However long the loader runs, it cannot get past the lock we hold.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ExpectHolds(owned, old);
  EXPECT_EQ(curve[0], -1.0);
  mutex.Leave();
  loader.join();
  ExpectHolds(owned, next);
  EXPECT_EQ(curve[0], next.m[0]);
}

}  // namespace
