#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/IPlugBase.h"
#include "tests/framework/PresetDocument.h"
#include "tests/framework/TestParams.h"
#include "tests/framework/TestPlug.h"

namespace fs = std::filesystem;

namespace {

struct MixedPlug : TestPlug {
  explicit MixedPlug(bool xml = true, int nPresets = 2) : TestPlug(kTestParams, "1-1", 0, kAPIRTAS, nPresets) {
    DefineMixedParams(*this);
    if (xml) UseXML(*this);
  }
};

const WDL_String kVendor("Kestrelbay"), kProduct("Brimlow"), kVersion("3.2.3"), kExtension(".tps");

class PresetFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "brimlow-presets-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    mDir = pattern;
    mFolder.Set((mDir.string() + "/").c_str());
  }
  void TearDown() override { fs::remove_all(mDir); }

  bool Write(IPlugBase& plug, const char* file, WDL_String* name, bool flaggedOnly = false, const char* data = nullptr) {
    WDL_String directory(mFolder.Get());
    return plug.WritePresetXMLFile(kVendor, kProduct, kVersion, directory, WDL_String(file), kExtension, *name,
                                   flaggedOnly, data != nullptr, WDL_String(data ? data : ""));
  }
  bool Load(IPlugBase& plug, const char* file, WDL_String* name, WDL_String* data, bool flaggedOnly = false) {
    return plug.LoadPresetFromXMLWithData(kVendor, kProduct, kVersion, mFolder, WDL_String(file), kExtension, *name,
                                          flaggedOnly, data != nullptr, *data);
  }
  void WriteText(const char* file, const std::string& text) {
    std::ofstream(mDir / (std::string(file) + ".tps")) << text;
  }
  std::string ReadText(const char* file) {
    std::ifstream in(mDir / (std::string(file) + ".tps"));
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::vector<std::string> DirectoryEntries() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(mDir)) names.push_back(entry.path().filename().string());
    return names;
  }

  fs::path mDir;
  WDL_String mFolder;
};

}  // namespace

TEST_F(PresetFiles, EveryParameterAndTheTextsComeBackExactly) {
  MixedPlug source, target;
  SetDistinctValues(source, 1);
  SetDistinctValues(target, 2);
  WDL_String name("Saved & <named>");
  WDL_String directory(mFolder.Get());
  ASSERT_TRUE(source.WritePresetXMLFile(kVendor, kProduct, kVersion, directory, WDL_String("one"), kExtension, name,
                                        false, true, WDL_String("Label text")));
  EXPECT_EQ(std::string(directory.Get()), mDir.string() + "/one.tps");  // the directory holds the full path

  WDL_String loadedName, data("unchanged");
  target.mChanged.clear();
  ASSERT_TRUE(Load(target, "one", &loadedName, &data));
  EXPECT_EQ(ParamValues(target), ParamValues(source));
  EXPECT_STREQ(loadedName.Get(), "Saved & <named>");
  EXPECT_STREQ(data.Get(), "Label text");
  EXPECT_TRUE(target.mChanged.empty());  // the caller announces the changes
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"one.tps"});  // no temporary left
}

TEST_F(PresetFiles, EmptyNameBecomesTheCurrentPresetsName) {
  MixedPlug plug;
  ASSERT_TRUE(plug.MakePresetFromNamedParamsAt(1, "Current one", {}));
  ASSERT_TRUE(plug.RestorePreset(1));
  WDL_String name;
  ASSERT_TRUE(Write(plug, "named", &name));
  EXPECT_STREQ(name.Get(), "Current one");
  EXPECT_NE(ReadText("named").find("<Preset name=\"Current one\">"), std::string::npos);
}

