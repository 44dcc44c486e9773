#include "graphics/IIdleThread.h"

#include <pthread.h>
#include <sched.h>

#include <chrono>
#include <system_error>

namespace {

constexpr std::chrono::microseconds kPeriod(10000);

}  // namespace

int IIdleThread::ClampPriority(int wanted, int lowest, int highest) {
  if (wanted < lowest) return lowest;
  if (wanted > highest) return highest;
  return wanted;
}

bool IIdleThread::Start(Tick tick, void* context) {
  if (mRunning.exchange(true)) return false;
  mTick = tick;
  mContext = context;
  mStopSignalled = false;
  try {
    mThread = std::thread(&IIdleThread::Body, this);
  } catch (const std::system_error&) {
    mRunning = false;
    return false;
  }
  int policy = 0;
  sched_param param{};
  if (pthread_getschedparam(mThread.native_handle(), &policy, &param) == 0) {
    const int lowest = sched_get_priority_min(policy);
    const int highest = sched_get_priority_max(policy);
    if (lowest != -1 && highest != -1) {
      param.sched_priority = ClampPriority(kWantedPriority, lowest, highest);
      pthread_setschedparam(mThread.native_handle(), policy, &param);
    }
  }
  return true;
}

void IIdleThread::Stop() {
  if (!mRunning.exchange(false)) return;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mStopSignalled = true;
  }
  mWake.notify_all();
  if (mThread.joinable()) mThread.join();
}

void IIdleThread::Body() {
  std::unique_lock<std::mutex> lock(mMutex);
  while (!mStopSignalled) {
    // Wakes early only to stop, so teardown never waits out a tick.
    if (mWake.wait_for(lock, kPeriod, [this] { return mStopSignalled; })) break;
    lock.unlock();
    if (mTick) mTick(mContext);
    lock.lock();
  }
}
