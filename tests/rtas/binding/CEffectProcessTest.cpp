#include "rtas/binding/CEffectProcess.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "rtas/library/CPluginControl_Linear.h"
#include "rtas/library/CPluginControl_OnOff.h"
#include "rtas/library/FourCC.h"
#include "tests/rtas/library/ProcessTestSupport.h"

namespace {

// A process with the controls a test gives, the first one its master
// bypass when asked.
class ChunkProcess : public CEffectProcess {
 public:
  CProcessView* CreateView() override { return new FakeView(FourCC("root"), nullptr); }
  void SetUpControls() override {
    for (auto* control : mPending) AddControl(control);
    mPending.clear();
    if (mBypassFirst) SetMasterBypassControl(1);
  }
  std::vector<CPluginControl*> mPending;
  bool mBypassFirst = false;
};

CPluginControl_Linear* Linear(const char* id, double value) {
  auto* control = new CPluginControl_Linear(FourCC(*reinterpret_cast<const char(*)[5]>(id)), "Linear", 0.0, 1.0,
                                            0.01, value, true, nullptr, nullptr);
  return control;
}

// A chunk buffer: header and data.
struct ChunkBuffer {
  explicit ChunkBuffer(int32_t size) : bytes(static_cast<size_t>(size) + 64, 0xcc) {}
  SFicPlugInChunk* Chunk() { return reinterpret_cast<SFicPlugInChunk*>(bytes.data()); }
  std::vector<uint8_t> Data(int32_t size) const {
    return {bytes.begin() + 56, bytes.begin() + 56 + (size - 56)};
  }
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> BigEndian(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, 8);
  std::vector<uint8_t> out(8);
  for (int i = 7; i >= 0; --i, bits >>= 8) out[static_cast<size_t>(i)] = static_cast<uint8_t>(bits);
  return out;
}

class EffectProcessTest : public ::testing::Test {
 protected:
  void Init() { process.InitProcess(); }
  std::vector<uint8_t> Write(int32_t* size) {
    EXPECT_EQ(process.GetChunkSize(CEffectProcess::kControlsChunkID, size), 0);
    buffer = ChunkBuffer(*size);
    EXPECT_EQ(process.GetChunk(CEffectProcess::kControlsChunkID, buffer.Chunk()), 0);
    EXPECT_EQ(buffer.Chunk()->mSize, *size);
    return buffer.Data(*size);
  }
  ChunkProcess process;
  ChunkBuffer buffer{0};
};

}  // namespace

TEST_F(EffectProcessTest, TheControlsChunkHoldsEachControlAsARecord) {
  auto* gain = Linear("abcd", 0.5);
  process.mPending = {gain, new CPluginControl_Discrete(FourCC("wxyz"), "Mode", 0, 10, 3, true)};
  Init();
  int32_t size = 0;
  const auto data = Write(&size);
  EXPECT_EQ(size, 56 + 4 + 16 + 12);
  std::vector<uint8_t> expected = {1, 1, 1, 1, 'd', '_', 'a', 'b', 'c', 'd', 0, 0};
  const auto value = BigEndian(gain->GetContinuousValue());
  expected.insert(expected.end(), value.begin(), value.end());
  expected.insert(expected.end(), {'l', '_', 'w', 'x', 'y', 'z', 0, 0, 0, 0, 0, 3});
  EXPECT_EQ(data, expected);
  EXPECT_NEAR(gain->GetContinuousValue(), 0.5, 1e-9);
}

TEST_F(EffectProcessTest, TheBypassControlStaysOutOfTheChunkAndIsNeverSetFromIt) {
  process.mPending = {new CPluginControl_OnOff(FourCC("bypa"), "Bypass", 0, true), Linear("gain", 0.25)};
  process.mBypassFirst = true;
  Init();
  int32_t size = 0;
  const auto data = Write(&size);
  EXPECT_EQ(size, 56 + 4 + 16);
  EXPECT_EQ(std::string(data.begin() + 6, data.begin() + 10), "gain");

  // A chunk with a bypass record does not touch the bypass.
  const int32_t bypassBefore = process.GetControl(1)->GetValue();
  std::vector<uint8_t> bytes(56, 0);
  const uint8_t records[] = {1, 1, 1, 1, 'l', '_', 'b', 'y', 'p', 'a', 0, 0, 0, 0, 0, 1};
  bytes.insert(bytes.end(), std::begin(records), std::end(records));
  auto* chunk = reinterpret_cast<SFicPlugInChunk*>(bytes.data());
  chunk->mSize = static_cast<int32_t>(bytes.size());
  chunk->mChunkID = CEffectProcess::kControlsChunkID;
  EXPECT_EQ(process.SetChunk(CEffectProcess::kControlsChunkID, chunk), 0);
  EXPECT_EQ(process.GetControl(1)->GetValue(), bypassBefore);
  int32_t bypass = 0;
  EXPECT_EQ(process.GetMasterBypassControl(&bypass), 0);
  EXPECT_EQ(bypass, 1);
}

