#include "rtas/library/CPlugInData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "rtas/library/CStructureRegistry.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/HostCallback.h"

namespace {

// Records the registry calls; on Describe it may supply a host block by
// writing through the address the description gives.
struct FakeRegistry {
  SStructureRegistry mInterface;
  void* mRegistered = nullptr;
  void* mUnregistered = nullptr;
  uint8_t mKind = 0;
  std::vector<HostWord> mWords;
  HostWord mByteSize = 0;
  void** mBlockPointer = nullptr;
  void* mSupply = nullptr;
};
FakeRegistry* gRegistry = nullptr;

int32_t Register(SStructureRegistry*, void* object, uint8_t kind) {
  gRegistry->mRegistered = object;
  gRegistry->mKind = kind;
  return 0;
}
int32_t Unregister(SStructureRegistry*, void* object) {
  gRegistry->mUnregistered = object;
  return 0;
}
int32_t Describe(SStructureRegistry*, void*, const SWordArraySnapshot* description) {
  const size_t count = description->mSizeBytes / sizeof(HostWord);
  gRegistry->mWords.assign(description->mWords, description->mWords + count);
  gRegistry->mByteSize = description->mSizeBytes;
  gRegistry->mBlockPointer = reinterpret_cast<void**>(gRegistry->mWords.back());
  if (gRegistry->mSupply) *gRegistry->mBlockPointer = gRegistry->mSupply;
  return 0;
}
const SStructureRegistryVtbl kRegistryVtbl = {Register, Unregister, Describe};

// The host hands out its registry through callback selector 18.
int16_t Host(int16_t selector, ComponentRecord*, char** parameters) {
  if (selector != kHostCallbackStructureRegistry || !gRegistry) return -1;
  *reinterpret_cast<SStructureRegistry**>(parameters) = &gRegistry->mInterface;
  return 0;
}

class PlugInDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registry.mInterface.mVtbl = &kRegistryVtbl;
    gRegistry = &registry;
    CStructureRegistry::Reset();
    SetHostCallbackProcedure(Host);
  }
  void TearDown() override {
    SetHostCallbackProcedure(nullptr);
    CStructureRegistry::Reset();
    gRegistry = nullptr;
  }
  FakeRegistry registry;
};

class Settings : public CPlugInData {
 public:
  CSmartField<int32_t> mCount;
  CSmartField<void*> mOwner;
  CSmartField<float> mGain;
  CSmartField<double> mRate;
};

int16_t PlainCodeOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const CPlainCodeError& error) {
    return error.Code();
  }
  return 0;
}

}  // namespace

TEST_F(PlugInDataTest, FieldsTakeConsecutiveOffsetsInAPackedLayout) {
  Settings settings;
  EXPECT_EQ(settings.mCount.GetOffset(), 0);
  EXPECT_EQ(settings.mOwner.GetOffset(), 4);
  EXPECT_EQ(settings.mGain.GetOffset(), static_cast<int32_t>(4 + sizeof(void*)));
  EXPECT_EQ(settings.mRate.GetOffset(), static_cast<int32_t>(8 + sizeof(void*)));
  EXPECT_EQ(settings.GetLayoutSize(), static_cast<int32_t>(16 + sizeof(void*)));

  settings.mCount.Set(42);
  settings.mOwner.Set(&registry);
  settings.mGain.Set(-6.5f);
  settings.mRate.Set(48000.0);
  EXPECT_EQ(settings.mCount.Get(), 42);
  EXPECT_EQ(settings.mOwner.Get(), &registry);
  EXPECT_EQ(settings.mGain.Get(), -6.5f);
  EXPECT_EQ(settings.mRate.Get(), 48000.0);
}

TEST_F(PlugInDataTest, RegistersAsKindEightAndDescribesItself) {
  {
    Settings settings;
    EXPECT_EQ(registry.mRegistered, &settings);
    EXPECT_EQ(registry.mKind, 8);
    settings.DescribeToHost();
    ASSERT_EQ(registry.mWords.size(), 4u);
    EXPECT_EQ(registry.mWords[0], 1u);
    EXPECT_EQ(registry.mWords[1], 0u);
    EXPECT_EQ(registry.mWords[2], static_cast<uintptr_t>(settings.GetLayoutSize()));
    EXPECT_EQ(registry.mByteSize, 4 * sizeof(HostWord));
    EXPECT_EQ(settings.GetExternalBlock(), nullptr);
  }
  EXPECT_NE(registry.mUnregistered, nullptr);
  EXPECT_EQ(registry.mUnregistered, registry.mRegistered);
}

TEST_F(PlugInDataTest, AHostBlockSuppliedDuringDescriptionMirrorsTheValues) {
  Settings settings;
  settings.mCount.Set(7);
  settings.mRate.Set(44100.0);
  std::vector<unsigned char> hostBlock(settings.GetLayoutSize(), 0xAB);
  registry.mSupply = hostBlock.data();
  settings.DescribeToHost();
  EXPECT_EQ(settings.GetExternalBlock(), hostBlock.data());
  int32_t count = 0;
  std::memcpy(&count, hostBlock.data() + settings.mCount.GetOffset(), 4);
  EXPECT_EQ(count, 7);

  // Writes reach both copies; reads take the host's value and keep it.
  settings.mCount.Set(8);
  std::memcpy(&count, hostBlock.data() + settings.mCount.GetOffset(), 4);
  EXPECT_EQ(count, 8);
  const int32_t hostValue = 1234;
  std::memcpy(hostBlock.data() + settings.mCount.GetOffset(), &hostValue, 4);
  EXPECT_EQ(settings.mCount.Get(), 1234);
  *registry.mBlockPointer = nullptr;  // the host takes its block back
  EXPECT_EQ(settings.mCount.Get(), 1234);
  EXPECT_EQ(settings.mRate.Get(), 44100.0);
}

TEST_F(PlugInDataTest, DataWithoutFieldsThrowsAPlainCode) {
  CPlugInData empty;
  EXPECT_EQ(PlainCodeOf([&] { empty.ReadInt32(0); }), -9060);
  EXPECT_EQ(PlainCodeOf([&] { empty.WriteDouble(0, 1.0); }), -9060);
  // No registry: nothing to tell, nothing breaks.
  SetHostCallbackProcedure(nullptr);
  CStructureRegistry::Reset();
  Settings alone;
  alone.mCount.Set(3);
  alone.DescribeToHost();
  EXPECT_EQ(alone.mCount.Get(), 3);
}

TEST(CSmartStructure, TheBaseReadsZeroAndIgnoresWrites) {
  class Plain : public CSmartStructure {
   public:
    CSmartField<int32_t> mA;
    CSmartField<double> mB;
    CSmartField<uint8_t> mC;
  } plain;
  plain.mA.Set(5);
  plain.mB.Set(2.0);
  plain.mC.Set(1);
  EXPECT_EQ(plain.mA.Get(), 0);
  EXPECT_EQ(plain.mB.Get(), 0.0);
  EXPECT_EQ(plain.mC.Get(), 0);
  EXPECT_EQ(plain.GetLayoutSize(), 13);
  EXPECT_EQ(plain.mC.GetOffset(), 12);
}
