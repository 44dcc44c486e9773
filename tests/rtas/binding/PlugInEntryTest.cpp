// The bundle's exports seen from a host: a test bundle with its own copy of
// the library and the effect layer, loaded over the framework stand-ins.
#include "rtas/binding/PlugInEntry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/protools/HostCallbacks.h"
#include "rtas/library/HostRecords.h"
#include "rtas/library/FourCC.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

constexpr uint32_t kMono = FourCC("EFN1");
constexpr uint32_t kStereo = FourCC("EFN2");

// The host's structure registry: what was registered as which kind, and
// every description in order. Data structures get a block of the host's.
struct HostRegistry {
  struct SDescription {
    void* mObject;
    uint8_t mKind;
    std::vector<HostWord> mWords;
  };
  SStructureRegistry mInterface;
  std::map<void*, uint8_t> mKinds;
  std::vector<SDescription> mDescriptions;
  std::map<void*, std::vector<HostWord>> mBlocks;
};
HostRegistry* gRegistry = nullptr;

int32_t Register(SStructureRegistry*, void* object, uint8_t kind) {
  gRegistry->mKinds[object] = kind;
  return 0;
}
int32_t Unregister(SStructureRegistry*, void* object) {
  gRegistry->mKinds.erase(object);
  return 0;
}
int32_t Describe(SStructureRegistry*, void* object, const SWordArraySnapshot* description) {
  std::vector<HostWord> words(description->mWords, description->mWords + description->mSizeBytes / sizeof(HostWord));
  const uint8_t kind = gRegistry->mKinds.count(object) ? gRegistry->mKinds[object] : 0;
  if (kind == 8 && words.size() == 4) {
    auto& block = gRegistry->mBlocks[object];
    block.assign(words[2] / sizeof(HostWord) + 1, 0);
    *reinterpret_cast<void**>(words[3]) = block.data();
  }
  gRegistry->mDescriptions.push_back({object, kind, words});
  return 0;
}
const SStructureRegistryVtbl kRegistryVtbl = {Register, Unregister, Describe};

int16_t HostCallback(int16_t selector, ComponentRecord*, char** parameters) {
  if (selector != kHostCallbackStructureRegistry || !gRegistry) return -1;
  *reinterpret_cast<SStructureRegistry**>(parameters) = &gRegistry->mInterface;
  return 0;
}

class PlugInEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registry.mInterface.mVtbl = &kRegistryVtbl;
    gRegistry = &registry;
    CFStringRef path = CFStringCreateWithCString(nullptr, BRIMLOW_TEST_EFFECT_BUNDLE, kCFStringEncodingUTF8);
    CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true);
    bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    CFRelease(path);
    ASSERT_NE(bundle, nullptr);
    newPlugIn = Function<int16_t (*)(CFBundleRef)>("NewMachOPlugIn");
    closePlugIn = Function<void (*)()>("CloseMachOPlugIn");
    setCreateMode = Function<void (*)(int)>("TestEffectSetCreateMode");
    auto* descriptor = static_cast<LookupEntryRoutineProc*>(
        CFBundleGetDataPointerForName(bundle, CFStringMakeConstantString("_PI_GetRoutineDescriptor")));
    ASSERT_TRUE(newPlugIn && closePlugIn && setCreateMode && descriptor);
    lookup = *descriptor;
  }
  void TearDown() override {
    if (open) closePlugIn();
    CFBundleUnloadExecutable(bundle);
    CFRelease(bundle);
    gRegistry = nullptr;
  }

  template <class Proc>
  Proc Function(const char* name) {
    return reinterpret_cast<Proc>(CFBundleGetFunctionPointerForName(bundle, CFStringMakeConstantString(name)));
  }
  template <class Proc>
  Proc Entry(uint32_t selector) {
    void* routine = nullptr;
    EXPECT_EQ(lookup(selector, &routine), 0) << selector;
    return reinterpret_cast<Proc>(routine);
  }
  void Open() {
    ASSERT_EQ(newPlugIn(bundle), 0);
    open = true;
    ASSERT_EQ(Entry<int32_t (*)(HostCallbackProc)>(14)(HostCallback), 0);
    ASSERT_EQ(Entry<int32_t (*)(int32_t)>(91)(3), 0);  // the host-based kind
  }
  int32_t NewInstance(uint32_t type, int32_t* instance) {
    return Entry<int32_t (*)(uint32_t, int32_t*)>(19)(type, instance);
  }
  int32_t EnterCalls() { return frameworks->DAE()->mCommon.CountCalls("FicEnterCriticalSection"); }
  int32_t LeaveCalls() { return frameworks->DAE()->mCommon.CountCalls("FicLeaveCriticalSection"); }

  // The descriptions of the last publish pass, from its opening bracket.
  std::vector<HostRegistry::SDescription> LastPublish() const {
    size_t start = 0;
    for (size_t i = 0; i < registry.mDescriptions.size(); ++i) {
      const auto& d = registry.mDescriptions[i];
      if (d.mKind == 3 && d.mWords.size() == 1 && d.mWords[0] == 2) start = i;
    }
    return {registry.mDescriptions.begin() + static_cast<std::ptrdiff_t>(start), registry.mDescriptions.end()};
  }

  std::unique_ptr<StandInFrameworks> frameworks = std::make_unique<StandInFrameworks>();
  HostRegistry registry;
  CFBundleRef bundle = nullptr;
  int16_t (*newPlugIn)(CFBundleRef) = nullptr;
  void (*closePlugIn)() = nullptr;
  void (*setCreateMode)(int) = nullptr;
  LookupEntryRoutineProc lookup = nullptr;
  bool open = false;
};