TEST_F(EffectProcessTest, SettingAChunkFindsRecordsInAnyOrderAndSkipsWhatDoesNotFit) {
  process.mPending = {Linear("gain", 0.25), new CPluginControl_Discrete(FourCC("mode"), "Mode", 0, 10, 3, true),
                      new CPluginControl_Discrete(FourCC("kept"), "Kept", 0, 10, 4, true)};
  Init();
  // Another process's chunk, records reversed, one for an unknown id and
  // one whose kind does not fit its control.
  ChunkDataParser other;
  other.AddLongRecord("kept", 9);
  other.AddLongRecord("zzzz", 1);
  other.AddLongRecord("mode", 7);
  other.AddDoubleRecord("gain", 0.75);
  other.AddLongRecord("gain", 1);
  ChunkBuffer buffer(56 + other.GetDataSize());
  buffer.Chunk()->mSize = 56 + other.GetDataSize();
  buffer.Chunk()->mChunkID = CEffectProcess::kControlsChunkID;
  other.Write(buffer.Chunk()->Data());
  EXPECT_EQ(process.SetChunk(CEffectProcess::kControlsChunkID, buffer.Chunk()), 0);
  auto* gain = dynamic_cast<CPluginControl_Continuous*>(process.GetControl(1));
  EXPECT_NEAR(gain->GetContinuousValue(), 0.75, 1e-6);
  EXPECT_EQ(dynamic_cast<CPluginControl_Discrete*>(process.GetControl(2))->GetIntValue(), 7);
  EXPECT_EQ(dynamic_cast<CPluginControl_Discrete*>(process.GetControl(3))->GetIntValue(), 9);

  // A corrupt chunk (wrong marker, or a value that is no number) changes nothing.
  ChunkDataParser bad;
  bad.AddDoubleRecord("gain", std::nan(""));
  ChunkBuffer nan(56 + bad.GetDataSize());
  nan.Chunk()->mSize = 56 + bad.GetDataSize();
  bad.Write(nan.Chunk()->Data());
  EXPECT_EQ(process.SetChunk(CEffectProcess::kControlsChunkID, nan.Chunk()), 0);
  EXPECT_NEAR(gain->GetContinuousValue(), 0.75, 1e-6);
  buffer.Chunk()->Data()[3] = 2;
  dynamic_cast<CPluginControl_Discrete*>(process.GetControl(2))->SetValue(
      dynamic_cast<CPluginControl_Discrete*>(process.GetControl(2))->IntToValue(1));
  EXPECT_EQ(process.SetChunk(CEffectProcess::kControlsChunkID, buffer.Chunk()), 0);
  EXPECT_EQ(dynamic_cast<CPluginControl_Discrete*>(process.GetControl(2))->GetIntValue(), 1);
}

TEST_F(EffectProcessTest, ComparingGoesByDisplayedTextAndMappedValues) {
  auto* gain = Linear("gain", 0.5);
  auto* mode = new CPluginControl_Discrete(FourCC("mode"), "Mode", 0, 10, 3, true);
  process.mPending = {gain, mode};
  Init();
  int32_t size = 0;
  Write(&size);
  SFicPlugInChunk* chunk = buffer.Chunk();
  chunk->mChunkID = CEffectProcess::kControlsChunkID;
  uint8_t equal = 9;
  EXPECT_EQ(process.CompareChunk(chunk, &equal), 0);
  EXPECT_EQ(equal, 1);

  // A value that displays the same text compares equal; another does not.
  char before[64] = {}, after[64] = {};
  gain->ConvertValueToString(before, 63, gain->GetValue());
  gain->SetValue(gain->GetValue() + 1);
  gain->ConvertValueToString(after, 63, gain->GetValue());
  ASSERT_STREQ(before, after);
  EXPECT_EQ(process.CompareChunk(chunk, &equal), 0);
  EXPECT_EQ(equal, 1);
  mode->SetValue(mode->IntToValue(4));
  EXPECT_EQ(process.CompareChunk(chunk, &equal), 0);
  EXPECT_EQ(equal, 0);

  // Another chunk id is not this layer's: equal.
  chunk->mChunkID = FourCC("KB30");
  EXPECT_EQ(process.CompareChunk(chunk, &equal), 0);
  EXPECT_EQ(equal, 1);
}

TEST_F(EffectProcessTest, TheRegistryNamesAndSizesItsChunks) {
  process.mPending = {Linear("gain", 0.5)};
  Init();
  int32_t count = 0;
  EXPECT_EQ(process.CountChunks(&count), 0);
  EXPECT_EQ(count, 1);
  uint32_t id = 0;
  EXPECT_EQ(process.GetChunkIdAt(1, &id), 0);
  EXPECT_EQ(id, CEffectProcess::kControlsChunkID);
  uint8_t name[256] = {3, 'o', 'l', 'd'};
  EXPECT_EQ(process.GetChunkName(CEffectProcess::kControlsChunkID, name), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name) + 1, name[0]), "Complete Controls State");
  uint8_t untouched[256] = {3, 'o', 'l', 'd'};
  EXPECT_EQ(process.GetChunkName(FourCC("none"), untouched), 0);
  EXPECT_EQ(untouched[0], 3);

  int32_t size = 0;
  EXPECT_EQ(process.GetChunkSize(FourCC("none"), &size), -7157);
  process.AddChunk(FourCC("cust"), "Custom", 40);
  EXPECT_TRUE(process.HasCustomChunks());
  EXPECT_EQ(process.GetChunkSize(FourCC("cust"), &size), 0);
  EXPECT_EQ(size, 96);
  EXPECT_EQ(process.GetChunkIdAt(2, &id), 0);
  EXPECT_EQ(id, FourCC("cust"));
}
