// The plug-in's group as the host sees it through the bundle's exports.
#include <string>

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
  // The group's own feature and the category.
  int32_t feature = 0;
  host->Call<uint32_t, int32_t, int32_t*>(93, kEFN1, 14, &feature);
  EXPECT_EQ(feature, 1);
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
