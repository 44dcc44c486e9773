#include "editor/IExtPresetMenuNew1.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/IPopupMenu.h"
#include "plugin/controller/FactoryPresets.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/ScratchFolder.h"
#include "tests/editor/BrimlowEditor.h"
#include "tests/editor/EditorFixture.h"
#include "tests/plugin/controller/PlugHost.h"

namespace {

using Lines = std::vector<std::string>;

// ---- Names and paths ------------------------------------------------------------

struct FitCase {
  std::string text;
  int n;
  std::string expected;
};

class FitText : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitText, LongNamesKeepTheirEndsAroundAnEllipsis) {
  const FitCase& c = GetParam();
  WDL_String out;
  IExtPresetMenuNew1::FitText(&out, c.text.c_str(), c.n);
  EXPECT_EQ(std::string(out.Get()), c.expected) << c.text << " in " << c.n;
}

const std::string kThirty = "Track:Vocal:Bright Air Lift 02";  // 30 characters

INSTANTIATE_TEST_SUITE_P(
    Names, FitText,
    ::testing::Values(
        // 22 characters: the first 9, " ... ", the last 8.
        FitCase{kThirty, 22, kThirty.substr(0, 9) + " ... " + kThirty.substr(30 - 8)},
        // Exactly n characters are shortened too; one fewer are not.
        FitCase{"abcdefg", 7, "a ... g"}, FitCase{"abcdef", 7, "abcdef"},
        // Exactly n: the first n / 2 - 2, then the last n - n / 2 - 3.
        FitCase{"Master:Brickwall 20k", 20, "Master:B ... all 20k"},
        // Below 7 there is no room for the ellipsis.
        FitCase{kThirty, 6, kThirty}, FitCase{"", 22, ""}));

struct SplitCase {
  const char* path;
  const char* folder;
  const char* name;
  const char* extension;
};

class SplitPath : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitPath, FolderNameAndExtension) {
  const SplitCase& c = GetParam();
  WDL_String folder, name, extension;
  IExtPresetMenuNew1::SplitPath(c.path, &folder, &name, &extension);
  EXPECT_STREQ(folder.Get(), c.folder) << c.path;
  EXPECT_STREQ(name.Get(), c.name) << c.path;
  EXPECT_STREQ(extension.Get(), c.extension) << c.path;
}

INSTANTIATE_TEST_SUITE_P(Paths, SplitPath,
                         ::testing::Values(SplitCase{"/a/b/mix.tps", "/a/b/", "mix", ".tps"},
                                           SplitCase{"/a/b.c/mix", "/a/b.c/", "mix", ""},
                                           SplitCase{"/a/x.tps.bak", "/a/", "x.tps", ".bak"},
                                           SplitCase{"/a/.hidden", "/a/", ".hidden", ""},
                                           SplitCase{"mix.xml", "", "mix", ".xml"}, SplitCase{"/a/", "/a/", "", ""},
                                           SplitCase{"", "", "", ""}));

// alphasort follows strcoll: in the C locale that is byte order.
class CollateInC {
 public:
  CollateInC() : mOld(std::setlocale(LC_COLLATE, nullptr)) { std::setlocale(LC_COLLATE, "C"); }
  ~CollateInC() { std::setlocale(LC_COLLATE, mOld.c_str()); }

 private:
  std::string mOld;
};

void Touch(const std::string& path) { std::ofstream(path) << "x"; }

