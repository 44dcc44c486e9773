#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// One meter of a process: its kind, the peak kept between reads, which
// reader read it last, and its clip flag.
struct SMeterEntry {
  uint8_t mKind = 0;
  int32_t mPeak = 0;
  uint8_t mLastReader = 0;
  uint8_t mClip = 0;
};

// What the meter set needs of the process that owns it.
class CMeterSetOwner {
 public:
  // The kind code of the owner's process type; false when it has no type.
  virtual bool GetTypeKindCode(int32_t* kindCode) const = 0;
  // Fresh values and clip flags, one per meter.
  virtual void FetchMeterValues(int32_t* values, uint8_t* clips) = 0;
  // Set by the owner when new values are ready; cleared by the meter set.
  virtual int16_t GetMeterRefreshFlag() const = 0;
  virtual void SetMeterRefreshFlag(int16_t flag) = 0;

 protected:
  ~CMeterSetOwner() = default;
};

// A process's meters, read by two readers (the host's meter query and the
// editor) without either losing a peak that arose since its own last read:
// a peak is kept until the reader that has not seen it takes it.
class CMeterSet {
 public:
  // 1/60 s ticks; the process's tick count unless a test gives its own.
  using TickClock = uint32_t (*)();

  explicit CMeterSet(TickClock clock = nullptr);

  // Empties the set (storage in the entry vector, last fetch 0).
  void InitMeterSet();
  void FreeMeterSet();
  // Stores the owner and takes the meter mode from its type's kind code.
  void AttachMeterSet(CMeterSetOwner* owner);
  void AddMeter(uint8_t kind);

  int32_t GetMeterCount() const { return static_cast<int32_t>(mEntries.size()); }
  // Meter n, 1-based; null outside 1 to count.
  SMeterEntry* GetMeter(int32_t n);
  int32_t CountMetersOfKind(uint8_t kind) const;
  // 1-based position of the k-th meter of the kind; 0 when there are fewer.
  int32_t FindNthMeterOfKind(uint8_t kind, int32_t k) const;

  // Peaks for `reader`: index -1 fills values and clips (one element per
  // meter); index k (1-based) writes meter k's peak to out. A k outside 1
  // to count reads nothing and writes 0. reset asks for fresh values and
  // clears every peak and clip.
  void UpdateMeterPeaks(uint8_t reader, int32_t* values, uint8_t* clips, int32_t index, int32_t* out, bool reset);

  int32_t GetMeterMode() const { return mMeterMode; }

  // The kind code of the host-based effect type: its values are fetched
  // only after the owner has new ones.
  static constexpr int32_t kGatedMeterMode = 3;

 private:
  void Fetch(int32_t* values, uint8_t* clips);

  TickClock mClock;
  uint32_t mLastFetch = 0;
  CMeterSetOwner* mOwner = nullptr;
  int32_t mMeterMode = 0;
  std::vector<std::unique_ptr<SMeterEntry>> mEntries;
};