const std::set<uint32_t> kWithoutEntry = {11, 13, 21, 26, 34, 60, 61, 106, 107, 174};
const std::vector<uint32_t> kStubs = {43, 56, 57, 58, 76, 77, 78, 83, 84, 112, 113, 114, 115, 116, 117, 118, 119};

}  // namespace

TEST_F(PlugInEntryTest, TheLookupGivesAnEntryForEverySelectorButTheTenWithout) {
  int32_t routines = 0;
  for (uint32_t selector = 0; selector < 176; ++selector) {
    void* routine = reinterpret_cast<void*>(1);
    const int32_t result = lookup(selector, &routine);
    if (kWithoutEntry.count(selector)) {
      EXPECT_EQ(result, -9007) << selector;
      EXPECT_EQ(routine, nullptr) << selector;
    } else {
      EXPECT_EQ(result, 0) << selector;
      EXPECT_NE(routine, nullptr) << selector;
      routines += routine != nullptr;
    }
  }
  EXPECT_EQ(routines, 166);
  for (uint32_t selector : {176u, 177u, 1000u, 65530u, 0xffffffffu}) {
    void* routine = reinterpret_cast<void*>(1);
    EXPECT_EQ(lookup(selector, &routine), -9007) << selector;
    EXPECT_EQ(routine, nullptr) << selector;
  }
}

TEST_F(PlugInEntryTest, StubEntriesAnswerZeroAndSelector98ReportsAZeroByte) {
  for (uint32_t selector : kStubs) EXPECT_EQ(Entry<int32_t (*)()>(selector)(), 0) << selector;
  uint8_t byte = 0x5a;
  EXPECT_EQ(Entry<int32_t (*)(uint32_t, int32_t, int32_t, uint8_t*)>(98)(kStereo, 1, 1, &byte), 0);
  EXPECT_EQ(byte, 0);
}

TEST_F(PlugInEntryTest, NewMachOPlugInAnswersTheGroupsFailures) {
  struct {
    int mode;
    int16_t result;
  } const cases[] = {{0, 0}, {1, -7003}, {2, -7401}, {3, -7777}};
  for (const auto& c : cases) {
    setCreateMode(c.mode);
    EXPECT_EQ(newPlugIn(bundle), c.result) << c.mode;
    // Without a usable group every entry answers -7003 and reaches nothing.
    int16_t count = -1;
    if (c.result == 0) {
      EXPECT_EQ(Entry<int32_t (*)(int32_t)>(91)(3), 0);
    }
    const int32_t counted = Entry<int32_t (*)(int16_t*)>(22)(&count);
    EXPECT_EQ(counted, c.result == 0 ? 0 : -7003) << c.mode;
    EXPECT_EQ(count, c.result == 0 ? 2 : -1) << c.mode;
    closePlugIn();
    EXPECT_EQ(Entry<int32_t (*)(int16_t*)>(22)(&count), -7003);
  }
}