TEST(ScanUserPresets, ListsTheFirstTwentyOneFilesOfTheExtensionInOrder) {
  CollateInC collate;
  ScratchFolder folder;
  std::vector<std::string> names;
  // Written in reverse so the order comes from the sort.
  for (int i = 24; i >= 0; --i) {
    const std::string name = std::string(1, static_cast<char>('a' + i)) + "mix";
    Touch(folder.PathOf(name + ".tps"));
    names.insert(names.begin(), name);
  }
  // Neither another extension, nor a folder, nor a name that only contains
  // the extension, nor the extension alone.
  Touch(folder.PathOf("Zmix.txt"));
  Touch(folder.PathOf("A.tps.bak"));
  Touch(folder.PathOf(".tps"));
  std::filesystem::create_directory(folder.PathOf("Bdir.tps"));

  IPopupMenu menu;
  EXPECT_EQ(IExtPresetMenuNew1::ScanUserPresets(&menu, (folder.Path() + "/").c_str(), ".tps", 20), 21);
  ASSERT_EQ(menu.GetNItems(), 21);
  for (int i = 0; i < 21; ++i) EXPECT_STREQ(menu.GetItemText(i), names[static_cast<size_t>(i)].c_str());

  IPopupMenu none;
  EXPECT_EQ(IExtPresetMenuNew1::ScanUserPresets(&none, folder.PathOf("missing/").c_str(), ".tps", 20), 0);
  EXPECT_EQ(IExtPresetMenuNew1::ScanUserPresets(&none, "", ".tps", 20), 0);
  EXPECT_EQ(none.GetNItems(), 0);
}

// ---- What the host hears ----------------------------------------------------------

// A working preset and three presets that differ in their gain.
class PresetBarNotifications : public EditorFixture {
 protected:
  PresetBarNotifications() {
    const double gains[EditorTestPlug::kNumPresets] = {0.0, 6.0, -6.0, 12.0};
    const char* names[EditorTestPlug::kNumPresets] = {"Working", "One", "Two", "Three"};
    for (int k = 0; k < EditorTestPlug::kNumPresets; ++k) {
      plug.SetValue(EditorTestPlug::kGain, gains[k]);
      EXPECT_TRUE(plug.MakePreset(names[k], {}));
    }
    plug.RestorePreset(0);
    IBitmap button = TwoFrames();
    bar = Attach(new IExtPresetMenuNew1(&plug, IRECT(0, 0, 200, 30), 0, 0, &button, IRECT(30, 0, 140, 22), nullptr,
                                        140, 0, &button, 170, 0, &button, -1, -1, folder.Path().c_str(), "tps", 22,
                                        nullptr, 0));
    plug.mHostValues.clear();
  }

  ScratchFolder folder;
  IExtPresetMenuNew1* bar = nullptr;
};

TEST_F(PresetBarNotifications, EveryAppliedPresetIsReportedValueByValue) {
  Click(180, 10);  // next
  EXPECT_STREQ(plug.GetPresetName(0), "One");
  EXPECT_EQ(plug.GetParam(EditorTestPlug::kGain)->Value(), 6.0);
  EXPECT_EQ(plug.mAllParamsNotified, 1);
  // Then each value once more, normalised.
  ASSERT_EQ(plug.mHostValues.size(), static_cast<size_t>(EditorTestPlug::kNumParams));
  EXPECT_EQ(plug.mHostValues[EditorTestPlug::kGain].second, plug.GetParam(EditorTestPlug::kGain)->GetNormalized());

  Click(180, 10);
  Click(180, 10);
  EXPECT_EQ(bar->GetPresetIdx(), 3);
  EXPECT_EQ(plug.mAllParamsNotified, 3);
  // At the last preset "next" tells the host nothing.
  Click(180, 10);
  EXPECT_EQ(plug.mAllParamsNotified, 3);

  // Saving tells nothing; loading the file tells every parameter; a
  // refused file nothing.
  graphics->AnswerFile(folder.PathOf("mine.tps"), folder.Path() + "/");
  graphics->Choose({3});
  Click(10, 10);
  EXPECT_EQ(plug.mAllParamsNotified, 3);
  plug.SetValue(EditorTestPlug::kGain, 1.0);
  graphics->AnswerFile(folder.PathOf("mine.tps"), folder.Path() + "/");
  graphics->Choose({0});
  Click(10, 10);
  EXPECT_EQ(plug.GetParam(EditorTestPlug::kGain)->Value(), 12.0);
  EXPECT_EQ(plug.mAllParamsNotified, 4);
  graphics->AnswerFile(folder.PathOf("missing.tps"), folder.Path() + "/");
  graphics->Choose({0});
  Click(10, 10);
  EXPECT_EQ(plug.mAllParamsNotified, 4);
  // Without a default record, "Reset to Default" has nothing to restore.
  graphics->Choose({1});
  Click(10, 10);
  EXPECT_EQ(plug.mAllParamsNotified, 4);
  EXPECT_EQ(plug.GetParam(EditorTestPlug::kGain)->Value(), 12.0);
}

