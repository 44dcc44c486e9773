#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// A thread that calls one function about every 10 ms until stopped. The
// graphics core runs one for the plug-in's idle hook.
class IIdleThread {
 public:
  using Tick = void (*)(void* context);

  IIdleThread() = default;
  ~IIdleThread() { Stop(); }
  IIdleThread(const IIdleThread&) = delete;
  IIdleThread& operator=(const IIdleThread&) = delete;

  // False when already running or when no thread can be made. The thread
  // asks for priority 32, clamped into its policy's range; a refusal is
  // not an error, the thread runs at the priority it has.
  bool Start(Tick tick, void* context);
  // Returns once the thread has ended; a tick in progress finishes first.
  void Stop();
  bool IsRunning() const { return mRunning.load(); }

  static constexpr int kWantedPriority = 32;
  static int ClampPriority(int wanted, int lowest, int highest);

 private:
  void Body();

  Tick mTick = nullptr;
  void* mContext = nullptr;
  std::thread mThread;
  std::mutex mMutex;
  std::condition_variable mWake;
  bool mStopSignalled = false;
  // Read by the thread and by whoever asks; written by Start and Stop.
  std::atomic<bool> mRunning{false};
};