TEST_F(PresetFiles, FlaggedOnlyWritesAndLoadsOnlyFlaggedParameters) {
  MixedPlug source, target;
  ASSERT_TRUE(source.GetParam(kNamelessParam)->IsFlagged());
  ASSERT_FALSE(source.GetParam(kNamelessParam - 1)->IsFlagged());  // left out just before it
  SetDistinctValues(source, 3);
  SetDistinctValues(target, 4);
  const std::vector<double> before = ParamValues(target);
  WDL_String name("F");
  ASSERT_TRUE(Write(source, "flagged", &name, true));
  const std::string text = ReadText("flagged");
  EXPECT_EQ(text.find("name=\"Param 0\""), std::string::npos);  // unflagged
  EXPECT_NE(text.find("name=\"Param 1\""), std::string::npos);

  WDL_String loadedName, data;
  ASSERT_TRUE(Load(target, "flagged", &loadedName, &data, true));
  for (int i = 0; i < kTestParams; ++i) {
    EXPECT_EQ(target.GetParam(i)->Value(), target.GetParam(i)->IsFlagged() ? source.GetParam(i)->Value() : before[i])
        << i;
  }
}

class PresetFileRejection : public PresetFiles, public ::testing::WithParamInterface<RejectedDocument> {};

TEST_P(PresetFileRejection, ChangesNeitherParametersNorRecordNorOutputs) {
  PresetDocument doc;
  doc.*GetParam().part = GetParam().replacement;
  WriteText("bad", doc.Text());

  MixedPlug plug;
  SetDistinctValues(plug, 5);
  ASSERT_TRUE(plug.MakePresetFromNamedParamsAt(1, "Record", {}));
  const std::vector<double> before = ParamValues(plug);
  const ChunkBuffer chunkBefore = plug.GetPreset(1)->mChunk;

  WDL_String name("name before"), data("data before");
  EXPECT_FALSE(Load(plug, "bad", &name, &data));
  EXPECT_EQ(ParamValues(plug), before);
  EXPECT_STREQ(name.Get(), "name before");
  EXPECT_STREQ(data.Get(), "data before");

  IPreset* record = plug.GetPreset(1);
  EXPECT_FALSE(plug.LoadPresetFromXML(kVendor, kProduct, kVersion, record, mFolder, WDL_String("bad"), kExtension,
                                      false));
  EXPECT_STREQ(record->mName, "Record");
  EXPECT_TRUE(record->mChunk.IsEqual(chunkBefore));

  IPreset* empty = plug.GetPreset(0);
  EXPECT_FALSE(plug.LoadPresetFromXML(kVendor, kProduct, kVersion, empty, mFolder, WDL_String("bad"), kExtension,
                                      false));
  EXPECT_FALSE(empty->mInitialized);
  EXPECT_STREQ(empty->mName, "empty 0");
}

INSTANTIATE_TEST_SUITE_P(Documents, PresetFileRejection, ::testing::ValuesIn(kRejectedDocuments),
                         [](const ::testing::TestParamInfo<RejectedDocument>& info) {
                           std::string name;
                           for (const char* c = info.param.what; *c; ++c) name += std::isalnum(*c) ? *c : '_';
                           return name;
                         });

TEST_F(PresetFiles, MissingFileIsRefused) {
  MixedPlug plug;
  WDL_String name, data;
  EXPECT_FALSE(Load(plug, "absent", &name, &data));
  EXPECT_FALSE(plug.TestPresetXMLFile(kVendor, kProduct, kVersion, mFolder, WDL_String("absent"), kExtension));
}

TEST_F(PresetFiles, DeeplyNestedFileIsRefusedWithoutCrashing) {
  std::string deep;
  for (int i = 0; i < 200000; ++i) deep += "<a>";
  WriteText("deep", deep);
  MixedPlug plug;
  WDL_String name, data;
  EXPECT_FALSE(Load(plug, "deep", &name, &data));
  EXPECT_FALSE(plug.TestPresetXMLFile(kVendor, kProduct, kVersion, mFolder, WDL_String("deep"), kExtension));
}

TEST_F(PresetFiles, TextEndsAtTheFirstNul) {
  // Found by fuzzing: after a UTF-8 lead byte the parser stepped over the
  // NUL that ends the text and read on into the rest of the file, which
  // here completes the document.
  PresetDocument cut;
  cut.presetTag = std::string("<Preset name=\"Loaded\xE7") + '\0' + "x\">";
  WriteText("cut", cut.Text());
  // A whole document followed by a NUL and anything still loads.
  WriteText("tail", PresetDocument().Text() + '\0' + "<Stray");

  MixedPlug plug;
  const std::vector<double> before = ParamValues(plug);
  WDL_String name, data;
  EXPECT_FALSE(Load(plug, "cut", &name, &data));
  EXPECT_EQ(ParamValues(plug), before);
  EXPECT_TRUE(Load(plug, "tail", &name, &data));
  EXPECT_EQ(plug.GetParam(3)->Value(), 12.5);
  EXPECT_STREQ(name.Get(), "Loaded");
}