// ---- The bar on the plug-in ---------------------------------------------------------

// The bar as the layout places it, over the plug-in's sixteen presets.
class PresetBar : public BrimlowEditorTest {
 protected:
  static constexpr int kPresetsX = 340, kPrevX = 550, kNextX = 580, kY = 15;

  void SetUp() override {
    BrimlowEditorTest::SetUp();
    graphics->SetBitmapScale(kBitmapResolution, kBitmapResolution);
    graphics->mLoadResource = MakeTestResource;
    IBitmap button = graphics->LoadBitmap(kTwoFrames, "button.png", 2);
    const IText style(13, kColorWhite);
    bar = new IExtPresetMenuNew1(plug.get(), IRECT(331, 7, 594, 30), 331, 7, &button, IRECT(356, 7, 540, 29), &style,
                                 543, 7, &button, 571, 7, &button, 143, -1, plug->DataPath().Get(), "tps", 22,
                                 &plug->DefaultPreset(), 0);
    graphics->AttachControl(bar);
  }

  void Next() { Click(kNextX, kY); }
  void Prev() { Click(kPrevX, kY); }
  void Menu(std::vector<int> path) {
    graphics->Choose(std::move(path));
    Click(kPresetsX, kY);
  }

  double Value(int idx) const { return plug->GetParam(idx)->Value(); }
  void SetFromHost(int idx, double value) { PlugHost::SetParam(*plug, idx, value, false); }
  // What preset k (1 .. 15) sets for the first band's type and frequency.
  static const FactoryBand& FirstBandOf(int k) { return kFactoryPresets[k - 1].bands[0]; }
  void ExpectFactoryPreset(int k) {
    EXPECT_EQ(bar->GetPresetIdx(), k);
    EXPECT_STREQ(plug->GetPresetName(0), kFactoryPresets[k - 1].name);
    EXPECT_EQ(plug->GetCurrentPresetIdx(), 0);
    EXPECT_EQ(Value(BandParamIndex(0, kBandType)), FirstBandOf(k).type) << k;
    EXPECT_NEAR(Value(BandParamIndex(0, kBandFreq)), FirstBandOf(k).freqHz, 1e-9) << k;
  }

  IExtPresetMenuNew1* bar = nullptr;
};

TEST_F(PresetBar, PreviousAndNextWalkTheFactoryPresetsWithoutWrapping) {
  EXPECT_EQ(bar->GetPrevRect(), IRECT(543, 7, 573, 29));
  EXPECT_EQ(bar->GetNextRect(), IRECT(571, 7, 601, 29));
  ASSERT_EQ(plug->NPresets(), 16);
  // A display setting is no part of a preset: it stays.
  SetFromHost(kParamFScale, 20.0);

  // Nothing before the first, and previous from nowhere does nothing.
  Prev();
  EXPECT_EQ(bar->GetPresetIdx(), -1);
  EXPECT_STREQ(plug->GetPresetName(0), "Init");
  Next();
  ExpectFactoryPreset(1);
  for (int k = 2; k <= 15; ++k) {
    Next();
    ExpectFactoryPreset(k);
  }
  Next();
  ExpectFactoryPreset(15);
  for (int k = 14; k >= 1; --k) {
    Prev();
    ExpectFactoryPreset(k);
  }
  Prev();
  ExpectFactoryPreset(1);
  EXPECT_DOUBLE_EQ(Value(kParamFScale), 20.0);
}

