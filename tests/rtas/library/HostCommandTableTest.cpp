#include "rtas/library/HostCommandTable.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/corefoundation/CFBundleStandIn.h"
#include "rtas/library/CDSP.h"
#include "rtas/library/CProcessGroup.h"
#include "rtas/library/DSPCardExports.h"

namespace {

class LockGroup : public CProcessGroup {
 public:
  int32_t GetTypeIDs(int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
  int32_t GetProductName(char* text, int32_t) override {
    text[0] = 0;
    return 0;
  }
};

LockGroup* gGroup = nullptr;

// A chip object that notes each shell operation with the group's lock
// depth at the time.
class NotedDSP : public CDSP {
 public:
  int16_t SGetXWord(int32_t address, int32_t* word) override {
    Note("SGetXWord " + std::to_string(address));
    *word = 99;
    return 1;
  }
  int16_t SGetYWord(int32_t, int32_t*) override { throw std::runtime_error("chip"); }
  int16_t SExecute(int16_t address) override {
    Note("SExecute " + std::to_string(address));
    return 2;
  }
  int16_t SInitShell() override {
    Note("SInitShell");
    return 0;
  }
  int16_t SPauseShell() override {
    Note("SPauseShell");
    return mPauseAnswer;
  }
  int16_t SGetDSPCodeInfo(int16_t, int32_t*) override { throw std::runtime_error("info"); }
  void Note(const std::string& what) {
    mNotes.push_back(what + " @" + std::to_string(gGroup ? gGroup->GetLockDepth() : -1));
  }
  std::vector<std::string> mNotes;
  int16_t mPauseAnswer = 0;
};

// A bundle's own "Dispatcher": notes each block and answers per kind.
std::vector<SDispatcherBlock> gBlocks;
HostWord gLookupAnswer = 0;
HostWord gHookAnswer = 0;
HostWord ReplacingDispatcher(SDispatcherBlock* block) {
  gBlocks.push_back(*block);
  return block->mKind == SDispatcherBlock::kLookup ? gLookupAnswer : gHookAnswer;
}

class HostCommandTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gGroup = &group;
    CProcessGroupInterface::SetGroupReference(&group);
    gBlocks.clear();
    dsp.mClientValue = reinterpret_cast<HostWord>(static_cast<CDSP*>(&chip));
  }
  void TearDown() override {
    CProcessGroup::SetBundleRef(nullptr);
    if (bundle) CFRelease(bundle);
    CProcessGroupInterface::SetGroupReference(nullptr);
    gGroup = nullptr;
  }
  void ExportDispatcher(void* dispatcher) {
    const platform::BundleSymbol symbols[] = {{"Dispatcher", dispatcher}};
    bundle = platform::CreateSymbolBundle("com.kestrelbay.rtas.Dispatcher", symbols, 1);
    CProcessGroup::SetBundleRef(bundle);
  }
  template <class Proc>
  Proc Callback(int32_t request) {
    return reinterpret_cast<Proc>(HostCommandLookup(request));
  }

  LockGroup group;
  NotedDSP chip;
  SDsiDSPRecord dsp{};
  CFBundleRef bundle = nullptr;
};

}  // namespace

TEST_F(HostCommandTableTest, RequestsReachTheShellOperationsInOrderAndSixTakeTheLock) {
  ASSERT_EQ(kHostCommandCallbackCount, 18u);
  for (size_t i = 0; i < kHostCommandCallbackCount; ++i) {
    const SHostCommandCallback& row = kHostCommandCallbacks[i];
    EXPECT_EQ(row.mRequest, 256 + static_cast<int32_t>(i));
    EXPECT_EQ(row.mSlot, 26 + static_cast<int32_t>(i));
    EXPECT_EQ(row.mTakesGlobalLock, row.mRequest <= 261) << row.mRequest;
    EXPECT_NE(row.mCallback, 0u);
  }
  const std::map<int, std::string> names = {{256, "SGetXWord"}, {262, "SExecute"}, {266, "SInitShell"},
                                            {268, "SPauseShell"}, {273, "SGetDSPCodeInfo"}};
  for (const auto& [request, name] : names) EXPECT_EQ(kHostCommandCallbacks[request - 256].mName, name);
}

TEST_F(HostCommandTableTest, TheLookupAnswersTheLibrarysCallbacksOrTheBundles) {
  for (int32_t request = 256; request <= 273; ++request) {
    EXPECT_EQ(HostCommandLookup(request), kHostCommandCallbacks[request - 256].mCallback) << request;
  }
  // The library's own export changes nothing.
  ExportDispatcher(reinterpret_cast<void*>(&Dispatcher));
  for (int32_t request = 256; request <= 273; ++request) {
    EXPECT_EQ(HostCommandLookup(request), kHostCommandCallbacks[request - 256].mCallback) << request;
  }
  CFRelease(bundle);
  ExportDispatcher(reinterpret_cast<void*>(&ReplacingDispatcher));
  gLookupAnswer = 0xBEEF;
  EXPECT_EQ(HostCommandLookup(260), 0xBEEFu);
  ASSERT_EQ(gBlocks.size(), 1u);
  // The block is packed: its fields are read into locals, not bound.
  const int32_t version = gBlocks[0].mVersion, kind = gBlocks[0].mKind;
  const int16_t request = gBlocks[0].mData.mLookup.mRequest;
  const HostWord own = gBlocks[0].mData.mLookup.mCallback;
  EXPECT_EQ(version, 1);
  EXPECT_EQ(kind, 0);
  EXPECT_EQ(request, 260);
  EXPECT_EQ(own, kHostCommandCallbacks[4].mCallback);
  // Outside the range the bundle is not asked.
  EXPECT_EQ(HostCommandLookup(255), 0u);
  EXPECT_EQ(HostCommandLookup(274), 0u);
  EXPECT_EQ(gBlocks.size(), 1u);
}

