#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "plugin/controller/Brimlow.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/plugin/controller/PlugTestSupport.h"
#include "tests/plugin/controller/TempDataHome.h"

namespace {

// The chunk's words, written out here rather than taken from the code
// under test.
constexpr uint32_t kMagic = 0xF0E1D2C3u;
constexpr uint32_t kParamsTag = 0xF0E1D2C4u;
constexpr uint32_t kCaptureTag = 0xF0E1D2C5u;
constexpr uint32_t kReservedTag = 0xF0E1D2C6u;
constexpr int kN = 134;
constexpr int kCaptureBytes = 8 + 16 * kN;  // 2152

using Bytes = std::vector<uint8_t>;

void PutU32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutF64(Bytes& b, double d) {
  uint64_t bits = 0;
  std::memcpy(&bits, &d, 8);
  for (int i = 0; i < 8; ++i) b.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}
uint32_t U32At(const ChunkBuffer& c, int pos) {
  const uint8_t* p = c.GetData() + pos;
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
double F64At(const ChunkBuffer& c, int pos) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(c.GetData()[pos + i]) << (8 * i);
  double d = 0.0;
  std::memcpy(&d, &bits, 8);
  return d;
}
ChunkBuffer ToChunk(const Bytes& b) {
  ChunkBuffer c;
  if (!b.empty()) c.PutBytes(b.data(), static_cast<int>(b.size()));
  return c;
}
Bytes ToBytes(const ChunkBuffer& c) { return Bytes(c.GetData(), c.GetData() + c.Size()); }

// A reference whose magnitude is a straight line in frequency, so the grid
// value at any frequency inside it is known in closed form.
struct Points {
  std::vector<double> f = std::vector<double>(kN);
  std::vector<double> m = std::vector<double>(kN);
  double offset = 0.0;
  static constexpr double kSlope = 1e-4;
  double At(double hz) const { return offset + kSlope * hz; }
};
Points MakePoints(double offset) {
  Points p;
  p.offset = offset;
  for (int i = 0; i < kN; ++i) {
    p.f[i] = 10.0 * std::pow(2205.0, i / (kN - 1.0));
    p.m[i] = p.At(p.f[i]);
  }
  return p;
}
bool HoldsPoints(const Brimlow& plug, const Points& p) {
  for (int i = 0; i < kN; ++i) {
    if (plug.Reference().GetFrequencies()[i] != p.f[i] || plug.Reference().GetMagnitudes()[i] != p.m[i]) return false;
  }
  return true;
}

std::vector<double> Values(const Brimlow& plug) {
  std::vector<double> v;
  for (int i = 0; i < plug.NParams(); ++i) v.push_back(plug.GetParam(i)->Value());
  return v;
}
// Every parameter at one end of its range, never at its default.
void SetAwayFromDefaults(Brimlow& plug, bool high) {
  for (int i = 0; i < plug.NParams(); ++i) {
    IParam* p = plug.GetParam(i);
    double v = high ? p->GetMax() : p->GetMin();
    if (v == p->GetDefault()) v = high ? p->GetMin() : p->GetMax();
    p->Set(v);
  }
}

Bytes ParamsPayload(Brimlow& plug) {
  ChunkBuffer c;
  EXPECT_TRUE(plug.SerializeParams(&c));
  return ToBytes(c);
}

// The sections of a hand-laid chunk; each edit below changes one thing.
struct Parts {
  uint32_t magic = kMagic;
  uint32_t version = 4;
  uint32_t paramsTag = kParamsTag;
  Bytes params;
  int64_t paramsLength = -1;  // -1: the payload's size
  bool hasCapture = true;
  Bytes capture;
  int64_t captureLength = -1;
  bool hasReserved = true;
  Bytes reserved;
  int64_t reservedLength = -1;
  Bytes trailing;
};

Bytes CapturePayload(const Points& p, uint32_t format = 1, int count = kN) {
  Bytes b;
  PutU32(b, format);
  PutU32(b, static_cast<uint32_t>(count));
  for (int i = 0; i < count; ++i) PutF64(b, p.f[i % kN]);
  for (int i = 0; i < count; ++i) PutF64(b, p.m[i % kN]);
  return b;
}

Parts MakeParts(const Bytes& params, const Points* capture) {
  Parts parts;
  parts.params = params;
  if (capture) parts.capture = CapturePayload(*capture);
  return parts;
}

Bytes Assemble(const Parts& p) {
  const auto length = [](int64_t given, const Bytes& b) {
    return static_cast<uint32_t>(given < 0 ? static_cast<int64_t>(b.size()) : given);
  };
  Bytes b;
  PutU32(b, p.magic);
  PutU32(b, p.version);
  PutU32(b, p.paramsTag);
  PutU32(b, length(p.paramsLength, p.params));
  b.insert(b.end(), p.params.begin(), p.params.end());
  if (p.hasCapture) {
    PutU32(b, kCaptureTag);
    PutU32(b, length(p.captureLength, p.capture));
    b.insert(b.end(), p.capture.begin(), p.capture.end());
  }
  if (p.hasReserved) {
    PutU32(b, kReservedTag);
    PutU32(b, length(p.reservedLength, p.reserved));
    b.insert(b.end(), p.reserved.begin(), p.reserved.end());
  }
  b.insert(b.end(), p.trailing.begin(), p.trailing.end());
  return b;
}

// What a read restores: nothing, the parameters alone, or everything.
enum class Outcome { kNotAState, kFailure, kParamsOnly, kEverything };

class BrimlowState : public TempDataHomeTest {
 protected:
  // A target holding the defaults and reference `mOld`, and the chunk of a
  // source whose every parameter differs from them, with reference `mNew`.
  void SetUp() override {
    TempDataHomeTest::SetUp();
    mTarget.reset(MakePlug());
    ASSERT_GT(mTarget->UnserializeStateAll(Chunk(MakeParts(ParamsPayload(*mTarget), &mOld)), 0), 0);
    ASSERT_TRUE(HoldsPoints(*mTarget, mOld));
    mTargetValues = Values(*mTarget);

    std::unique_ptr<Brimlow> source(MakePlug());
    SetAwayFromDefaults(*source, true);
    mSourceValues = Values(*source);
    mSourceParams = ParamsPayload(*source);
  }