TEST_F(PresetBar, TheMenuListsTheCommandsAndTheFactoryPresetsAndAppliesOne) {
  Next();
  graphics->Dismiss();
  Click(400, kY);  // the name opens the menu too
  ASSERT_EQ(graphics->mShown.size(), 1u);
  EXPECT_EQ(graphics->LastMenu().Lines(), (Lines{"Load Preset...", "Reset to Default", "---", "Save Preset...",
                                                 "Save as Default", "---", "Factory >"}));
  const Lines factory = graphics->LastMenu().SubmenuLines("Factory");
  ASSERT_EQ(factory.size(), 15u);
  EXPECT_EQ(factory[0], std::string(kFactoryPresets[0].name) + "*");
  EXPECT_EQ(factory[14], kFactoryPresets[14].name);
  EXPECT_EQ(bar->GetPresetIdx(), 1);  // a dismissed menu keeps it

  Menu({6, 2});
  ExpectFactoryPreset(3);
  Next();
  ExpectFactoryPreset(4);
  // The "Factory" item itself is no choice.
  Menu({6});
  ExpectFactoryPreset(4);
}

TEST_F(PresetBar, ASavedPresetIsListedUnderUserAndLoadsBack) {
  const int gain = BandParamIndex(1, kBandGain);
  const int freq = BandParamIndex(1, kBandFreq);
  SetFromHost(gain, 7.5);
  SetFromHost(freq, 2500.0);
  // The typed extension is replaced by the preset files' own.
  graphics->AnswerFile(DataFolder() + "mix.xml", DataFolder());
  Menu({3});
  ASSERT_EQ(graphics->mOffers.size(), 1u);
  EXPECT_EQ(graphics->mOffers[0].action, 1);
  EXPECT_EQ(graphics->mOffers[0].folder, DataFolder());
  EXPECT_EQ(graphics->mOffers[0].extensions, "tps");
  EXPECT_TRUE(std::filesystem::exists(DataFolder() + "mix.tps"));
  EXPECT_FALSE(std::filesystem::exists(DataFolder() + "mix.xml"));
  EXPECT_EQ(bar->GetPresetIdx(), -1);

  SetFromHost(gain, 0.0);
  SetFromHost(freq, 100.0);
  graphics->Dismiss();
  Click(kPresetsX, kY);
  EXPECT_EQ(graphics->LastMenu().Lines().back(), "User >");
  EXPECT_EQ(graphics->LastMenu().SubmenuLines("User"), Lines{"mix"});

  Menu({8, 0});
  EXPECT_DOUBLE_EQ(Value(gain), 7.5);
  EXPECT_NEAR(Value(freq), 2500.0, 1e-9);
  EXPECT_STREQ(plug->GetPresetName(0), "mix");
  EXPECT_EQ(std::string(bar->GetLastPresetPath()), DataFolder() + "mix.tps");
  // What the preset restores stays after a state round trip: preset 0 holds it.
  SetFromHost(gain, -3.0);
  ASSERT_TRUE(plug->RestorePreset(0, true));
  EXPECT_DOUBLE_EQ(Value(gain), 7.5);

  // The same file through the open dialog; "next" starts again at 1.
  SetFromHost(gain, 1.0);
  graphics->AnswerFile(DataFolder() + "mix.tps", DataFolder());
  Menu({0});
  EXPECT_EQ(graphics->mOffers.back().action, 0);
  EXPECT_DOUBLE_EQ(Value(gain), 7.5);
  Next();
  ExpectFactoryPreset(1);
}

