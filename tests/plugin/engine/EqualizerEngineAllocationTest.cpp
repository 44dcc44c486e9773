// The audio path must not allocate or lock. This executable is linked with
// the C allocator, operator new and the mutex lock wrapped (-Wl,--wrap), so
// every allocation and lock our libraries make while the counter is armed
// is seen.
#include <gtest/gtest.h>
#include <pthread.h>

#include <cstddef>
#include <limits>
#include <vector>

#include "plugin/engine/EqualizerEngine.h"
#include "tests/plugin/engine/EngineTestSupport.h"

namespace {
bool gArmed = false;
long gAllocations = 0;
long gLocks = 0;

void Count() {
  if (gArmed) ++gAllocations;
}
}  // namespace

extern "C" {
void* __real_malloc(size_t n);
void* __real_calloc(size_t count, size_t n);
void* __real_realloc(void* p, size_t n);
void* __wrap_malloc(size_t n) {
  Count();
  return __real_malloc(n);
}
void* __wrap_calloc(size_t count, size_t n) {
  Count();
  return __real_calloc(count, n);
}
void* __wrap_realloc(void* p, size_t n) {
  Count();
  return __real_realloc(p, n);
}
// operator new and operator new[] (size_t), by their linker names.
void* __real__Znwm(size_t n);
void* __real__Znam(size_t n);
void* __wrap__Znwm(size_t n) {
  Count();
  return __real__Znwm(n);
}
void* __wrap__Znam(size_t n) {
  Count();
  return __real__Znam(n);
}
int __real_pthread_mutex_lock(pthread_mutex_t* mutex);
int __wrap_pthread_mutex_lock(pthread_mutex_t* mutex) {
  if (gArmed) ++gLocks;
  return __real_pthread_mutex_lock(mutex);
}
}

namespace {

struct RealtimeCase {
  int filterMode, osFactor, channels;
};

class EngineAllocation : public ::testing::TestWithParam<RealtimeCase> {};

// Blocks of changing sizes up to the announced one, long enough to run
// past the latency twice, then listening and "AB" off, then a band edit
// that swaps the impulse: none of it may allocate.
TEST_P(EngineAllocation, ProcessingNeverAllocates) {
  const RealtimeCase c = GetParam();
  ParamMirrors m;
  for (int b = 0; b < kNumBands; ++b) EngineTestSupport::SetPeak(m, b, 60.0 + 1500.0 * b, 3.0, 1.0, b % 5);
  EqualizerEngine engine(&m);
  EngineTestSupport::FakeHost host;
  engine.SetHost(&host);
  engine.Setup(48000.0, 1024, c.channels, c.channels);
  EngineTestSupport::ApplyModes(engine, m, c.filterMode, c.osFactor);

  std::vector<double> left = EngineTestSupport::Noise(1024, 1), right = EngineTestSupport::Noise(1024, 2);
  std::vector<double> outL(1024), outR(1024);
  double* in[2] = {left.data(), right.data()};
  double* out[2] = {outL.data(), outR.data()};
  const int sizes[] = {1024, 17, 1, 512, 999, 64, 1024, 300};
  // Non-finite samples put back into the input before each block (the
  // engine clears them in place), when `poisoned` is set.
  auto run = [&](int frames, bool poisoned = false) {
    gArmed = true;
    for (int k = 0, done = 0; done < frames; ++k) {
      if (poisoned) {
        left[k % 17] = std::numeric_limits<double>::quiet_NaN();
        right[k % 5] = -std::numeric_limits<double>::infinity();
      }
      engine.ProcessBlock(in, out, sizes[k % 8]);
      done += sizes[k % 8];
    }
    gArmed = false;
  };

  gAllocations = 0;
  gLocks = 0;
  run(2 * engine.GetTotalLatency() + 20000);
  EXPECT_EQ(gAllocations, 0) << "while filtering";
  run(20000, true);
  EXPECT_EQ(gAllocations, 0) << "with non-finite input";
  EXPECT_EQ(gLocks, 0);
  engine.StartListen(1000.0, 0.0);
  m.abEnabled = 0;
  run(20000);
  EXPECT_EQ(gAllocations, 0) << "while listening with AB off";
  engine.StopListen();
  m.abEnabled = 1;
  m.bandChMode[0] = 1;  // left/right bands now differ
  EngineTestSupport::ApplyBandEdit(engine, m);
  run(engine.GetTotalLatency() + 20000);
  EXPECT_EQ(gAllocations, 0) << "after a band edit";
  EXPECT_EQ(gLocks, 0) << "locks taken by the audio path";
}

std::vector<RealtimeCase> Cases() {
  std::vector<RealtimeCase> cases;
  for (int factor : {1, 2, 4}) {
    for (int mode = 0; mode < 7; ++mode) cases.push_back({mode, factor, 2});
  }
  for (int mode : {0, 3, 6}) cases.push_back({mode, 4, 1});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Modes, EngineAllocation, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<RealtimeCase>& info) {
                           return "Mode" + std::to_string(info.param.filterMode) + "x" +
                                  std::to_string(info.param.osFactor) + "ch" + std::to_string(info.param.channels);
                         });

}  // namespace
