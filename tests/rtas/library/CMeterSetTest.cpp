#include "rtas/library/CMeterSet.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

uint32_t gNow = 0;
uint32_t TestClock() { return gNow; }

constexpr uint8_t kHost = 101;
constexpr uint8_t kEditor = 7;

class FakeOwner : public CMeterSetOwner {
 public:
  explicit FakeOwner(int32_t kindCode, bool hasType = true) : mKindCode(kindCode), mHasType(hasType) {}

  bool GetTypeKindCode(int32_t* kindCode) const override {
    if (mHasType) *kindCode = mKindCode;
    return mHasType;
  }
  void FetchMeterValues(int32_t* values, uint8_t* clips) override {
    ++mFetches;
    for (size_t i = 0; i < mValues.size(); ++i) {
      values[i] = mValues[i];
      clips[i] = mClips[i];
    }
  }
  int16_t GetMeterRefreshFlag() const override { return mRefresh; }
  void SetMeterRefreshFlag(int16_t flag) override { mRefresh = flag; }

  std::vector<int32_t> mValues;
  std::vector<uint8_t> mClips;
  int mFetches = 0;
  int16_t mRefresh = 1;

 private:
  int32_t mKindCode;
  bool mHasType;
};

class MeterSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gNow = 1000;
    meters.InitMeterSet();
    for (int i = 0; i < 2; ++i) meters.AddMeter(1);
    owner.mValues = {0, 0};
    owner.mClips = {0, 0};
    meters.AttachMeterSet(&owner);
  }

  // A read of every meter by one reader.
  std::vector<int32_t> ReadAll(uint8_t reader) {
    std::vector<int32_t> values(2, -1);
    std::vector<uint8_t> clips(2, 0);
    meters.UpdateMeterPeaks(reader, values.data(), clips.data(), -1, nullptr, false);
    return values;
  }

  int32_t ReadOne(uint8_t reader, int32_t k) {
    std::vector<int32_t> values(2, -1);
    std::vector<uint8_t> clips(2, 0);
    int32_t out = -1;
    meters.UpdateMeterPeaks(reader, values.data(), clips.data(), k, &out, false);
    return out;
  }

  FakeOwner owner{0};
  CMeterSet meters{TestClock};
};

}  // namespace

TEST_F(MeterSetTest, APeakIsKeptForTheReaderThatHasNotSeenIt) {
  owner.mValues = {900, 10};
  EXPECT_EQ(ReadAll(kEditor), (std::vector<int32_t>{900, 10}));
  // The peak has fallen by the host's next read; the host still sees 900.
  gNow += 2;
  owner.mValues = {100, 20};
  EXPECT_EQ(ReadAll(kHost), (std::vector<int32_t>{900, 20}));
  // Read once by the host, the peak is gone: the editor gets the value it
  // left behind, the fresh 100.
  gNow += 2;
  owner.mValues = {50, 20};
  EXPECT_EQ(ReadAll(kEditor), (std::vector<int32_t>{100, 20}));
}

TEST_F(MeterSetTest, TheSameReaderSeesFreshValues) {
  owner.mValues = {900, 10};
  ReadAll(kHost);
  gNow += 2;
  owner.mValues = {100, 20};
  EXPECT_EQ(ReadAll(kHost), (std::vector<int32_t>{100, 20}));
}

TEST_F(MeterSetTest, ReadsWithinOneTickAnswerTheStoredPeaks) {
  owner.mValues = {300, 40};
  ReadAll(kHost);
  EXPECT_EQ(owner.mFetches, 1);
  gNow += 1;  // "now > last fetch + 1" needs two ticks
  owner.mValues = {999, 999};
  EXPECT_EQ(ReadAll(kEditor), (std::vector<int32_t>{300, 40}));
  EXPECT_EQ(ReadOne(kEditor, 2), 40);
  EXPECT_EQ(owner.mFetches, 1);
}

