#include "rtas/library/CMeterSet.h"

#include <chrono>

namespace {

uint32_t SteadyTicks() {
  using Ticks = std::chrono::duration<int64_t, std::ratio<1, 60>>;
  return static_cast<uint32_t>(
      std::chrono::duration_cast<Ticks>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

}  // namespace

CMeterSet::CMeterSet(TickClock clock) : mClock(clock ? clock : SteadyTicks) {}

void CMeterSet::InitMeterSet() {
  mLastFetch = 0;
  mOwner = nullptr;
  mEntries.clear();
}

void CMeterSet::FreeMeterSet() { mEntries.clear(); }

void CMeterSet::AttachMeterSet(CMeterSetOwner* owner) {
  mOwner = owner;
  int32_t kind = 0;
  if (owner && owner->GetTypeKindCode(&kind)) mMeterMode = kind;
}

void CMeterSet::AddMeter(uint8_t kind) {
  auto entry = std::make_unique<SMeterEntry>();
  entry->mKind = kind;
  mEntries.push_back(std::move(entry));
}

SMeterEntry* CMeterSet::GetMeter(int32_t n) {
  if (n < 1 || n > GetMeterCount()) return nullptr;
  return mEntries[n - 1].get();
}

int32_t CMeterSet::CountMetersOfKind(uint8_t kind) const {
  int32_t count = 0;
  for (const auto& entry : mEntries) count += entry->mKind == kind;
  return count;
}

int32_t CMeterSet::FindNthMeterOfKind(uint8_t kind, int32_t k) const {
  if (k < 1) return 0;
  for (int32_t i = 0; i < GetMeterCount(); ++i) {
    if (mEntries[i]->mKind == kind && --k == 0) return i + 1;
  }
  return 0;
}

void CMeterSet::Fetch(int32_t* values, uint8_t* clips) {
  if (mOwner && !mEntries.empty()) mOwner->FetchMeterValues(values, clips);
}

void CMeterSet::UpdateMeterPeaks(uint8_t reader, int32_t* values, uint8_t* clips, int32_t index, int32_t* out,
                                 bool reset) {
  if (reset) {
    Fetch(values, clips);
    for (auto& entry : mEntries) {
      entry->mPeak = 0;
      entry->mClip = 0;
    }
    return;
  }
  if (index != -1) {
    if (out) *out = 0;
    // The host names meters by number; one that does not exist reads as
    // silence rather than past the arrays.
    if (index < 1 || index > GetMeterCount() || !out) return;
  }
  if (mEntries.empty()) return;

  const uint32_t now = mClock();
  const bool gated = mMeterMode == kGatedMeterMode && mOwner && mOwner->GetMeterRefreshFlag() == 0;
  if (now > mLastFetch + 1 && !gated) {
    mLastFetch = now;
    Fetch(values, clips);
    if (mOwner) mOwner->SetMeterRefreshFlag(0);
    if (index == -1) {
      for (size_t i = 0; i < mEntries.size(); ++i) {
        SMeterEntry& entry = *mEntries[i];
        if (entry.mLastReader != reader && entry.mPeak > values[i]) {
          // The other reader has not seen this peak: this reader gets it
          // now and the entry starts again from the fresh value.
          const int32_t fresh = values[i];
          values[i] = entry.mPeak;
          entry.mPeak = fresh;
        } else {
          entry.mPeak = values[i];
        }
        entry.mLastReader = reader;
        entry.mClip = clips[i];
      }
    } else {
      SMeterEntry& wanted = *mEntries[index - 1];
      *out = values[index - 1];
      if (wanted.mLastReader != reader && wanted.mPeak > *out) *out = wanted.mPeak;
      for (size_t i = 0; i < mEntries.size(); ++i) {
        mEntries[i]->mPeak = values[i];
        mEntries[i]->mLastReader = reader;
        mEntries[i]->mClip = clips[i];
      }
    }
    return;
  }
  if (index == -1) {
    for (size_t i = 0; i < mEntries.size(); ++i) {
      values[i] = mEntries[i]->mPeak;
      clips[i] = mEntries[i]->mClip;
    }
  } else {
    *out = mEntries[index - 1]->mPeak;
  }
}