TEST_F(PresetFiles, TestPresetXMLFileAsksOnlyForXML) {
  MixedPlug plug;
  WriteText("other", "<?xml version=\"1.0\" ?>\n<Anything />\n");
  WriteText("garbage", "not < xml");
  EXPECT_TRUE(plug.TestPresetXMLFile(kVendor, kProduct, kVersion, mFolder, WDL_String("other"), kExtension));
  EXPECT_FALSE(plug.TestPresetXMLFile(kVendor, kProduct, kVersion, mFolder, WDL_String("garbage"), kExtension));
}

class LoadPresetFromXMLTest : public PresetFiles, public ::testing::WithParamInterface<bool> {};

TEST_P(LoadPresetFromXMLTest, FillsARecordFromDefaultsAndTheFile) {
  const bool xml = GetParam();
  PresetDocument doc;
  doc.presetTag = "<Preset name=\"" + std::string(300, 'r') + "\">";
  doc.parameter =
      "<Parameter><Param name=\"Param 11\" val=\"12.5\" /><Param name=\"Param 15\" val=\"5\" />"
      "<Param name=\"Param 7\" val=\"1e6\" /></Parameter>";
  WriteText("record", doc.Text());

  MixedPlug plug(xml, 1);
  SetDistinctValues(plug, 6);
  const std::vector<double> live = ParamValues(plug);
  IPreset* record = plug.GetPreset(0);
  ASSERT_TRUE(plug.LoadPresetFromXML(kVendor, kProduct, kVersion, record, mFolder, WDL_String("record"), kExtension,
                                     true));
  EXPECT_EQ(ParamValues(plug), live);
  EXPECT_TRUE(record->mInitialized);
  EXPECT_EQ(std::string(record->mName), std::string(255, 'r'));

  // Restoring clamps what the record stored unclamped; parameter 15 is
  // unflagged, so the flagged-only load left it at its default.
  ASSERT_TRUE(plug.RestorePreset(0));
  for (int i = 0; i < kTestParams; ++i) {
    double expected = plug.GetParam(i)->GetDefault();
    if (i == 11) expected = 12.5;
    if (i == 7) expected = 20000.0;
    EXPECT_EQ(plug.GetParam(i)->Value(), expected) << i;
  }
  if (!xml) {
    double stored = 0.0;
    record->mChunk.Get(&stored, 8 * 7);
    EXPECT_EQ(stored, 1e6);
  }
}

INSTANTIATE_TEST_SUITE_P(BinaryAndXML, LoadPresetFromXMLTest, ::testing::Bool());

TEST_F(PresetFiles, OverwriteReplacesTheWholeFile) {
  MixedPlug big;
  WDL_String name("Big");
  ASSERT_TRUE(Write(big, "same", &name));
  TestPlug small(1, "1-1");
  UseXML(small);
  small.GetParam(0)->InitDouble("Only", 2.0, 0, 10, 0.1);
  name.Set("Small");
  ASSERT_TRUE(Write(small, "same", &name));
  const std::string text = ReadText("same");
  EXPECT_EQ(text.find("Param 1"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 17), "</PresetXMLTree>\n");
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"same.tps"});
}

TEST_F(PresetFiles, FailedWriteLeavesNoTemporaryAndReportsFailure) {
  MixedPlug plug;
  fs::create_directory(mDir / "taken.tps");  // a folder where the file should go
  WDL_String name("N");
  EXPECT_FALSE(Write(plug, "taken", &name));
  EXPECT_TRUE(fs::is_directory(mDir / "taken.tps"));
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"taken.tps"});

  WDL_String missing((mDir.string() + "/no/such/folder/").c_str());
  EXPECT_FALSE(plug.WritePresetXMLFile(kVendor, kProduct, kVersion, missing, WDL_String("x"), kExtension, name, false,
                                       false, WDL_String()));
}