TEST_F(MeterSetTest, OneMeterByNumber) {
  owner.mValues = {700, 10};
  EXPECT_EQ(ReadOne(kEditor, 1), 700);
  gNow += 2;
  owner.mValues = {100, 5};
  EXPECT_EQ(ReadOne(kHost, 1), 700);
  gNow += 2;
  owner.mValues = {80, 5};
  EXPECT_EQ(ReadOne(kHost, 1), 80);
}

TEST_F(MeterSetTest, MeterNumbersOutsideTheSetReadZero) {
  for (int32_t k : {0, 3, -2, 1000000}) {
    EXPECT_EQ(ReadOne(kHost, k), 0) << k;
  }
  EXPECT_EQ(owner.mFetches, 0);
  EXPECT_EQ(meters.GetMeter(0), nullptr);
  EXPECT_EQ(meters.GetMeter(3), nullptr);
  EXPECT_NE(meters.GetMeter(2), nullptr);

  // This plug-in has no meters at all.
  CMeterSet none(TestClock);
  none.InitMeterSet();
  FakeOwner quiet(3);
  none.AttachMeterSet(&quiet);
  int32_t out = -1;
  none.UpdateMeterPeaks(kHost, nullptr, nullptr, 1, &out, false);
  EXPECT_EQ(out, 0);
  none.UpdateMeterPeaks(kHost, nullptr, nullptr, -1, nullptr, false);
  none.UpdateMeterPeaks(kHost, nullptr, nullptr, -1, nullptr, true);
  EXPECT_EQ(quiet.mFetches, 0);
  EXPECT_EQ(none.GetMeterCount(), 0);
}

TEST_F(MeterSetTest, ModeThreeWaitsForTheOwnersRefresh) {
  FakeOwner effect(CMeterSet::kGatedMeterMode);
  effect.mValues = {10, 20};
  effect.mClips = {0, 1};
  meters.AttachMeterSet(&effect);
  EXPECT_EQ(meters.GetMeterMode(), 3);
  ReadAll(kHost);
  EXPECT_EQ(effect.mFetches, 1);
  EXPECT_EQ(effect.mRefresh, 0);
  gNow += 10;
  effect.mValues = {11, 21};
  EXPECT_EQ(ReadAll(kHost), (std::vector<int32_t>{10, 20}));
  EXPECT_EQ(effect.mFetches, 1);
  effect.mRefresh = 1;
  EXPECT_EQ(ReadAll(kHost), (std::vector<int32_t>{11, 21}));
  EXPECT_EQ(effect.mFetches, 2);
}

TEST_F(MeterSetTest, ResetClearsPeaksAndClips) {
  owner.mValues = {500, 600};
  owner.mClips = {1, 1};
  ReadAll(kEditor);
  std::vector<int32_t> values(2);
  std::vector<uint8_t> clips(2);
  meters.UpdateMeterPeaks(kHost, values.data(), clips.data(), -1, nullptr, true);
  EXPECT_EQ(meters.GetMeter(1)->mPeak, 0);
  EXPECT_EQ(meters.GetMeter(2)->mClip, 0);
  EXPECT_EQ(ReadOne(kHost, 2), 0);  // within the tick: the cleared peak
}

TEST(CMeterSet, KindsAreCountedAndFoundInOrder) {
  CMeterSet meters(TestClock);
  meters.InitMeterSet();
  for (uint8_t kind : {1, 2, 1, 3, 1}) meters.AddMeter(kind);
  EXPECT_EQ(meters.CountMetersOfKind(1), 3);
  EXPECT_EQ(meters.CountMetersOfKind(4), 0);
  EXPECT_EQ(meters.FindNthMeterOfKind(1, 1), 1);
  EXPECT_EQ(meters.FindNthMeterOfKind(1, 3), 5);
  EXPECT_EQ(meters.FindNthMeterOfKind(1, 4), 0);
  EXPECT_EQ(meters.FindNthMeterOfKind(3, 1), 4);
  EXPECT_EQ(meters.FindNthMeterOfKind(2, 0), 0);
  FakeOwner typeless(3, false);
  meters.AttachMeterSet(&typeless);
  EXPECT_EQ(meters.GetMeterMode(), 0);
  meters.FreeMeterSet();
  EXPECT_EQ(meters.GetMeterCount(), 0);
}
