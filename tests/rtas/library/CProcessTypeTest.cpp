#include "rtas/library/CProcessType.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "GroupSlotProbe.h"
#include "ProcessTestSupport.h"
#include "platform/carboncore/Resources.h"
#include "platform/corefoundation/CFBundleStandIn.h"
#include "rtas/library/CProcess.h"
#include "rtas/library/PString.h"
#include "tests/ScratchFolder.h"

namespace {

// The host library's type-to-process pairs, as runs: type slots first to
// last go to process slots from `process` on.
struct Run {
  int first, last, process;
};
const Run kForwardingRuns[] = {
    {5, 7, 5},      {9, 9, 3},      {10, 12, 8},    {19, 20, 91},   {24, 24, 13},   {28, 28, 149},
    {30, 31, 27},   {33, 39, 29},   {40, 40, 22},   {41, 41, 24},   {42, 45, 36},   {46, 47, 43},
    {48, 49, 46},   {50, 50, 52},   {51, 55, 53},   {58, 60, 58},   {62, 62, 61},   {64, 70, 62},
    {71, 71, 69},   {72, 76, 71},   {77, 83, 76},   {84, 85, 84},   {86, 86, 83},   {88, 88, 87},
    {91, 92, 89},   {95, 95, 126},  {96, 104, 93},  {105, 105, 48}, {106, 106, 113}, {107, 107, 116},
    {108, 108, 117}, {109, 109, 114}, {110, 110, 115}, {111, 114, 118}, {115, 115, 110}, {116, 116, 112},
    {117, 117, 124}, {118, 118, 49}, {119, 119, 51}, {126, 126, 129}, {128, 131, 131}, {132, 132, 135},
    {133, 138, 139}, {139, 140, 136}, {141, 144, 145}, {145, 145, 138},
};
// Those that answer 0 for a missing instance, and those that answer 0
// whatever the process said.
const std::set<int> kZeroWhenMissing = {51, 52, 53, 54, 55};
const std::set<int> kAnswerZero = {9, 10, 11, 12, 40, 41};

std::map<int, int> ExpandedRuns() {
  std::map<int, int> pairs;
  for (const Run& run : kForwardingRuns) {
    for (int slot = run.first; slot <= run.last; ++slot) pairs[slot] = run.process + (slot - run.first);
  }
  return pairs;
}

template <class Ret>
Ret AnswerOf(int processSlot) {
  if constexpr (std::is_pointer_v<Ret>) {
    return reinterpret_cast<Ret>(static_cast<uintptr_t>(1000 + processSlot));
  } else {
    return static_cast<Ret>(1000 + processSlot);
  }
}

#define TEST_TAIL_BITS_1
#define TEST_TAIL_BITS_2 BitsOf(a2)
#define TEST_TAIL_BITS_3 BitsOf(a2), BitsOf(a3)
#define TEST_TAIL_BITS_4 BitsOf(a2), BitsOf(a3), BitsOf(a4)
#define TEST_TAIL_BITS_5 BitsOf(a2), BitsOf(a3), BitsOf(a4), BitsOf(a5)
#define TEST_TAIL_BITS_6 BitsOf(a2), BitsOf(a3), BitsOf(a4), BitsOf(a5), BitsOf(a6)

// A process whose every forwarded-to operation notes its slot and
// arguments and answers 1000 + its slot.
class RecordingProcess : public CProcess {
 public:
  struct SCall {
    int slot;
    std::vector<uint64_t> args;
  };
  int32_t GetNumInputs(int16_t* count) override {
    *count = 1;
    return 0;
  }
  int32_t GetNumOutputs(int16_t* count) override {
    *count = 1;
    return 0;
  }
#define TEST_RECORD(typeSlot, processSlot, Ret, TypeName, ProcessName, missing, result, n, types) \
  Ret ProcessName(BRIMLOW_TAIL_PARAMS(n, types)) override {                                       \
    mCalls.push_back({processSlot, {TEST_TAIL_BITS_##n}});                                        \
    return AnswerOf<Ret>(processSlot);                                                             \
  }
  BRIMLOW_TYPE_FORWARDING_SLOTS(TEST_RECORD)
#undef TEST_RECORD

  int32_t SetSampleRate(int32_t rate) override {
    CProcess::SetSampleRate(rate);
    mCalls.push_back({11, {BitsOf(rate)}});
    return mBroadcastAnswer;
  }
  int32_t SetSharedValue(int32_t value) override {
    mCalls.push_back({12, {BitsOf(value)}});
    return mBroadcastAnswer;
  }
  int32_t SetTimeCodeInfo(SFicTimeCodeInfo* info) override {
    CProcess::SetTimeCodeInfo(info);
    mCalls.push_back({14, {BitsOf(info)}});
    return mBroadcastAnswer;
  }
  int32_t HostCall069(uint8_t flag) override {
    mCalls.push_back({86, {BitsOf(flag)}});
    return mBroadcastAnswer;
  }
  int32_t HostCall072(uint8_t flag) override {
    mCalls.push_back({88, {BitsOf(flag)}});
    return mBroadcastAnswer;
  }
  int32_t SetSharedPair(int32_t a, int32_t b) override {
    mCalls.push_back({127, {BitsOf(a), BitsOf(b)}});
    return mBroadcastAnswer;
  }
  void ReleaseProcess() override {
    ++*mReleases;
    CProcess::ReleaseProcess();
  }
  ~RecordingProcess() override { ++*mDeletes; }

  std::vector<SCall> mCalls;
  int32_t mBroadcastAnswer = 0;
  int* mReleases = &mUnusedCount;
  int* mDeletes = &mUnusedCount;

 private:
  int mUnusedCount = 0;
};

// A plain type whose instances the test adds itself.
class PlainType : public CProcessType {
 public:
  int32_t GetTypeInputCount(int32_t, int16_t* count) override {
    *count = 1;
    return 0;
  }
  int32_t GetTypeOutputCount(int32_t, int16_t* count) override {
    *count = 1;
    return 0;
  }
  int32_t QueryTypeFeature(int32_t feature, int32_t* value) override {
    *value = mFeatures.count(feature) ? mFeatures[feature] : 0;
    return mFeatureResult;
  }
  RecordingProcess* AddInstance(int16_t number) {
    auto* process = new RecordingProcess;
    process->SetInstanceNumber(number);
    process->SetProcessType(this);
    AppendProcess(process);
    return process;
  }
  std::map<int32_t, int32_t> mFeatures;
  int32_t mFeatureResult = 0;
};

#define TEST_TAIL_PROBE_1(T1)
#define TEST_TAIL_PROBE_2(T1, T2) , p.Arg<T2>(2)
#define TEST_TAIL_PROBE_3(T1, T2, T3) , p.Arg<T2>(2), p.Arg<T3>(3)
#define TEST_TAIL_PROBE_4(T1, T2, T3, T4) , p.Arg<T2>(2), p.Arg<T3>(3), p.Arg<T4>(4)
#define TEST_TAIL_PROBE_5(T1, T2, T3, T4, T5) , p.Arg<T2>(2), p.Arg<T3>(3), p.Arg<T4>(4), p.Arg<T5>(5)
#define TEST_TAIL_PROBE_6(T1, T2, T3, T4, T5, T6) \
  , p.Arg<T2>(2), p.Arg<T3>(3), p.Arg<T4>(4), p.Arg<T5>(5), p.Arg<T6>(6)
#define TEST_TAIL_PROBE_BITS_1(T1)
#define TEST_TAIL_PROBE_BITS_2(T1, T2) p.ArgBits<T2>(2)
#define TEST_TAIL_PROBE_BITS_3(T1, T2, T3) p.ArgBits<T2>(2), p.ArgBits<T3>(3)
#define TEST_TAIL_PROBE_BITS_4(T1, T2, T3, T4) p.ArgBits<T2>(2), p.ArgBits<T3>(3), p.ArgBits<T4>(4)
#define TEST_TAIL_PROBE_BITS_5(T1, T2, T3, T4, T5) \
  p.ArgBits<T2>(2), p.ArgBits<T3>(3), p.ArgBits<T4>(4), p.ArgBits<T5>(5)
#define TEST_TAIL_PROBE_BITS_6(T1, T2, T3, T4, T5, T6) \
  p.ArgBits<T2>(2), p.ArgBits<T3>(3), p.ArgBits<T4>(4), p.ArgBits<T5>(5), p.ArgBits<T6>(6)

struct SForwardCall {
  std::function<int64_t(CProcessType&, int32_t, GroupSlotProbe&)> call;
  std::function<std::vector<uint64_t>(GroupSlotProbe&)> bits;
};

// One call of every forwarding operation by type slot, with the probe's
// arguments after the instance number.
std::map<int, SForwardCall> ForwardCalls() {
  std::map<int, SForwardCall> calls;
#define TEST_FORWARD_CALL(typeSlot, processSlot, Ret, TypeName, ProcessName, missing, result, n, types)          \
  calls[typeSlot] = SForwardCall{                                                                                 \
      [](CProcessType& t, int32_t instance, [[maybe_unused]] GroupSlotProbe& p) {                                 \
        return ResultOf<Ret>([&] { return t.TypeName(instance BRIMLOW_CAT(TEST_TAIL_PROBE_, n) types); });        \
      },                                                                                                          \
      []([[maybe_unused]] GroupSlotProbe& p) {                                                                    \
        return std::vector<uint64_t>{BRIMLOW_CAT(TEST_TAIL_PROBE_BITS_, n) types};                                \
      }};
  BRIMLOW_TYPE_FORWARDING_SLOTS(TEST_FORWARD_CALL)
#undef TEST_FORWARD_CALL
  return calls;
}

}  // namespace

TEST(ProcessTypeForwarding, TheTableIsTheHostLibrarysPairs) {
  std::map<int, int> table;
  for (size_t i = 0; i < kTypeForwardingSlotCount; ++i) {
    const STypeForwardingSlot& row = kTypeForwardingSlots[i];
    EXPECT_TRUE(table.emplace(row.mTypeSlot, row.mProcessSlot).second) << row.mTypeSlot;
    EXPECT_EQ(row.mMissingAnswer, kZeroWhenMissing.count(row.mTypeSlot) ? 0 : -7126) << row.mTypeSlot;
    EXPECT_EQ(row.mAnswersZero, kAnswerZero.count(row.mTypeSlot) == 1) << row.mTypeSlot;
  }
  EXPECT_EQ(table, ExpandedRuns());
  // A process slot is reached from one type slot only.
  std::set<int> targets;
  for (const auto& [typeSlot, processSlot] : table) EXPECT_TRUE(targets.insert(processSlot).second) << typeSlot;
}

TEST(ProcessTypeForwarding, EveryRowReachesItsInstanceWithItsArgumentsOrAnswersMissing) {
  PlainType type;
  RecordingProcess* first = type.AddInstance(1);
  RecordingProcess* third = type.AddInstance(3);
  const std::map<int, SForwardCall> calls = ForwardCalls();
  for (size_t i = 0; i < kTypeForwardingSlotCount; ++i) {
    const STypeForwardingSlot& row = kTypeForwardingSlots[i];
    SCOPED_TRACE(row.mName);
    const SForwardCall& forward = calls.at(row.mTypeSlot);
    GroupSlotProbe probe;
    third->mCalls.clear();
    const int64_t answer = forward.call(type, 3, probe);
    EXPECT_EQ(answer, row.mAnswersZero ? 0 : 1000 + row.mProcessSlot);
    ASSERT_EQ(third->mCalls.size(), 1u);
    EXPECT_EQ(third->mCalls[0].slot, row.mProcessSlot);
    EXPECT_EQ(third->mCalls[0].args, forward.bits(probe));
    // Numbers that no instance has, and numbers below 1, never reach one.
    for (int32_t missing : {2, 0, -1}) {
      EXPECT_EQ(forward.call(type, missing, probe), row.mMissingAnswer) << missing;
    }
  }
  EXPECT_TRUE(first->mCalls.empty());
  type.ReleaseAllProcesses();
}

TEST(ProcessType, BroadcastsStoreTheValueAndReachEveryInstanceInOrder) {
  PlainType type;
  RecordingProcess* a = type.AddInstance(1);
  RecordingProcess* b = type.AddInstance(2);
  b->mBroadcastAnswer = -5;
  EXPECT_EQ(type.SetSampleRate(96000), -5);
  EXPECT_EQ(type.GetSampleRate(), 96000);
  // An instance made before the change runs at the new rate too.
  EXPECT_EQ(a->GetSampleRate(), 96000);
  EXPECT_EQ(b->GetSampleRate(), 96000);
  a->mBroadcastAnswer = -3;
  EXPECT_EQ(type.SetSharedValue(7), -3);
  EXPECT_EQ(type.GetSharedValue(), 7);
  EXPECT_EQ(type.SetSharedPair(4, 9), -3);
  EXPECT_EQ(type.GetSharedPairValue(), 9);
  SFicTimeCodeInfo info;
  info.mCode = 2;
  info.mValue = 123456;
  EXPECT_EQ(type.SetTimeCodeInfo(&info), -3);
  const int32_t stored = type.GetTimeCodeInfo().mValue;  // a packed field: read, not bound
  EXPECT_EQ(stored, 123456);
  EXPECT_EQ(a->GetTimeCodeValue(), 123456);
  EXPECT_EQ(type.SetTimeCodeInfo(nullptr), 0);
  EXPECT_EQ(type.HostCall069(1), -3);
  EXPECT_EQ(type.HostCall072(0), -3);
  for (RecordingProcess* process : {a, b}) {
    std::vector<int> slots;
    for (const auto& call : process->mCalls) slots.push_back(call.slot);
    EXPECT_EQ(slots, (std::vector<int>{11, 12, 127, 14, 86, 88}));
  }
  type.SetTypeIndex(4);
  EXPECT_EQ(a->GetTypeIndex(), 4);
  EXPECT_EQ(b->GetTypeIndex(), 4);
  int16_t index = 0;
  type.GetTypeIndex(&index);
  EXPECT_EQ(index, 4);
  EXPECT_EQ(type.CountInstances(), 2);
  type.ReleaseAllProcesses();
}

TEST(ProcessType, OwnSlotsAnswerWithoutAnInstance) {
  PlainType type;
  unsigned char text[32];
  EXPECT_EQ(type.GetTypeName(31, reinterpret_cast<char*>(text)), 0);
  EXPECT_EQ(PStringToString(text), "Unnamed");
  EXPECT_EQ(type.GetTypeName(3, reinterpret_cast<char*>(text)), 0);
  EXPECT_EQ(PStringToString(text), "Unn");
  uint32_t id = 0;
  type.GetTypeID(&id);
  EXPECT_EQ(id, FourCC("swCl"));
  uint8_t idText[8];
  type.GetTypeIDPString(idText);
  EXPECT_EQ(std::vector<uint8_t>(idText, idText + 5), (std::vector<uint8_t>{4, 's', 'w', 'C', 'l'}));

  char byte = 1;
  int32_t word = 1;
  EXPECT_EQ(type.HostCall166(1, nullptr, &word), -9013);
  EXPECT_EQ(type.HostCall166(1, &byte, nullptr), -9013);
  EXPECT_EQ(type.HostCall166(1, &byte, &word), 0);
  EXPECT_EQ(byte, 0);
  EXPECT_EQ(word, 0);
  EXPECT_EQ(type.HostCall167(1, nullptr), -9013);
  EXPECT_EQ(type.HostCall133(1, 0, 0, &word), 0);
  EXPECT_EQ(word, 1);

  SFicPlugInStemFormats formats{{1, 2, 3}};
  EXPECT_EQ(type.GetStemFormats(0, &formats), 0);
  EXPECT_EQ(formats.mFormat[2], -100);
  type.mFeatures[29] = 1;
  EXPECT_EQ(type.GetStemFormats(0, &formats), -7110);

  type.mFeatures[21] = 0x30;
  type.mFeatureResult = 4;
  uint32_t category = 0;
  EXPECT_EQ(type.HostCall134(0, &category), 4);
  EXPECT_EQ(category, 0x30u);
  type.SetKindCode(3);
  EXPECT_EQ(type.GetTypeKindCode(&word), 0);
  EXPECT_EQ(word, 3);
  int16_t channels = 0;
  EXPECT_EQ(type.GetInputChannelCount(), 1);
  EXPECT_EQ(type.GetTypeOutputCount(-1, &channels), 0);
}

TEST(ProcessType, ReleasingAllInstancesDeletesThemAndTheList) {
  int releases = 0, deletes = 0;
  PlainType type;
  for (int16_t n = 1; n <= 3; ++n) {
    RecordingProcess* process = type.AddInstance(n);
    process->mReleases = &releases;
    process->mDeletes = &deletes;
  }
  type.ReleaseAllProcesses();
  EXPECT_EQ(releases, 3);
  EXPECT_EQ(deletes, 3);
  EXPECT_FALSE(type.HasInstanceList());
  type.ReleaseAllProcesses();  // finds no list
  EXPECT_EQ(deletes, 3);
  EXPECT_EQ(type.GetProcessByNumber(1), nullptr);
  EXPECT_EQ(type.DeleteProcessInstance(1), -7126);

  PlainType empty;
  empty.ReleaseAllProcesses();
  EXPECT_FALSE(empty.HasInstanceList());
}

TEST(ProcessType, RemovingAnInstanceReleasesAndDeletesItOnce) {
  int releases = 0, deletes = 0;
  PlainType type;
  RecordingProcess* doomed = type.AddInstance(2);
  doomed->mReleases = &releases;
  doomed->mDeletes = &deletes;
  type.AddInstance(5);
  EXPECT_EQ(type.DeleteProcessInstance(3), -7126);
  EXPECT_EQ(type.DeleteProcessInstance(2), 0);
  EXPECT_EQ(releases, 1);
  EXPECT_EQ(deletes, 1);
  EXPECT_EQ(InstanceNumbers(type), (std::vector<int32_t>{5}));
  // A process that never reached the list is released and deleted too.
  auto* stray = new RecordingProcess;
  stray->mDeletes = &deletes;
  type.RemoveProcess(stray);
  EXPECT_EQ(deletes, 2);
  EXPECT_EQ(InstanceNumbers(type), (std::vector<int32_t>{5}));
  type.ReleaseAllProcesses();
}

namespace {

uint32_t gTicks = 100;
uint32_t FakeTicks() { return gTicks; }

// A type whose page tables are made up, each load counted.
class CachingType : public PlainType {
 public:
  std::unique_ptr<PageTable> LoadPageTable(uint32_t tag) override {
    ++mLoads[tag];
    if (mMissing.count(tag)) return nullptr;
    return std::make_unique<PageTable>(4, static_cast<uint8_t>(tag));
  }
  std::map<uint32_t, int> mLoads;
  std::set<uint32_t> mMissing;
};

}  // namespace

TEST(ProcessTypePageTables, EachTagIsLoadedOnceAndTheOldestEntryMakesRoom) {
  CachingType type;
  type.SetTickClock(FakeTicks);
  // The entries were stamped with the system's clock when the type was
  // made; the test's clock runs after it.
  gTicks = SystemTickCount() + 1000;
  const CProcessType::PageTable* first = type.GetPageTable(FourCC("tg01"));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(type.GetPageTable(FourCC("tg01")), first);
  EXPECT_EQ(type.mLoads[FourCC("tg01")], 1);

  // Ten tags fill the ten entries in order (their start times are equal).
  for (uint32_t t = 2; t <= 10; ++t) {
    ++gTicks;
    type.GetPageTable(FourCC("tg00") + t);
  }
  for (int entry = 0; entry < CProcessType::kPageTableCount; ++entry) {
    EXPECT_EQ(type.GetCachedPageTableTag(entry), FourCC("tg00") + static_cast<uint32_t>(entry + 1)) << entry;
  }
  // Using tg01 again makes tg02 the oldest: the eleventh tag takes its
  // entry.
  ++gTicks;
  type.GetPageTable(FourCC("tg01"));
  ++gTicks;
  type.GetPageTable(FourCC("tg11"));
  EXPECT_EQ(type.GetCachedPageTableTag(1), FourCC("tg11"));
  EXPECT_EQ(type.GetCachedPageTableTag(0), FourCC("tg01"));
  ++gTicks;
  type.GetPageTable(FourCC("tg02"));
  EXPECT_EQ(type.mLoads[FourCC("tg02")], 2);
  EXPECT_EQ(type.GetCachedPageTableTag(2), FourCC("tg02"));  // tg03 was next oldest
}

TEST(ProcessTypePageTables, AMissingTableStaysMissingAndAPinnedEntryStays) {
  CachingType type;
  type.SetTickClock(FakeTicks);
  gTicks = SystemTickCount() + 1000;
  type.mMissing.insert(FourCC("gone"));
  EXPECT_EQ(type.GetPageTable(FourCC("gone")), nullptr);
  EXPECT_EQ(type.GetPageTable(FourCC("gone")), nullptr);
  EXPECT_EQ(type.mLoads[FourCC("gone")], 1);

  // An entry stamped with every bit set is never chosen.
  const uint32_t later = gTicks + 1;
  gTicks = 0xFFFFFFFFu;
  type.GetPageTable(FourCC("keep"));
  gTicks = later;
  for (uint32_t t = 0; t < 30; ++t) type.GetPageTable(FourCC("tx00") + t);
  EXPECT_EQ(type.GetCachedPageTableTag(1), FourCC("keep"));

  // Registration asks for the ten surface tables in order.
  CachingType fresh;
  fresh.RegisterPageTables();
  const char* tags[] = {"PgTL", "MkTL", "PcTL", "FrTL", "HgTL", "DgEQ", "DgCP", "DgGT", "BkCS", "BkSF"};
  for (int entry = 0; entry < 10; ++entry) {
    uint32_t tag = 0;
    for (int c = 0; c < 4; ++c) tag = tag << 8 | static_cast<uint8_t>(tags[entry][c]);
    EXPECT_EQ(fresh.GetCachedPageTableTag(entry), tag) << entry;
    EXPECT_EQ(fresh.mLoads[tag], 1);
  }
}

namespace {

// A bundle whose resource map is a scratch folder of page tables.
class PageTableResources : public ::testing::Test {
 protected:
  void SetUp() override {
    bundle = platform::CreateSymbolBundle("com.kestrelbay.rtas.PageTables", nullptr, 0);
    platform::SetBundleResourceFolder(bundle, folder.Path().c_str());
    CProcessGroup::SetBundleRef(bundle);
    hostFile = CurResFile();
  }
  void TearDown() override {
    CProcessGroup::SetBundleRef(nullptr);
    CFRelease(bundle);
    EXPECT_EQ(CurResFile(), hostFile);
    EXPECT_EQ(CProcessGroup::GetResourceNesting(), 0);
  }
  void Put(const std::string& type, const std::string& file, const std::vector<unsigned char>& bytes) {
    std::filesystem::create_directories(folder.PathOf(type));
    folder.Write(type + "/" + file, bytes);
  }

  ScratchFolder folder;
  CFBundleRef bundle = nullptr;
  int16_t hostFile = 0;
};

}  // namespace

TEST_F(PageTableResources, TheTableIsTheResourceNamedExactlyAfterTheTypeWithAZeroAfterIt) {
  Put("PgTL", "128 swCl", {0, 2, 0, 1, 0, 2, 0, 7, 0, 8});
  Put("PgTL", "129 SWCL", {9, 9});
  Put("MkTL", "128 swcl", {1, 1});
  PlainType type;
  const auto table = type.LoadPageTable(FourCC("PgTL"));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(*table, (std::vector<uint8_t>{0, 2, 0, 1, 0, 2, 0, 7, 0, 8, 0, 0}));
  // A name that matches only when case is ignored is not the type's.
  EXPECT_EQ(type.LoadPageTable(FourCC("MkTL")), nullptr);
  EXPECT_EQ(type.LoadPageTable(FourCC("PcTL")), nullptr);
}

TEST_F(PageTableResources, TheProcessReadsItsSurfacePagesFromTheTypesTable) {
  // Kind 2 with 5 groups of two entries, the controls 1 to 10.
  std::vector<unsigned char> record = {0, 2, 0, 5, 0, 10};
  for (unsigned char n = 1; n <= 10; ++n) record.insert(record.end(), {0, n});
  Put("PgTL", "128 swCl", record);
  PlainType type;
  RecordingProcess* process = type.AddInstance(1);
  const uint32_t tag = FourCC("PgTL");
  EXPECT_EQ(process->CProcess::HasSurfacePages(tag, 2), 1);
  EXPECT_EQ(process->CProcess::HasSurfacePages(tag, 8), 0);
  EXPECT_EQ(process->CProcess::CountSurfacePages(tag, 8), 2);
  EXPECT_EQ(process->CProcess::GetSurfacePageEntry(tag, 8, 1, 0), 9);
  EXPECT_EQ(process->CProcess::GetSurfacePageEntry(tag, 8, 1, 1), 10);
  EXPECT_EQ(process->CProcess::GetSurfacePageEntry(tag, 8, 1, 2), 0);
  EXPECT_EQ(process->CProcess::CountSurfacePages(FourCC("MkTL"), 8), -1);
  type.ReleaseAllProcesses();
}
