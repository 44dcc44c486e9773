#include "rtas/binding/CEffectType.h"

#include <gtest/gtest.h>

#include "rtas/library/CPlugIn.h"
#include "tests/rtas/binding/EffectGroupFixture.h"

namespace {

constexpr uint32_t kMono = FourCC("EFN1");

// Processes the creation must not keep: one that is no RTAS process, and
// one whose render callback cannot be registered.
class PlainEffectProcess : public CEffectProcess {
 public:
  CProcessView* CreateView() override { return new FakeView(FourCC("root"), nullptr); }
};
class UnregisteredProcess : public TestEffectProcess {
 public:
  int32_t RegisterRenderCallback(SInstanceIdentification) override { return -1234; }
};

class EffectTypeTest : public EffectGroupFixture {};

}  // namespace

TEST(EffectType, FeaturesAndAttributes) {
  CEffectType plain(FourCC("EFN1"), FourCC("KB30"), 0, 1);
  CEffectTypeRTAS rtas(FourCC("EFN2"), FourCC("KB30"), 1);
  plain.AddTypeFeature(41);
  rtas.AddTypeFeature(41);
  for (int32_t feature : {7, 41, 30}) {
    EXPECT_TRUE(plain.HasTypeFeature(feature)) << feature;
    EXPECT_TRUE(rtas.HasTypeFeature(feature)) << feature;
  }
  EXPECT_FALSE(plain.HasTypeFeature(38));
  EXPECT_TRUE(rtas.HasTypeFeature(38));

  rtas.SetStemFormats(1, 1, 0);
  rtas.SetTypeWord(6);
  struct {
    int32_t feature;
    int32_t value;
  } const answers[] = {{21, 1}, {32, 6}, {29, 1}, {5, 0}, {8, 0}};
  for (const auto& a : answers) {
    int32_t value = -1;
    EXPECT_EQ(rtas.QueryTypeFeature(a.feature, &value), 0);
    EXPECT_EQ(value, a.value) << a.feature;
  }
  // Feature 5 answers the side-chain port: the inputs + 1.
  rtas.AddTypeFeature(5);
  int32_t sideChain = 0;
  rtas.QueryTypeFeature(5, &sideChain);
  EXPECT_EQ(sideChain, 3);
  EXPECT_EQ(rtas.GetKindCode(), 3);
}

TEST(EffectType, StemFormatsGiveTheChannelCounts) {
  CEffectTypeRTAS type(FourCC("EFN1"), FourCC("KB30"), 1);
  type.SetStemFormats(-1, 1, 7);
  int16_t inputs = -1, outputs = -1;
  type.GetTypeInputCount(0, &inputs);
  type.GetTypeOutputCount(5, &outputs);
  EXPECT_EQ(inputs, 0);
  EXPECT_EQ(outputs, 2);
  SFicPlugInStemFormats stems{};
  type.GetStemFormats(0, &stems);
  EXPECT_EQ(stems.mFormat[0], -1);
  EXPECT_EQ(stems.mFormat[1], 1);
  EXPECT_EQ(stems.mFormat[2], 7);
  type.SetTypeName("Brimlow\nBrim");
  char name[16] = {};
  type.GetTypeName(5, name);
  EXPECT_EQ(std::string(name + 1, static_cast<size_t>(name[0])), "Brim");
}

TEST_F(EffectTypeTest, CreationRegistersTheRenderCallbackWithTheInstancesIdentity) {
  int hostContext = 0;
  group->SetHostContext(&hostContext);
  int32_t instance = 0;
  ASSERT_EQ(group->NewInstance(kMono, &instance), 0);
  TestEffectProcess& process = Instance(kMono, instance);
  ASSERT_NE(process.GetAdaptor(), nullptr);
  SInstanceIdentification id{};
  process.GetAdaptor()->GetIdentification(&id);
  EXPECT_EQ(id.mManufacturerID, FourCC("KBYX"));
  EXPECT_EQ(id.mUniqueID, FourCC("KB30"));
  EXPECT_EQ(id.mTypeID, kMono);
  EXPECT_EQ(id.mHostContext, reinterpret_cast<HostWord>(&hostContext));
  EXPECT_EQ(id.mInstanceNumber, instance);
  EXPECT_EQ(Type(kMono).GetHostContextValue(), reinterpret_cast<HostWord>(&hostContext));
}

TEST_F(EffectTypeTest, AnInstanceThatCannotRenderIsNotKept) {
  struct {
    const char* what;
    CEffectType::ProcessCreator creator;
    int32_t result;
  } const cases[] = {
      {"not an RTAS process", [] { return static_cast<CProcess*>(new PlainEffectProcess); }, -77},
      {"registration fails", [] { return static_cast<CProcess*>(new UnregisteredProcess); }, -1234},
  };
  for (const auto& c : cases) {
    Type(kMono).SetProcessCreator(c.creator);
    int32_t instance = 0;
    EXPECT_EQ(group->NewInstance(kMono, &instance), c.result) << c.what;
    EXPECT_TRUE(Type(kMono).GetInstances().empty()) << c.what;
    EXPECT_EQ(group->GetInstanceCount(), 0) << c.what;
  }
  // The type still makes working instances afterwards, numbered from 1.
  Type(kMono).SetProcessCreator(CreateTestEffectProcess);
  int32_t instance = 0;
  EXPECT_EQ(group->NewInstance(kMono, &instance), 0);
  EXPECT_EQ(instance, 1);
}

TEST_F(EffectTypeTest, ChunkHeadersOfAnotherPlugInAreRefused) {
  int32_t instance = 0;
  ASSERT_EQ(group->NewInstance(kMono, &instance), 0);
  std::vector<uint8_t> bytes(256, 0);
  auto* chunk = reinterpret_cast<SFicPlugInChunk*>(bytes.data());
  ASSERT_EQ(Type(kMono).GetInstanceChunk(instance, CEffectProcess::kControlsChunkID, chunk), 0);
  EXPECT_EQ(chunk->mUniqueID, FourCC("KB30"));
  chunk->mUniqueID = FourCC("XXXX");
  EXPECT_EQ(Type(kMono).SetInstanceChunk(instance, CEffectProcess::kControlsChunkID, chunk), -7157);
  uint8_t equal = 0;
  EXPECT_EQ(Type(kMono).CompareInstanceChunk(instance, chunk, &equal), -7157);
  EXPECT_EQ(Type(kMono).CallProcessHook(instance, 0), 0);
  EXPECT_EQ(Type(kMono).CallProcessHook(instance + 1, 0), -7126);
}