TEST_F(HostCommandTableTest, CallbacksFindTheObjectAndTheFirstSixRunUnderTheLock) {
  int32_t word = 0;
  EXPECT_EQ(Callback<int16_t (*)(DsiDSP, int32_t, int32_t*)>(256)(&dsp, 7, &word), 1);
  EXPECT_EQ(word, 99);
  EXPECT_EQ(Callback<int16_t (*)(DsiDSP, int16_t)>(262)(&dsp, 12), 2);
  EXPECT_EQ(chip.mNotes, (std::vector<std::string>{"SGetXWord 7 @1", "SExecute 12 @0"}));
  EXPECT_EQ(group.GetLockDepth(), 0);
  // The lock is let go when the operation throws, and the throw passes.
  EXPECT_THROW(Callback<int16_t (*)(DsiDSP, int32_t, int32_t*)>(257)(&dsp, 7, &word), std::runtime_error);
  EXPECT_EQ(group.GetLockDepth(), 0);
  // Only the code information is caught, as -1.
  EXPECT_EQ(Callback<int16_t (*)(DsiDSP, int16_t, int32_t*)>(273)(&dsp, 1, &word), -1);

  // A DSP without an object answers the client-value query's status.
  SDsiDSPRecord empty{};
  EXPECT_EQ(Callback<int16_t (*)(DsiDSP, int32_t, int32_t*)>(256)(&empty, 7, &word), 0);
  EXPECT_EQ(Callback<int16_t (*)(DsiDSP)>(266)(&empty), 0);
  EXPECT_NE(Callback<int16_t (*)(DsiDSP)>(266)(nullptr), 0);
  EXPECT_EQ(chip.mNotes.size(), 2u);
}

TEST_F(HostCommandTableTest, TheBundleMayVetoAShellStartAndHearsOfAPause) {
  ExportDispatcher(reinterpret_cast<void*>(&ReplacingDispatcher));
  gLookupAnswer = 0;
  gHookAnswer = 5;
  using Proc = int16_t (*)(DsiDSP);
  Proc init = reinterpret_cast<Proc>(kHostCommandCallbacks[266 - 256].mCallback);
  Proc pause = reinterpret_cast<Proc>(kHostCommandCallbacks[268 - 256].mCallback);
  EXPECT_EQ(init(&dsp), 5);
  EXPECT_TRUE(chip.mNotes.empty());
  ASSERT_EQ(gBlocks.size(), 1u);
  const int32_t kind = gBlocks[0].mKind;
  const HostWord hooked = gBlocks[0].mData.mHook.mDSP;
  EXPECT_EQ(kind, 1);
  EXPECT_EQ(hooked, reinterpret_cast<HostWord>(&dsp));
  gHookAnswer = 0;
  EXPECT_EQ(init(&dsp), 0);
  EXPECT_EQ(chip.mNotes, (std::vector<std::string>{"SInitShell @0"}));

  gBlocks.clear();
  gHookAnswer = 7;
  EXPECT_EQ(pause(&dsp), 7);
  ASSERT_EQ(gBlocks.size(), 1u);
  const int32_t pauseKind = gBlocks[0].mKind;
  EXPECT_EQ(pauseKind, 2);
  chip.mPauseAnswer = 3;
  EXPECT_EQ(pause(&dsp), 3);  // a failed pause is not passed on
  EXPECT_EQ(gBlocks.size(), 1u);

  // The library's own "Dispatcher" answers 0 to both hooks.
  CFRelease(bundle);
  ExportDispatcher(reinterpret_cast<void*>(&Dispatcher));
  chip.mPauseAnswer = 0;
  EXPECT_EQ(init(&dsp), 0);
  EXPECT_EQ(pause(&dsp), 0);
}

TEST_F(HostCommandTableTest, TheExportsAnswerZeroWithoutAnObject) {
  EXPECT_EQ(Dispatcher(nullptr), 0u);
  SDispatcherBlock block{};
  block.mVersion = 1;
  block.mKind = SDispatcherBlock::kLookup;
  block.mData.mLookup.mCallback = 0x1234;
  EXPECT_EQ(Dispatcher(&block), 0x1234u);
  for (int32_t kind : {1, 2}) {
    block.mKind = kind;
    EXPECT_EQ(Dispatcher(&block), 0u);
  }
  SDsiDSPRecord empty{};
  EXPECT_EQ(CDSPGetLoLong(nullptr), 0);
  EXPECT_EQ(CDSPGetLoLong(&empty), 0);
  EXPECT_EQ(CDSPDoHostCommand(&empty, 1), 0);
  EXPECT_EQ(CDSPSendLoLong(nullptr, 1), 0);
  // With an object, its own answer: a chip without a DSP reads -1.
  EXPECT_EQ(CDSPGetLoLong(&dsp), -1);
}