TEST_F(PlugInEntryTest, NewMachOPlugInWithoutTheDSIAnswersItsCode) {
  frameworks.reset();
  frameworks = std::make_unique<StandInFrameworks>(StandInFrameworks::kDAE | StandInFrameworks::kDSPManager);
  EXPECT_EQ(newPlugIn(bundle), -9065);
  closePlugIn();
}

TEST_F(PlugInEntryTest, TheLockIsTakenByTheVersionRuleAndLeftAfterFailures) {
  Open();
  ASSERT_EQ(Entry<int32_t (*)()>(75)(), 3);
  // At version 99 selectors 75, 105 and 144 run without the lock.
  int32_t enters = EnterCalls();
  EXPECT_EQ(Entry<int32_t (*)()>(75)(), 3);
  int32_t out = 0;
  Entry<int32_t (*)(uint32_t, int32_t, int32_t*)>(105)(kStereo, 1, &out);
  EXPECT_EQ(Entry<int32_t (*)(uint32_t, int32_t)>(144)(kStereo, 1), -7126);
  EXPECT_EQ(EnterCalls(), enters);

  enters = EnterCalls();
  int32_t leaves = LeaveCalls();
  int16_t count = 0;
  EXPECT_EQ(Entry<int32_t (*)(int16_t*)>(22)(&count), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(EnterCalls(), enters + 1);
  EXPECT_EQ(LeaveCalls(), leaves + 1);

  // Selector 0 at version 99, and a failing operation that throws.
  Rect area{};
  EXPECT_EQ(Entry<int32_t (*)(uint32_t, int32_t, Rect*)>(0)(kStereo, 1, &area), -7126);
  EXPECT_EQ(Entry<int32_t (*)(uint32_t, int32_t)>(20)(FourCC("none"), 1), -7125);
  EXPECT_EQ(EnterCalls(), enters + 3);
  EXPECT_EQ(LeaveCalls(), leaves + 3);
}

TEST_F(PlugInEntryTest, CreationPublishesPortsWorkerDataAndPlugInInsideTheBracket) {
  Open();
  int hostContext = 0;
  ASSERT_EQ(Entry<int32_t (*)(void*)>(38)(&hostContext), 0);
  int32_t instance = 0;
  ASSERT_EQ(NewInstance(kStereo, &instance), 0);
  EXPECT_EQ(instance, 1);

  const auto published = LastPublish();
  std::vector<int> kinds;
  for (const auto& d : published) kinds.push_back(d.mKind);
  EXPECT_EQ(kinds, (std::vector<int>{3, 4, 4, 5, 5, 7, 8, 3, 3}));
  ASSERT_EQ(published.size(), 9u);
  EXPECT_EQ(published.front().mWords, std::vector<HostWord>{2});
  EXPECT_EQ(published.back().mWords, std::vector<HostWord>{3});
  // Ports: 1, the owner, the number, the format word.
  const void* plugIn = published[7].mObject;
  for (int k = 0; k < 4; ++k) {
    const auto& port = published[1 + k].mWords;
    EXPECT_EQ(port, (std::vector<HostWord>{1, reinterpret_cast<HostWord>(plugIn), HostWord(k % 2 + 1), 0}));
  }
  // The plug-in: 1, the identification record, its inputs, outputs, workers.
  const auto& words = published[7].mWords;
  ASSERT_EQ(words.size(), 6u + 3u + 3u + 2u);
  EXPECT_EQ(words[0], 1u);
  EXPECT_EQ(words[1], FourCC("KBYX"));
  EXPECT_EQ(words[2], FourCC("KB30"));
  EXPECT_EQ(words[3], kStereo);
  EXPECT_EQ(words[4], reinterpret_cast<HostWord>(&hostContext));
  EXPECT_EQ(words[5], 1u);
  EXPECT_EQ(words[6], 2u);
  EXPECT_EQ(words[9], 2u);
  EXPECT_EQ(words[12], 1u);
  EXPECT_EQ(words[13], reinterpret_cast<HostWord>(published[5].mObject));
  // The data block the host supplied holds the seven fields.
  const auto& block = registry.mBlocks.at(published[6].mObject);
  EXPECT_NE(block[0], 0u);
  EXPECT_EQ(block[3], 2u);
  EXPECT_EQ(block[4], 2u);
  EXPECT_EQ(block[5], 0u);
  EXPECT_EQ(block[6], 1u);

  // Removing the instance publishes once more, without ports.
  ASSERT_EQ(Entry<int32_t (*)(uint32_t, int32_t)>(20)(kStereo, instance), 0);
  const auto last = LastPublish();
  kinds.clear();
  for (const auto& d : last) kinds.push_back(d.mKind);
  EXPECT_EQ(kinds, (std::vector<int>{3, 7, 8, 3, 3}));
}

namespace {

// What the host does for one block: the worker's routine with a call block
// of buffer cells and a render record.
struct HostBlock {
  HostBlock(int32_t channels, int32_t frames)
      : inputs(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames))),
        outputs(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames), -1.0f)),
        cells(static_cast<size_t>(2 * channels)),
        call(static_cast<size_t>(3 + 2 * channels)),
        record(32) {
    for (int32_t c = 0; c < channels; ++c) {
      for (int32_t i = 0; i < frames; ++i) inputs[c][i] = std::sin(0.01f * static_cast<float>(i + 100 * c));
      cells[c] = inputs[c].data();
      cells[channels + c] = outputs[c].data();
    }
    for (size_t k = 0; k < cells.size(); ++k) call[3 + k] = reinterpret_cast<HostWord>(&cells[k]);
    record[3] = reinterpret_cast<HostWord>(failure);
    record[22] = static_cast<HostWord>(frames);
  }
  std::vector<std::vector<float>> inputs, outputs;
  std::vector<float*> cells;
  std::vector<HostWord> call, record;
  float failure[8] = {};
};

}  // namespace