TEST_F(PresetBar, ARefusedFileChangesNothing) {
  const int gain = BandParamIndex(2, kBandGain);
  // An unsaved change: the working preset's record still holds the old gain.
  SetFromHost(gain, 5.0);
  const std::string other = DataFolder() + "other.tps";
  std::ofstream(other) << "<?xml version=\"1.0\" ?>\n<PresetXMLTree version=\"1\">\n"
                          "    <PluginVendor>Elsewhere</PluginVendor>\n    <PluginName>Brimlow</PluginName>\n"
                          "    <PluginVersion>3.2.3</PluginVersion>\n    <Preset name=\"Theirs\">\n"
                          "        <Parameter>\n            <Param name=\"Gain 3\" val=\"-9.000000\" />\n"
                          "        </Parameter>\n    </Preset>\n</PresetXMLTree>\n";
  const std::string broken = DataFolder() + "broken.tps";
  std::ofstream(broken) << "<PresetXMLTree><PluginVendor>Kestrelbay";
  const std::string wrongExtension = DataFolder() + "other.xml";
  std::filesystem::copy_file(other, wrongExtension);

  for (const std::string& path : {other, broken, wrongExtension, DataFolder() + "missing.tps", DataFolder()}) {
    graphics->AnswerFile(path, DataFolder());
    Menu({0});
    EXPECT_DOUBLE_EQ(Value(gain), 5.0) << path;
    EXPECT_STREQ(plug->GetPresetName(0), "Init") << path;
  }
  // The user list offers the refused files as well; choosing one is refused alike.
  Menu({8, 0});
  EXPECT_STREQ(graphics->LastMenu().SubmenuLines("User")[0].c_str(), "broken");
  EXPECT_DOUBLE_EQ(Value(gain), 5.0);
  EXPECT_TRUE(graphics->mMessageBoxes.empty());
}

TEST_F(PresetBar, ResetToDefaultRestoresTheDefaultRecordsPresetParameters) {
  Menu({6, 2});
  SetFromHost(kParamFScale, 20.0);
  Menu({1});
  EXPECT_EQ(bar->GetPresetIdx(), -1);
  EXPECT_STREQ(plug->GetPresetName(0), "Factory Default");
  for (int p = kParamFirstBand; p < kParamFScale; ++p) {
    EXPECT_EQ(Value(p), plug->GetParam(p)->GetDefault()) << p;
  }
  EXPECT_DOUBLE_EQ(Value(kParamFScale), 20.0);
  Next();
  ExpectFactoryPreset(1);
}

TEST_F(PresetBar, SaveAsDefaultWritesTheUserDefaultFile) {
  const std::string saved = std::string(plug->HostFormatPath().Get()) + "default.tps";
  std::filesystem::remove(saved);
  Menu({4});
  EXPECT_TRUE(std::filesystem::exists(saved));
  // Cancelled dialogs load and save nothing.
  graphics->CancelFile();
  Menu({0});
  graphics->CancelFile();
  Menu({3});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(DataFolder()), std::filesystem::directory_iterator()),
            1);  // the host-format folder alone
}

TEST_F(PresetBar, TheBarShowsTheCurrentPresetsNameAndFollowsTheScale) {
  const std::string longName(100, 'n');
  plug->SetPresetName(0, longName.c_str());
  IRECT all(0, 0, Brimlow::kEditorWidth, Brimlow::kEditorHeight);
  graphics->Draw(&all);
  EXPECT_EQ(std::string(bar->GetNameText()), longName);
  EXPECT_EQ(std::string(bar->GetTooltip()), longName.substr(0, 79));

  graphics->SetGUIScale(1.5, 1.5);
  graphics->RescaleControls(Brimlow::kEditorWidth, Brimlow::kEditorHeight, 1.5, 1.5);
  EXPECT_EQ(bar->GetRECT(), IRECT(496, 10, 496 + 394, 10 + 34));
  EXPECT_EQ(bar->GetTextRect(), IRECT(534, 10, 810, 43));
  EXPECT_EQ(bar->GetNextRect(), IRECT(856, 10, 901, 43));
  EXPECT_EQ(bar->GetText().mSize, 19);
}

}  // namespace
