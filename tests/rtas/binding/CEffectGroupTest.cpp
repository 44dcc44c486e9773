#include "rtas/binding/CEffectGroup.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/rtas/binding/EffectGroupFixture.h"

namespace {

constexpr uint32_t kMono = FourCC("EFN1");
constexpr uint32_t kStereo = FourCC("EFN2");

std::string PString(const char* text) { return std::string(text + 1, static_cast<unsigned char>(text[0])); }

class EffectGroupTest : public EffectGroupFixture {};

}  // namespace

TEST_F(EffectGroupTest, NamesTheManufacturerAndBuildsTheFolderPathOnce) {
  struct {
    int32_t maxLength;
    const char* name;
  } const cases[] = {{31, "Kestrelbay"}, {10, "Kestrelbay"}, {9, "KBay"}, {2, "KB"}};
  for (const auto& c : cases) {
    char text[64] = {};
    EXPECT_EQ(group->GetManufacturerName(c.maxLength, text), 0);
    EXPECT_EQ(PString(text), c.name) << c.maxLength;
  }
  char product[64] = {};
  EXPECT_EQ(group->GetProductName(product, 31), 0);
  EXPECT_EQ(PString(product), "Brimlow");
  EXPECT_EQ(group->GetProductNumber(), 3);
  EXPECT_EQ(group->GetGroupVersion(), 3);

  char path[256] = {};
  group->GetPlugInFolderPath(path);
  EXPECT_STREQ(path, "Plug-Ins/Kestrelbay/Brimlow/3");
  group->SetProduct("Other", 4);
  group->GetPlugInFolderPath(path);
  EXPECT_STREQ(path, "Plug-Ins/Kestrelbay/Brimlow/3");
}

TEST_F(EffectGroupTest, AnswersGroupFeaturesBeforeAskingTheType) {
  struct {
    int32_t feature;
    int32_t in;
    int32_t value;
  } const cases[] = {
      {28, static_cast<int32_t>(FourCC("midi")), 2}, {28, 5, 0}, {14, 0, 1}, {7, 0, 1}, {29, 0, 1}, {99, 7, 0}};
  for (const auto& c : cases) {
    int32_t value = c.in;
    EXPECT_EQ(group->QueryGroupFeature(kMono, c.feature, &value), 0) << c.feature;
    EXPECT_EQ(value, c.value) << c.feature;
  }
  int32_t value = 0;
  EXPECT_EQ(group->QueryGroupFeature(FourCC("none"), 7, &value), -7125);
  value = static_cast<int32_t>(FourCC("midi"));
  EXPECT_EQ(group->QueryGroupFeature(FourCC("none"), 28, &value), 0);
  EXPECT_EQ(value, 2);
}

TEST_F(EffectGroupTest, GivesTheIdsOfEachEffectType) {
  uint32_t manufacturer = 0, unique = 0, type = 0;
  // The plain type is numbered first, the effect types after it.
  EXPECT_EQ(group->GetTypeIDs(3, &manufacturer, &unique, &type), 0);
  EXPECT_EQ(manufacturer, FourCC("KBYX"));
  EXPECT_EQ(unique, FourCC("KB30"));
  EXPECT_EQ(type, kStereo);
  EXPECT_EQ(group->GetTypeIDs(1, &manufacturer, &unique, &type), -77);
  EXPECT_EQ(CodeOf([&] { return group->GetTypeIDs(4, &manufacturer, &unique, &type); }), -7125);
}