TEST_F(PlugInEntryTest, TheRenderCallbackRendersLongBlocksInPiecesOfTheBlockSize) {
  frameworks->DAE()->SetMaximumQuantum(512);
  Open();
  int32_t instance = 0;
  ASSERT_EQ(NewInstance(kStereo, &instance), 0);
  const auto published = LastPublish();
  const auto routine = reinterpret_cast<int32_t (*)(HostWord*, HostWord*)>(published[5].mWords[1]);
  auto& block = registry.mBlocks.at(published[6].mObject);

  for (int32_t frames : {256, 4096}) {
    HostBlock host(2, frames);
    host.call[2] = reinterpret_cast<HostWord>(block.data());
    EXPECT_EQ(routine(host.call.data(), host.record.data()), 0);
    for (int32_t c = 0; c < 2; ++c) {
      for (int32_t i = 0; i < frames; ++i) {
        ASSERT_EQ(host.outputs[c][i], host.inputs[c][i] * 0.5f + static_cast<float>(i % 512))
            << frames << " " << c << " " << i;
      }
    }
  }
}

TEST_F(PlugInEntryTest, TheRenderCallbackReadsTheHostsRecordsDefensively) {
  frameworks->DAE()->SetMaximumQuantum(512);
  Open();
  int32_t instance = 0;
  ASSERT_EQ(NewInstance(kMono, &instance), 0);
  const auto published = LastPublish();
  const auto routine = reinterpret_cast<int32_t (*)(HostWord*, HostWord*)>(published[3].mWords[1]);
  auto block = registry.mBlocks.at(published[4].mObject);

  // Without the frame-count flag a block is 32 frames.
  block[6] = 0;
  HostBlock host(1, 64);
  host.call[2] = reinterpret_cast<HostWord>(block.data());
  routine(host.call.data(), host.record.data());
  for (int32_t i = 0; i < 64; ++i) {
    ASSERT_EQ(host.outputs[0][i], i < 32 ? host.inputs[0][i] * 0.5f + static_cast<float>(i) : -1.0f) << i;
  }

  // A null input cell is silence; a host that claims more channels than
  // the process has is held to its one (its call block follows its counts).
  block[6] = 1;
  block[3] = 3;
  block[4] = 3;
  HostBlock wide(3, 16);
  wide.cells[0] = nullptr;
  wide.call[2] = reinterpret_cast<HostWord>(block.data());
  routine(wide.call.data(), wide.record.data());
  for (int32_t i = 0; i < 16; ++i) ASSERT_EQ(wide.outputs[0][i], static_cast<float>(i)) << i;
  for (int32_t c = 1; c < 3; ++c) EXPECT_EQ(wide.outputs[c][0], -1.0f) << c;

  // Zero or negative frames render nothing.
  block[3] = 1;
  block[4] = 1;
  for (HostWord frames : {HostWord(0), static_cast<HostWord>(-5)}) {
    HostBlock none(1, 8);
    none.call[2] = reinterpret_cast<HostWord>(block.data());
    none.record[22] = frames;
    routine(none.call.data(), none.record.data());
    EXPECT_EQ(none.outputs[0][0], -1.0f);
  }
}