  const ChunkBuffer* Chunk(const Parts& parts) {
    mChunk = ToChunk(Assemble(parts));
    return &mChunk;
  }

  void ExpectUnchanged() {
    EXPECT_EQ(Values(*mTarget), mTargetValues);
    EXPECT_TRUE(HoldsPoints(*mTarget, mOld));
  }

  // What a read of the source's chunk must leave; end is where a read that
  // takes anything must stop.
  void ExpectOutcome(Outcome outcome, int result, int end) {
    switch (outcome) {
      case Outcome::kNotAState:
        EXPECT_EQ(result, 0);
        ExpectUnchanged();
        break;
      case Outcome::kFailure:
        EXPECT_EQ(result, -1);
        ExpectUnchanged();
        break;
      case Outcome::kParamsOnly:
      case Outcome::kEverything:
        EXPECT_EQ(result, end);
        EXPECT_EQ(Values(*mTarget), mSourceValues);
        EXPECT_TRUE(HoldsPoints(*mTarget, outcome == Outcome::kEverything ? mNew : mOld));
        break;
    }
  }

  std::unique_ptr<Brimlow> mTarget;
  std::vector<double> mTargetValues;
  std::vector<double> mSourceValues;
  Bytes mSourceParams;
  Points mOld = MakePoints(1.0);
  Points mNew = MakePoints(2.0);
  ChunkBuffer mChunk;
};

TEST_F(BrimlowState, FreshInstanceWritesTheDocumentedLayout) {
  const Bytes payload = ParamsPayload(*mTarget);
  std::unique_ptr<Brimlow> fresh(MakePlug());
  ChunkBuffer chunk;
  ASSERT_TRUE(fresh->SerializeState(&chunk));

  const int l1 = static_cast<int>(payload.size());
  ASSERT_EQ(chunk.Size(), 16 + l1 + 8 + kCaptureBytes + 8);
  EXPECT_EQ(U32At(chunk, 0), kMagic);
  EXPECT_EQ(U32At(chunk, 4), 4u);
  EXPECT_EQ(U32At(chunk, 8), kParamsTag);
  EXPECT_EQ(U32At(chunk, 12), static_cast<uint32_t>(l1));
  // The framework's own payload, byte for byte (both instances at defaults).
  EXPECT_EQ(Bytes(chunk.GetData() + 16, chunk.GetData() + 16 + l1), payload);
  int pos = 16 + l1;
  EXPECT_EQ(U32At(chunk, pos), kCaptureTag);
  EXPECT_EQ(U32At(chunk, pos + 4), static_cast<uint32_t>(kCaptureBytes));
  EXPECT_EQ(U32At(chunk, pos + 8), 1u);
  EXPECT_EQ(U32At(chunk, pos + 12), static_cast<uint32_t>(kN));
  for (int i = 0; i < 2 * kN; ++i) ASSERT_EQ(F64At(chunk, pos + 16 + 8 * i), 0.0) << i;
  pos += 8 + kCaptureBytes;
  EXPECT_EQ(U32At(chunk, pos), kReservedTag);
  EXPECT_EQ(U32At(chunk, pos + 4), 0u);

  // Appended after what the buffer held already.
  ChunkBuffer prefixed;
  prefixed.Put(uint32_t{7});
  ASSERT_TRUE(fresh->SerializeState(&prefixed));
  EXPECT_EQ(U32At(prefixed, 4), kMagic);
  EXPECT_EQ(prefixed.Size(), 4 + chunk.Size());
}

TEST_F(BrimlowState, SavedStateBringsEveryParameterAndTheReferenceBack) {
  std::unique_ptr<Brimlow> source(MakePlug());
  source->SetSampleRate(48000.0);
  source->Reset();
  ASSERT_GT(source->UnserializeStateAll(Chunk(MakeParts(mSourceParams, &mNew)), 0), 0);
  ChunkBuffer saved;
  ASSERT_TRUE(source->SerializeState(&saved));
  // The capture section holds the reference it was given.
  const int capturePos = 16 + static_cast<int>(U32At(saved, 12)) + 8;
  EXPECT_EQ(F64At(saved, capturePos + 8), mNew.f[0]);
  EXPECT_EQ(F64At(saved, capturePos + 8 + 8 * kN + 8 * (kN - 1)), mNew.m[kN - 1]);

  // The same instance after a change, and another instance, as a host
  // reopening the project has.
  SetAwayFromDefaults(*source, false);
  EXPECT_EQ(source->UnserializeStateAll(&saved, 0), saved.Size());
  EXPECT_EQ(Values(*source), mSourceValues);
  EXPECT_EQ(mTarget->UnserializeStateAll(&saved, 0), saved.Size());
  EXPECT_EQ(Values(*mTarget), mSourceValues);
  EXPECT_TRUE(HoldsPoints(*mTarget, mNew));
}

// The editor's copy of the last mouse event belongs to whatever the user
// clicked last, not to a restore: what a state holds comes back as it was
// saved, the curve switches and several soloed bands (the band menu solos
// one band without touching the others) included.
struct LastClickCase {
  const char* name;
  IMouseMod mod;
};

void PrintTo(const LastClickCase& c, std::ostream* os) { *os << c.name; }

class BrimlowStateAfterAClick : public BrimlowState, public ::testing::WithParamInterface<LastClickCase> {};

TEST_P(BrimlowStateAfterAClick, RestoreBringsBackEveryValueAndItsMirror) {
  std::unique_ptr<Brimlow> source(MakePlug());
  const struct {
    int idx;
    double value;
  } saved[] = {{BandParamIndex(1, kBandActive), 1},  {BandParamIndex(1, kBandChMode), 1},
               {BandParamIndex(4, kBandActive), 1},  {BandParamIndex(4, kBandChMode), 4},
               {BandParamIndex(2, kBandSolo), 1},    {BandParamIndex(9, kBandSolo), 1},
               {kParamShowCurveAll, 1},              {kParamShowCurveLeft, 0},
               {kParamShowCurveRight, 1},            {kParamShowCurveMid, 1},
               {kParamShowCurveSide, 0},             {kParamShowOnlySelectedCurve, 1}};
  for (const auto& s : saved) source->GetParam(s.idx)->Set(s.value);
  const std::vector<double> expected = Values(*source);
  const ChunkBuffer* chunk = Chunk(MakeParts(ParamsPayload(*source), &mNew));

  // The target has one of the saved bands soloed alone, so the first saved
  // solo would switch it off through its control, and the user's last click
  // had the given modifiers.
  plugtest::SetFromHost(*mTarget, BandParamIndex(9, kBandSolo), 1);
  mTarget->GetGUI()->mLastMouseMod = GetParam().mod;
  ASSERT_EQ(mTarget->UnserializeStateAll(chunk, 0), chunk->Size());

  EXPECT_EQ(Values(*mTarget), expected);
  const ParamMirrors& m = mTarget->Mirrors();
  for (int c = 0; c < 5; ++c) EXPECT_EQ(m.showCurve[c], expected[kParamShowCurveAll + c]) << "curve " << c;
  for (int b = 0; b < kNumBands; ++b) EXPECT_EQ(m.bandSolo[b], expected[BandParamIndex(b, kBandSolo)]) << "band " << b;
  EXPECT_EQ(m.showOnlySelectedCurve, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Modifiers, BrimlowStateAfterAClick,
    ::testing::Values(LastClickCase{"NoClick", IMouseMod()}, LastClickCase{"Click", IMouseMod(true)},
                      LastClickCase{"ShiftClick", IMouseMod(true, false, true)},
                      LastClickCase{"Wheel", IMouseMod(false, false, false, false, false, true)}),
    [](const ::testing::TestParamInfo<LastClickCase>& info) { return std::string(info.param.name); });

TEST_F(BrimlowState, RestoreInAFirModeSoundsAsTheChangesMadeOneByOne) {
  // The restore builds its impulse once, at the end; the result must be the
  // one a change-by-change session ends with.
  std::unique_ptr<Brimlow> stepped(MakePlug());
  const struct {
    const char* name;
    double value;
  } changes[] = {{"Filter Mode", 4},   {"Active 2", 1}, {"Gain 2", 9.0},  {"Freq 2", 700.0},
                 {"Type 5", 2},        {"Active 5", 1}, {"Freq 5", 6000.0}, {"Slope 5", 3},
                 {"Active 9", 1},      {"Gain 9", -6.5}, {"Q 9", 3.0},     {"ChMode 9", 3}};
  for (const auto& c : changes) {
    int idx = -1;
    for (int i = 0; i < stepped->NParams(); ++i)
      if (std::strcmp(stepped->GetParam(i)->GetNameForHost(), c.name) == 0) idx = i;
    ASSERT_GE(idx, 0) << c.name;
    plugtest::SetFromHost(*stepped, idx, c.value);
  }
  ChunkBuffer state;
  ASSERT_TRUE(stepped->SerializeState(&state));
  ASSERT_GT(mTarget->UnserializeStateAll(&state, 0), 0);
  ASSERT_GT(mTarget->GetEngine().GetTotalLatency(), 0);
  EXPECT_EQ(mTarget->GetEngine().GetTotalLatency(), stepped->GetEngine().GetTotalLatency());

  std::vector<double> left(6000), right(6000);
  unsigned seed = 7;
  for (size_t i = 0; i < left.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    left[i] = static_cast<double>(seed >> 8) / 16777216.0 - 0.5;
    right[i] = 0.5 * left[(i * 7) % left.size()];
  }
  const auto a = plugtest::Process(*stepped, left, right);
  const auto b = plugtest::Process(*mTarget, left, right);
  for (int c = 0; c < 2; ++c) {
    for (size_t i = 0; i < left.size(); ++i) ASSERT_NEAR(a[c][i], b[c][i], 1e-12) << c << " " << i;
  }
}

TEST_F(BrimlowState, RestoredReferenceIsLaidOnTheGridAtHalfTheHostRate) {
  for (double rate : {44100.0, 96000.0}) {
    std::unique_ptr<Brimlow> plug(MakePlug());
    plug->SetSampleRate(rate);
    plug->Reset();
    ASSERT_GT(plug->UnserializeStateAll(Chunk(MakeParts(ParamsPayload(*plug), &mNew)), 0), 0);
    const int m = plug->ReferenceGridCount();
    ASSERT_GT(m, 1);
    for (int i = 0; i < m; ++i) {
      // Bin i stands for i * (rate / 2) / (m - 1) Hz, held to 10 .. 20000 Hz,
      // which the reference spans: the straight line gives the value.
      const double hz = std::clamp(i * (rate * 0.5 / (m - 1)), 10.0, 20000.0);
      ASSERT_NEAR(plug->ReferenceGrid()[i], mNew.At(hz), 1e-9) << rate << " bin " << i;
    }
  }
}

TEST_F(BrimlowState, EmptyCaptureSectionRestoresTheParametersAndKeepsTheReference) {
  const Bytes bytes = Assemble(MakeParts(mSourceParams, nullptr));
  const ChunkBuffer chunk = ToChunk(bytes);
  EXPECT_EQ(mTarget->UnserializeStateAll(&chunk, 0), chunk.Size());
  EXPECT_EQ(Values(*mTarget), mSourceValues);
  EXPECT_TRUE(HoldsPoints(*mTarget, mOld));
}

TEST_F(BrimlowState, PresetChunkRestoresWithoutTouchingTheReference) {
  // A preset record: the parameter section and an empty capture section.
  const IPreset* preset = mTarget->GetPreset(3);
  ASSERT_NE(preset, nullptr);
  const ChunkBuffer& chunk = preset->mChunk;
  ASSERT_GT(chunk.Size(), 24);
  EXPECT_EQ(U32At(chunk, 0), kMagic);
  EXPECT_EQ(U32At(chunk, 8), kParamsTag);
  EXPECT_EQ(U32At(chunk, 12), static_cast<uint32_t>(chunk.Size() - 24));
  EXPECT_EQ(U32At(chunk, chunk.Size() - 8), kCaptureTag);
  EXPECT_EQ(U32At(chunk, chunk.Size() - 4), 0u);

  EXPECT_EQ(mTarget->UnserializeStateAll(&chunk, 0), chunk.Size());
  EXPECT_EQ(mTarget->GetParam(BandParamIndex(0, kBandGain))->Value(), -18.0);  // "Master:Telephone"
  EXPECT_TRUE(HoldsPoints(*mTarget, mOld));
}

TEST_F(BrimlowState, FlaggedOnlyRestoreSetsThePresetParametersAlone) {
  const ChunkBuffer* chunk = Chunk(MakeParts(mSourceParams, &mNew));
  EXPECT_EQ(mTarget->UnserializeState(chunk, 0, true), chunk->Size());
  for (int i = 0; i < mTarget->NParams(); ++i) {
    const double expected = mTarget->GetParam(i)->IsFlagged() ? mSourceValues[i] : mTargetValues[i];
    EXPECT_EQ(mTarget->GetParam(i)->Value(), expected) << i;
  }
}

TEST_F(BrimlowState, ChunkInsideALargerBufferIsReadFromItsStart) {
  Bytes bytes = {0xAA, 0xBB, 0xCC};
  const Bytes state = Assemble(MakeParts(mSourceParams, &mNew));
  bytes.insert(bytes.end(), state.begin(), state.end());
  bytes.insert(bytes.end(), {1, 2, 3, 4, 5});  // the host's own data after it
  const ChunkBuffer chunk = ToChunk(bytes);
  EXPECT_EQ(mTarget->UnserializeStateAll(&chunk, 3), 3 + static_cast<int>(state.size()));
  EXPECT_EQ(Values(*mTarget), mSourceValues);
  EXPECT_TRUE(HoldsPoints(*mTarget, mNew));
}

// ---- Truncations ------------------------------------------------------------

// Where a cut or an expected position lies: the chunk's start, the end of
// the parameter section, the end of the capture section, or the chunk's end.
enum class Anchor { kStart, kParamsEnd, kCaptureEnd, kEnd };

struct TruncationCase {
  const char* name;
  Anchor anchor;
  int delta;
  Outcome outcome;
};

void PrintTo(const TruncationCase& c, std::ostream* os) { *os << c.name; }

class BrimlowStateTruncation : public BrimlowState, public ::testing::WithParamInterface<TruncationCase> {};

TEST_P(BrimlowStateTruncation, GivesFailureOrTheStartAndNeverAHalfRestore) {
  const TruncationCase& c = GetParam();
  Bytes bytes = Assemble(MakeParts(mSourceParams, &mNew));
  const int paramsEnd = 16 + static_cast<int>(mSourceParams.size());
  const int anchors[] = {0, paramsEnd, paramsEnd + 8 + kCaptureBytes, static_cast<int>(bytes.size())};
  const int cut = anchors[static_cast<int>(c.anchor)] + c.delta;
  ASSERT_LE(cut, static_cast<int>(bytes.size()));
  bytes.resize(static_cast<size_t>(cut));
  const ChunkBuffer chunk = ToChunk(bytes);

  const int result = mTarget->UnserializeStateAll(&chunk, 0);
  ExpectOutcome(c.outcome, result, c.outcome == Outcome::kParamsOnly ? paramsEnd : cut);
}

INSTANTIATE_TEST_SUITE_P(
    FieldBoundaries, BrimlowStateTruncation,
    ::testing::Values(TruncationCase{"Empty", Anchor::kStart, 0, Outcome::kNotAState},
                      TruncationCase{"ShortOfTheMagic", Anchor::kStart, 3, Outcome::kNotAState},
                      TruncationCase{"NoVersion", Anchor::kStart, 4, Outcome::kFailure},
                      TruncationCase{"NoFirstTag", Anchor::kStart, 8, Outcome::kFailure},
                      TruncationCase{"NoParamsLength", Anchor::kStart, 12, Outcome::kFailure},
                      TruncationCase{"NoParams", Anchor::kStart, 16, Outcome::kFailure},
                      TruncationCase{"InsideTheXMLLength", Anchor::kStart, 18, Outcome::kFailure},
                      TruncationCase{"InsideTheParams", Anchor::kParamsEnd, -1, Outcome::kFailure},
                      // A chunk may end after its parameters, but not inside the tag that follows them.
                      TruncationCase{"AfterTheParams", Anchor::kParamsEnd, 0, Outcome::kParamsOnly},
                      TruncationCase{"OneByteOfTheCaptureTag", Anchor::kParamsEnd, 1, Outcome::kFailure},
                      TruncationCase{"ShortOfTheCaptureTag", Anchor::kParamsEnd, 2, Outcome::kFailure},
                      TruncationCase{"ThreeBytesOfTheCaptureTag", Anchor::kParamsEnd, 3, Outcome::kFailure},
                      TruncationCase{"NoCaptureLength", Anchor::kParamsEnd, 4, Outcome::kFailure},
                      TruncationCase{"NoCapture", Anchor::kParamsEnd, 8, Outcome::kFailure},
                      TruncationCase{"NoPointCount", Anchor::kParamsEnd, 12, Outcome::kFailure},
                      TruncationCase{"NoFrequencies", Anchor::kParamsEnd, 16, Outcome::kFailure},
                      TruncationCase{"HalfTheFrequencies", Anchor::kParamsEnd, 16 + 8 * 67, Outcome::kFailure},
                      TruncationCase{"NoMagnitudes", Anchor::kParamsEnd, 16 + 8 * kN, Outcome::kFailure},
                      TruncationCase{"LastMagnitudeCut", Anchor::kCaptureEnd, -1, Outcome::kFailure},
                      TruncationCase{"AfterTheCapture", Anchor::kCaptureEnd, 0, Outcome::kEverything},
                      TruncationCase{"OneByteOfTheReservedTag", Anchor::kCaptureEnd, 1, Outcome::kFailure},
                      TruncationCase{"ShortOfTheReservedTag", Anchor::kCaptureEnd, 2, Outcome::kFailure},
                      TruncationCase{"ThreeBytesOfTheReservedTag", Anchor::kCaptureEnd, 3, Outcome::kFailure},
                      TruncationCase{"NoReservedLength", Anchor::kCaptureEnd, 4, Outcome::kFailure},
                      TruncationCase{"Whole", Anchor::kEnd, 0, Outcome::kEverything}),
    [](const ::testing::TestParamInfo<TruncationCase>& info) { return std::string(info.param.name); });

// ---- Damaged and unusual chunks -------------------------------------------

void ReplaceOnce(Bytes& bytes, const std::string& from, const std::string& to) {
  ASSERT_EQ(from.size(), to.size());
  const auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
  ASSERT_NE(at, bytes.end()) << from;
  std::copy(to.begin(), to.end(), at);
}

struct ContentCase {
  const char* name;
  void (*edit)(Parts& parts, const Points& capture);
  Outcome outcome;
  int returnsFromEnd;  // kEverything and kParamsOnly: the result is the chunk's size minus this
};

void PrintTo(const ContentCase& c, std::ostream* os) { *os << c.name; }

class BrimlowStateContent : public BrimlowState, public ::testing::WithParamInterface<ContentCase> {};

TEST_P(BrimlowStateContent, RestoresWhatIsSoundAndRefusesTheRest) {
  const ContentCase& c = GetParam();
  Parts parts = MakeParts(mSourceParams, &mNew);
  c.edit(parts, mNew);
  const ChunkBuffer* chunk = Chunk(parts);
  const int result = mTarget->UnserializeStateAll(chunk, 0);
  ExpectOutcome(c.outcome, result, chunk->Size() - c.returnsFromEnd);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Chunks, BrimlowStateContent,
    ::testing::Values(
        ContentCase{"OtherMagic", [](Parts& p, const Points&) { p.magic = 0xC3D2E1F0u; }, Outcome::kNotAState, 0},
        ContentCase{"OlderVersion", [](Parts& p, const Points&) { p.version = 3; }, Outcome::kFailure, 0},
        ContentCase{"NewerVersion", [](Parts& p, const Points&) { p.version = 5; }, Outcome::kFailure, 0},
        ContentCase{"CaptureTagFirst", [](Parts& p, const Points&) { p.paramsTag = kCaptureTag; }, Outcome::kFailure,
                    0},
        ContentCase{"ParamsLengthPastTheEnd", [](Parts& p, const Points&) { p.paramsLength = 0x7FFFFFF0; },
                    Outcome::kFailure, 0},
        // The payload's own length runs past its section into the capture.
        ContentCase{"PayloadLongerThanItsSection",
                    [](Parts& p, const Points&) { p.paramsLength = static_cast<int64_t>(p.params.size()) - 16; },
                    Outcome::kFailure, 0},
        // Sections are found by their lengths: room after the payload is skipped.
        ContentCase{"RoomAfterThePayload",
                    [](Parts& p, const Points&) { p.params.insert(p.params.end(), 16, uint8_t{0}); },
                    Outcome::kEverything, 0},
        ContentCase{"OtherProduct",
                    [](Parts& p, const Points&) {
                      ReplaceOnce(p.params, "<PluginName>Brimlow<", "<PluginName>Brimlox<");
                    },
                    Outcome::kFailure, 0},
        ContentCase{"StrayElementAmongTheParams",
                    [](Parts& p, const Points&) { ReplaceOnce(p.params, "<Param ", "<Parax "); }, Outcome::kFailure,
                    0},
        ContentCase{"OtherPointCount",
                    [](Parts& p, const Points& c) { p.capture = CapturePayload(c, 1, kN - 1); }, Outcome::kParamsOnly,
                    0},
        ContentCase{"LargerPointCount",
                    [](Parts& p, const Points& c) { p.capture = CapturePayload(c, 1, kN + 1); }, Outcome::kParamsOnly,
                    0},
        ContentCase{"OtherCaptureFormat", [](Parts& p, const Points& c) { p.capture = CapturePayload(c, 2); },
                    Outcome::kParamsOnly, 0},
        ContentCase{"CaptureSectionOfOneWord",
                    [](Parts& p, const Points&) {
                      p.capture.clear();
                      PutU32(p.capture, 7);
                    },
                    Outcome::kParamsOnly, 0},
        ContentCase{"NaNMagnitude",
                    [](Parts& p, const Points& c) {
                      Points bad = c;
                      bad.m[40] = kNaN;
                      p.capture = CapturePayload(bad);
                    },
                    Outcome::kParamsOnly, 0},
        ContentCase{"InfiniteFrequency",
                    [](Parts& p, const Points& c) {
                      Points bad = c;
                      bad.f[kN - 1] = kInf;
                      p.capture = CapturePayload(bad);
                    },
                    Outcome::kParamsOnly, 0},
        ContentCase{"CaptureLengthShortOfItsPoints",
                    [](Parts& p, const Points&) { p.captureLength = kCaptureBytes - 8; }, Outcome::kFailure, 0},
        ContentCase{"CaptureLengthPastTheEnd", [](Parts& p, const Points&) { p.captureLength = kCaptureBytes + 64; },
                    Outcome::kFailure, 0},
        ContentCase{"ReservedPayloadIsSkipped",
                    [](Parts& p, const Points&) { p.reserved = Bytes(12, uint8_t{0x5A}); }, Outcome::kEverything, 0},
        ContentCase{"ReservedLengthPastTheEnd", [](Parts& p, const Points&) { p.reservedLength = 12; },
                    Outcome::kFailure, 0},
        ContentCase{"NoReservedSection", [](Parts& p, const Points&) { p.hasReserved = false; },
                    Outcome::kEverything, 0},
        // The host's data after the chunk is left for the host.
        ContentCase{"HostDataAfterTheCapture",
                    [](Parts& p, const Points&) {
                      p.hasReserved = false;
                      PutU32(p.trailing, 0x12345678u);
                      PutU32(p.trailing, 0);
                    },
                    Outcome::kEverything, 8},
        // Bytes too few for a word that do not begin a tag are the host's too.
        ContentCase{"ShortHostDataAfterTheParams",
                    [](Parts& p, const Points&) {
                      p.hasCapture = p.hasReserved = false;
                      p.trailing = {0x12, 0x34};
                    },
                    Outcome::kParamsOnly, 2},
        ContentCase{"ShortHostDataAfterTheCapture",
                    [](Parts& p, const Points&) {
                      p.hasReserved = false;
                      p.trailing = {0x12, 0x34, 0x56};
                    },
                    Outcome::kEverything, 3}),
    [](const ::testing::TestParamInfo<ContentCase>& info) { return std::string(info.param.name); });

TEST_F(BrimlowState, EmptyParameterSectionRestoresNothing) {
  Parts parts = MakeParts({}, &mNew);
  const ChunkBuffer* chunk = Chunk(parts);
  EXPECT_EQ(mTarget->UnserializeStateAll(chunk, 0), 16);
  ExpectUnchanged();
}

TEST_F(BrimlowState, NothingToReadReturnsTheStart) {
  EXPECT_EQ(mTarget->UnserializeStateAll(nullptr, 0), 0);
  const ChunkBuffer state = ToChunk(Assemble(MakeParts(mSourceParams, &mNew)));
  // A start at or past the end reads nothing.
  EXPECT_EQ(mTarget->UnserializeStateAll(&state, state.Size()), state.Size());
  EXPECT_EQ(mTarget->UnserializeStateAll(&state, state.Size() - 2), state.Size() - 2);
  ExpectUnchanged();
}

TEST_F(BrimlowState, ReadersNeverSeeAHalfReplacedReference) {
  // The display reads the reference under the plug mutex while states
  // with two different references are restored on another thread.
  const ChunkBuffer first = ToChunk(Assemble(MakeParts(ParamsPayload(*mTarget), &mNew)));
  const ChunkBuffer second = ToChunk(Assemble(MakeParts(ParamsPayload(*mTarget), &mOld)));
  std::atomic<bool> done{false};
  std::thread restorer([&] {
    for (int i = 0; i < 200; ++i) mTarget->UnserializeStateAll(i % 2 ? &first : &second, 0);
    done = true;
  });
  int mixed = 0;
  do {
    WDL_MutexLock lock(mTarget->GetMutex());
    const bool isNew = HoldsPoints(*mTarget, mNew);
    const bool isOld = HoldsPoints(*mTarget, mOld);
    if (!isNew && !isOld) ++mixed;
    // The grid always belongs to the reference it lies beside.
    const double expected = (isNew ? mNew : mOld).At(std::clamp(
        100 * (mTarget->DspSampleRate() * 0.5 / (mTarget->ReferenceGridCount() - 1)), 10.0, 20000.0));
    if (std::fabs(mTarget->ReferenceGrid()[100] - expected) > 1e-9) ++mixed;
  } while (!done);
  restorer.join();
  EXPECT_EQ(mixed, 0);
}

}  // namespace
