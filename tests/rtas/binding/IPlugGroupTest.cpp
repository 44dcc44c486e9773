// The plug-in's group as the host sees it through the bundle's exports.
#include <string>

#include "rtas/binding/IPlugGroup.h"
#include "rtas/library/HostRecords.h"
#include "tests/rtas/binding/BundleHost.h"

namespace {

std::string Pascal(const char* text) { return std::string(text + 1, text + 1 + static_cast<unsigned char>(text[0])); }

}  // namespace

using IPlugGroupExports = BundleHost;

TEST_F(IPlugGroupExports, TypesAppearOnceHostBasedTypesAreEnabled) {
  host = std::make_unique<StandInHost>(StandInHost::DefaultBundle(), 512, false);
  EXPECT_EQ(host->CountTypes(), 0);
  ASSERT_EQ(host->Call<int32_t>(7, 48000), 0);
  ASSERT_EQ(host->Call<int32_t>(91, 3), 0);
  EXPECT_EQ(host->CountTypes(), 2);
}

TEST_F(IPlugGroupExports, EachTypeCarriesTheIdentity) {
  StartHost();
  struct Row {
    int32_t index;
    int32_t result;
    uint32_t type;
  };
  for (const Row& row : {Row{1, 0, kEFN1}, Row{2, 0, kEFN2}, Row{3, -7125, 0}}) {
    uint32_t manufacturer = 0, unique = 0, type = 0;
    EXPECT_EQ(host->TypeIDs(row.index, &manufacturer, &unique, &type), row.result) << row.index;
    if (row.result != 0) continue;
    EXPECT_EQ(manufacturer, kKBYX);
    EXPECT_EQ(unique, kKB30);
    EXPECT_EQ(type, row.type);
  }
}

TEST_F(IPlugGroupExports, NamesVersionAndChannels) {
  StartHost();
  char text[256] = {};
  ASSERT_EQ((host->Call<int32_t, char*>(12, 31, text)), 0);
  EXPECT_EQ(Pascal(text), "Kestrelbay");
  for (uint32_t type : {kEFN1, kEFN2}) {
    std::memset(text, 0, sizeof(text));
    ASSERT_EQ((host->Call<uint32_t, int32_t, char*>(5, type, 31, text)), 0);
    EXPECT_EQ(Pascal(text), "Brimlow");
  }
  EXPECT_EQ(host->Call<>(75), 3);

  struct Row {
    uint32_t type;
    int16_t channels;
  };
  for (const Row& row : {Row{kEFN1, 1}, Row{kEFN2, 2}}) {
    int16_t inputs = -1, outputs = -1;
    host->Call<uint32_t, int32_t, int16_t*>(10, row.type, 1, &inputs);
    host->Call<uint32_t, int32_t, int16_t*>(17, row.type, 1, &outputs);
    EXPECT_EQ(inputs, row.channels);
    EXPECT_EQ(outputs, row.channels);
  }
  // The group's own feature, then the types': the category, the type word
  // and the three features each type is given.
  struct Feature {
    int32_t feature, answer;
  };
  for (uint32_t type : {kEFN1, kEFN2}) {
    for (const Feature& f : {Feature{14, 1}, Feature{21, 1}, Feature{32, 6}, Feature{8, 1}, Feature{48, 1},
                             Feature{55, 1}, Feature{9, 0}}) {
      int32_t answer = -1;
      host->Call<uint32_t, int32_t, int32_t*>(93, type, f.feature, &answer);
      EXPECT_EQ(answer, f.answer) << f.feature;
    }
  }
  struct Stems {
    uint32_t type;
    int32_t stem;
  };
  for (const Stems& row : {Stems{kEFN1, 0}, Stems{kEFN2, 1}}) {
    SFicPlugInStemFormats stems{{-2, -2, -2}};
    ASSERT_EQ((host->Call<uint32_t, int32_t, SFicPlugInStemFormats*>(137, row.type, 0, &stems)), 0);
    EXPECT_EQ(stems.mFormat[0], row.stem);
    EXPECT_EQ(stems.mFormat[1], row.stem);
    EXPECT_EQ(stems.mFormat[2], 0);
  }
}

TEST_F(IPlugGroupExports, InstancesTakeTheLowestFreeNumber) {
  StartHost();
  EXPECT_EQ(host->CreateInstance(kEFN1), 1);
  EXPECT_EQ(host->CreateInstance(kEFN1), 2);
  EXPECT_EQ(host->CreateInstance(kEFN2), 1);
  EXPECT_EQ(host->RemoveInstance(kEFN1, 1), 0);
  EXPECT_EQ(host->CreateInstance(kEFN1), 1);
  // Every instance reaches the host's registry with its own record.
  for (int32_t number : {1, 2}) {
    const StructureRegistry::Instance* found = host->Registry().FindInstance(kEFN1, number);
    ASSERT_NE(found, nullptr) << number;
    EXPECT_EQ(found->manufacturerID, kKBYX);
    EXPECT_EQ(found->uniqueID, kKB30);
    EXPECT_EQ(found->inputs, 1u);
    EXPECT_EQ(found->outputs, 1u);
  }
  const StructureRegistry::Instance* stereo = host->Registry().FindInstance(kEFN2, 1);
  ASSERT_NE(stereo, nullptr);
  EXPECT_EQ(stereo->inputs, 2u);
  EXPECT_EQ(host->Registry().Faults(), 0);
}

TEST(IPlugGroupTables, CategoriesAndStemFormats) {
  struct Category {
    const char* name;
    int32_t value;
  };
  for (const Category& c : {Category{"None", 0}, Category{"EQ", 1}, Category{"Reverb", 8},
                            Category{"SoundField", 512}, Category{"eq", 8192}, Category{"", 8192}}) {
    EXPECT_EQ(IPlugGroup::CategoryValue(c.name), c.value) << c.name;
  }
  const int32_t stems[] = {-1, 0, 1, 2, 3, 5, 6, 8, 12, -1, -1};
  for (int channels = 0; channels < 11; ++channels) EXPECT_EQ(IPlugGroup::StemFormat(channels), stems[channels]);
  EXPECT_EQ(IPlugGroup::StemFormat(-1), -1);
}