TEST_F(PlugInEntryTest, TheControlsChunkTravelsThroughTheChunkSelectors) {
  Open();
  int32_t instance = 0;
  ASSERT_EQ(NewInstance(kMono, &instance), 0);
  const uint32_t elck = FourCC("elck");
  int32_t size = 0;
  ASSERT_EQ((Entry<int32_t (*)(uint32_t, int32_t, uint32_t, int32_t*)>(65)(kMono, instance, elck, &size)), 0);
  // Gain ('d') and mode ('l'); the master bypass is not saved.
  ASSERT_EQ(size, 56 + 4 + 16 + 12);
  using ChunkEntry = int32_t (*)(uint32_t, int32_t, uint32_t, SFicPlugInChunk*);
  std::vector<uint8_t> bytes(static_cast<size_t>(size), 0xcc);
  auto* chunk = reinterpret_cast<SFicPlugInChunk*>(bytes.data());
  ASSERT_EQ(Entry<ChunkEntry>(66)(kMono, instance, elck, chunk), 0);
  const uint32_t header[7] = {static_cast<uint32_t>(size), 3, FourCC("KBYX"), FourCC("KB30"), kMono, elck, 0};
  EXPECT_EQ(std::memcmp(bytes.data(), header, sizeof(header)), 0);
  const uint8_t text[] = {1, 1, 1, 1, 'd', '_', 'g', 'a', 'i', 'n', 0, 0};
  EXPECT_EQ(std::memcmp(bytes.data() + 56, text, sizeof(text)), 0);
  const uint8_t mode[] = {'l', '_', 'm', 'o', 'd', 'e', 0, 0, 0, 0, 0, 3};
  EXPECT_EQ(std::memcmp(bytes.data() + 56 + 20, mode, sizeof(mode)), 0);

  // Restored with another mode, the instance writes that mode back.
  std::vector<uint8_t> changed = bytes;
  changed[56 + 20 + 11] = 7;
  auto* changedChunk = reinterpret_cast<SFicPlugInChunk*>(changed.data());
  uint8_t equal = 9;
  using CompareEntry = int32_t (*)(uint32_t, int32_t, SFicPlugInChunk*, uint8_t*);
  ASSERT_EQ(Entry<CompareEntry>(128)(kMono, instance, changedChunk, &equal), 0);
  EXPECT_EQ(equal, 0);
  ASSERT_EQ(Entry<ChunkEntry>(67)(kMono, instance, elck, changedChunk), 0);
  ASSERT_EQ(Entry<CompareEntry>(128)(kMono, instance, changedChunk, &equal), 0);
  EXPECT_EQ(equal, 1);
  std::vector<uint8_t> again(static_cast<size_t>(size), 0);
  ASSERT_EQ(Entry<ChunkEntry>(66)(kMono, instance, elck, reinterpret_cast<SFicPlugInChunk*>(again.data())), 0);
  EXPECT_EQ(again[56 + 20 + 11], 7);
  // Another manufacturer's chunk is refused.
  changedChunk->mManufacturerID = FourCC("ACME");
  EXPECT_EQ(Entry<ChunkEntry>(67)(kMono, instance, elck, changedChunk), -7157);
}