TEST_F(EffectGroupTest, MatchesAPlugInSpecByKindGroupAndStems) {
  const auto spec = [](uint32_t manufacturer, uint32_t type) {
    SFicPlugInSpec s{};
    s.mManufacturerID = manufacturer;
    s.mTypeID = type;
    return s;
  };
  // Stereo channels find the stereo type from either type's name.
  SFicPlugInSpec s = spec(FourCC("KBYX"), kMono);
  EXPECT_EQ(group->MatchPlugInSpec(&s, 2, 2), 0);
  EXPECT_EQ(s.mTypeID, kStereo);
  EXPECT_EQ(s.mProductID, FourCC("KB30"));
  // -3: the kind is given and the named type's own counts are used.
  s = spec(FourCC("KBYX"), kMono);
  EXPECT_EQ(group->MatchPlugInSpec(&s, -3, 3), 0);
  EXPECT_EQ(s.mTypeID, kMono);
  s = spec(FourCC("KBYX"), kMono);
  EXPECT_EQ(group->MatchPlugInSpec(&s, -3, 0), -7055);

  struct {
    const char* what;
    SFicPlugInSpec spec;
    int32_t inputs, outputs;
    int32_t result;
  } const cases[] = {
      {"six channels", spec(FourCC("KBYX"), kMono), 6, 6, -7055},
      {"mono to stereo", spec(FourCC("KBYX"), kMono), 1, 2, -7055},
      {"another manufacturer", spec(FourCC("ACME"), kMono), 1, 1, -7055},
      {"not an effect type", spec(FourCC("KBYX"), MixedEffectGroup::kPlainType), 1, 1, -7055},
      {"unknown type", spec(FourCC("KBYX"), FourCC("none")), 1, 1, -7125},
  };
  for (const auto& c : cases) {
    SFicPlugInSpec copy = c.spec;
    EXPECT_EQ(CodeOf([&] { return group->MatchPlugInSpec(&copy, c.inputs, c.outputs); }), c.result) << c.what;
  }

  // With a stem of -1 the channel counts decide as well.
  s = spec(FourCC("KBYX"), kMono);
  EXPECT_EQ(group->MatchPlugInSpecFull(&s, 3, 1, 1, -1, 0), -7055);
}

TEST_F(EffectGroupTest, StampsAndChecksTheChunkHeader) {
  int32_t instance = 0;
  ASSERT_EQ(group->NewInstance(kMono, &instance), 0);
  const uint32_t elck = CEffectProcess::kControlsChunkID;
  int32_t size = 0;
  ASSERT_EQ(group->GetChunkSize(kMono, instance, elck, &size), 0);
  std::vector<uint8_t> bytes(static_cast<size_t>(size), 0xcc);
  auto* chunk = reinterpret_cast<SFicPlugInChunk*>(bytes.data());
  ASSERT_EQ(group->GetProcessChunk(kMono, instance, elck, chunk), 0);
  EXPECT_EQ(chunk->mSize, size);
  EXPECT_EQ(chunk->mProductNumber, 3u);
  EXPECT_EQ(chunk->mManufacturerID, FourCC("KBYX"));
  EXPECT_EQ(chunk->mUniqueID, FourCC("KB30"));
  EXPECT_EQ(chunk->mTypeID, kMono);
  EXPECT_EQ(chunk->mChunkID, elck);
  EXPECT_EQ(chunk->mReserved, 0);
  EXPECT_EQ(chunk->mHostBytes[0], 0xcc);

  const auto check = [&](const char* what, void (*change)(SFicPlugInChunk*), int32_t result) {
    std::vector<uint8_t> copy = bytes;
    auto* changed = reinterpret_cast<SFicPlugInChunk*>(copy.data());
    change(changed);
    EXPECT_EQ(group->SetProcessChunk(kMono, instance, elck, changed), result) << what;
    uint8_t equal = 9;
    EXPECT_EQ(group->CompareProcessChunk(kMono, instance, changed, &equal), result) << what;
    if (result == 0) {
      EXPECT_EQ(equal, 1) << what;
    }
  };
  check("as written", [](SFicPlugInChunk*) {}, 0);
  check("another product number", [](SFicPlugInChunk* c) { c->mProductNumber = 9; }, 0);
  check("another type id", [](SFicPlugInChunk* c) { c->mTypeID = FourCC("EFN2"); }, 0);
  check("another manufacturer", [](SFicPlugInChunk* c) { c->mManufacturerID = FourCC("ACME"); }, -7157);
  check("another unique id", [](SFicPlugInChunk* c) { c->mUniqueID = FourCC("XX99"); }, -7157);
}
