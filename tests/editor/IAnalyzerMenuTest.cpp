#include "editor/IAnalyzerMenu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "plugin/engine/ParamIndex.h"
#include "tests/ScratchFolder.h"
#include "tests/editor/BrimlowEditor.h"
#include "tests/editor/EditorFixture.h"

namespace {

using Lines = std::vector<std::string>;
using Kind = IAnalyzerMenu::EKind;
using Action = IAnalyzerMenu::EAction;

constexpr int kLoadTag = 146, kSaveTag = 145, kResetTag = 147;

// The layout's kinds of entry, on the test plug-in's parameters.
class AnalyzerMenu : public EditorFixture {
 protected:
  AnalyzerMenu() {
    IBitmap bitmap = TwoFrames();
    menu = Attach(new IAnalyzerMenu(&plug, 200, 80, &bitmap));
    menu->AddMenuEntry("Show Grid", EditorTestPlug::kShowGrid, Kind::kKindToggle);
    menu->AddMenuEntry("Spectrogram", EditorTestPlug::kSpectrogram, Kind::kKindSubmenu3);
    menu->AddMenuEntry("", -1, Kind::kKindToggle);
    menu->AddMenuEntry("Load Reference File (ref/wav/aiff)", kLoadTag, Kind::kKindCommand, Action::kActionOpenFile);
    menu->AddMenuEntry("Save Reference File (ref)", kSaveTag, Kind::kKindCommand, Action::kActionSaveFile);
    menu->AddMenuEntry("Reset Analyzer View", kResetTag, Kind::kKindCommand, Action::kActionCommand);
    menu->AddMenuEntry("EQ Cheat Sheet", EditorTestPlug::kFilterMode, Kind::kKindSubmenu1);
    menu->SetOpenFolder("/home/user/refs/");
    menu->SetOpenExtensions("ref wav aiff");
    menu->SetSaveFolder("/home/user/saved/");
    menu->SetSaveExtensions("ref");
  }

  void Open() { Click(210, 90); }

  IAnalyzerMenu* menu;
};

TEST_F(AnalyzerMenu, EntriesBuildTheMenuByKindAndEachSubmenuKindBindsOnce) {
  EXPECT_EQ(menu->GetRECT(), IRECT(200, 80, 230, 102));
  EXPECT_EQ(menu->ParamIdx(), -1);
  const Lines expected{"Show Grid", "Spectrogram >", "---", "Load Reference File (ref/wav/aiff)",
                       "Save Reference File (ref)", "Reset Analyzer View", "EQ Cheat Sheet >"};
  ASSERT_EQ(ShownMenu::Lines(ShownMenu::Copy(menu->GetMainMenu())), expected);
  EXPECT_EQ(menu->NEntries(), 7);
  EXPECT_EQ(menu->GetEntry(2).param, -1);
  EXPECT_TRUE(menu->GetEntry(3).isCommand);
  EXPECT_EQ(menu->GetEntry(3).action, Action::kActionOpenFile);
  EXPECT_TRUE(menu->GetEntry(6).isSubmenu);

  // A second entry of a bound kind, and an unknown kind, change nothing.
  menu->AddMenuEntry("Again", EditorTestPlug::kType, Kind::kKindSubmenu3);
  menu->AddMenuEntry("Odd", EditorTestPlug::kType, 7);
  EXPECT_EQ(menu->NEntries(), 7);
  EXPECT_EQ(ShownMenu::Lines(ShownMenu::Copy(menu->GetMainMenu())), expected);

  graphics->Dismiss();
  Open();
  EXPECT_EQ(graphics->LastMenu().SubmenuLines("Spectrogram"), (Lines{"Off*", "Standard", "Heat map"}));
  EXPECT_EQ(graphics->LastMenu().SubmenuLines("EQ Cheat Sheet")[0], "Zero Latency*");
  EXPECT_EQ(graphics->LastMenu().SubmenuLines("EQ Cheat Sheet").size(), 7u);
}

TEST_F(AnalyzerMenu, CheckMarksFollowTheValuesAtValueOneForToggleAndSubmenuAlike) {
  const struct {
    double grid, spectrogram;
    Lines main;  // the first two items
    Lines spectrogramMenu;
  } cases[] = {
      {1, 1, {"Show Grid*", "Spectrogram* >"}, {"Off", "Standard*", "Heat map"}},
      {0, 0, {"Show Grid", "Spectrogram >"}, {"Off*", "Standard", "Heat map"}},
      // A parent item is flagged only at exactly 1, not at any value but 0.
      {0, 2, {"Show Grid", "Spectrogram >"}, {"Off", "Standard", "Heat map*"}},
  };
  for (const auto& c : cases) {
    plug.SetValue(EditorTestPlug::kShowGrid, c.grid);
    plug.SetValue(EditorTestPlug::kSpectrogram, c.spectrogram);
    graphics->Dismiss();
    Open();
    const Lines lines = graphics->LastMenu().Lines();
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 2), c.main);
    EXPECT_EQ(graphics->LastMenu().SubmenuLines("Spectrogram"), c.spectrogramMenu);
  }
}

TEST_F(AnalyzerMenu, AChoiceIsStoredStraightIntoTheParameterAndHandedToThePlugIn) {
  const struct {
    std::vector<int> path;
    int param;
    double before, after;
  } cases[] = {
      {{0}, EditorTestPlug::kShowGrid, 1, 0},        // a checked toggle goes off
      {{0}, EditorTestPlug::kShowGrid, 0, 1},        // an unchecked one on
      {{1, 2}, EditorTestPlug::kSpectrogram, 0, 2},  // the third text of a submenu
      {{6, 4}, EditorTestPlug::kFilterMode, 1, 4},
  };
  for (const auto& c : cases) {
    plug.SetValue(c.param, c.before);
    plug.mChanged.clear();
    graphics->Choose(c.path);
    Open();
    EXPECT_EQ(plug.GetParam(c.param)->Value(), c.after);
    EXPECT_EQ(plug.mChanged, std::vector<int>{c.param});
  }
  // Not through the controls: the host is not told.
  EXPECT_TRUE(plug.mFromGUI.empty());
  EXPECT_TRUE(plug.mHostValues.empty());
}

TEST_F(AnalyzerMenu, TheValueIsWrittenUnderThePlugMutex) {
  plug.mProbeLock = true;
  graphics->Choose({0});
  Open();
  graphics->Choose({1, 1});
  Open();
  EXPECT_EQ(plug.mLockHeldElsewhere, (std::vector<bool>{true, true}));
}

TEST_F(AnalyzerMenu, FileCommandsAnnounceTheirTagAfterTheDialogEvenWhenCancelled) {
  std::vector<std::string> namesSeen;
  std::vector<bool> mouseDownSeen;
  plug.mDuringChange = [&](int tag) {
    namesSeen.push_back(tag == kSaveTag ? menu->GetSaveFileName() : menu->GetOpenFileName());
    mouseDownSeen.push_back(graphics->mMouseDown);
  };

  graphics->AnswerFile("/music/mix.ref", "/music/");
  graphics->Choose({3});
  Open();
  graphics->CancelFile();
  graphics->Choose({3});
  Open();
  graphics->AnswerFile("/out/a.ref", "/out/");
  graphics->Choose({4});
  Open();
  graphics->Choose({5});
  Open();

  ASSERT_EQ(graphics->mOffers.size(), 3u);
  EXPECT_EQ(graphics->mOffers[0].action, 0);
  EXPECT_EQ(graphics->mOffers[0].folder, "/home/user/refs/");
  EXPECT_EQ(graphics->mOffers[0].extensions, "ref wav aiff");
  // The dialog reopens where the user last chose a file.
  EXPECT_EQ(graphics->mOffers[1].folder, "/music/");
  EXPECT_EQ(graphics->mOffers[2].action, 1);
  EXPECT_EQ(graphics->mOffers[2].folder, "/home/user/saved/");
  EXPECT_EQ(graphics->mOffers[2].extensions, "ref");

  EXPECT_EQ(plug.mChanged, (std::vector<int>{kLoadTag, kLoadTag, kSaveTag, kResetTag}));
  EXPECT_EQ(namesSeen, (std::vector<std::string>{"/music/mix.ref", "", "/out/a.ref", ""}));
  // The plug-in's handlers act only on a gesture: the flag is up.
  EXPECT_EQ(mouseDownSeen, (std::vector<bool>{true, true, true, true}));
}

TEST_F(AnalyzerMenu, NothingChosenOrASeparatorChangesNothingButMarksTheMouseDown) {
  for (const std::vector<int>& path : {std::vector<int>{}, std::vector<int>{2}, std::vector<int>{9}}) {
    graphics->Choose(path);
    graphics->mMouseDown = false;
    IMouseMod right(false, true);
    graphics->OnMouseDown(210, 90, &right);
    EXPECT_TRUE(graphics->mMouseDown);
    graphics->OnMouseUp(210, 90, &right);
  }
  EXPECT_TRUE(plug.mChanged.empty());
  EXPECT_EQ(plug.GetParam(EditorTestPlug::kShowGrid)->Value(), 0.0);
}

TEST_F(AnalyzerMenu, ACommandWithoutATagKeepsTheOtherEntriesOnTheirItems) {
  // The record goes in, no item does: a choice of a later item must still
  // reach that item's own parameter.
  menu->AddMenuEntry("Nothing", -1, Kind::kKindCommand, Action::kActionCommand);
  menu->AddMenuEntry("Show Tooltips", EditorTestPlug::kTooltips, Kind::kKindToggle);
  EXPECT_EQ(menu->NEntries(), 9);
  ASSERT_EQ(menu->GetMainMenu().GetNItems(), 8);
  EXPECT_STREQ(menu->GetMainMenu().GetItemText(7), "Show Tooltips");
  plug.SetValue(EditorTestPlug::kTooltips, 1);
  graphics->Choose({7});
  Open();
  EXPECT_EQ(graphics->LastMenu().Lines()[7], "Show Tooltips*");
  EXPECT_EQ(plug.GetParam(EditorTestPlug::kTooltips)->Value(), 0.0);
  EXPECT_EQ(plug.mChanged, std::vector<int>{EditorTestPlug::kTooltips});
}

TEST_F(AnalyzerMenu, TheButtonShowsItsSecondFrameWhileTheMenuIsOpen) {
  LICE_pixel duringPopup = 0;
  graphics->mDuringPopup = [&] {
    DrawAll();
    duringPopup = PixelAt(215, 90);
  };
  graphics->Dismiss();
  Open();
  EXPECT_EQ(duringPopup, FrameColor(1));
  DrawAll();
  EXPECT_EQ(PixelAt(215, 90), FrameColor(0));
}

// The plug-in reads the reference file names from the menu it was given.
class PlugInAnalyzerMenu : public BrimlowEditorTest {
 protected:
  void SetUp() override {
    BrimlowEditorTest::SetUp();
    menu = new IAnalyzerMenu(plug.get(), 772, 87, nullptr);
    graphics->AttachControl(menu);
    menu->AddMenuEntry("Load Reference File (ref/wav/aiff)", kLoadTag, Kind::kKindCommand, Action::kActionOpenFile);
    menu->AddMenuEntry("Save Reference File (ref)", kSaveTag, Kind::kKindCommand, Action::kActionSaveFile);
    menu->AddMenuEntry("Show Grid", kParamAnalyzerShowGrid, Kind::kKindToggle);
    // A bitmap that failed to load leaves no area to click: the menu is
    // opened as a click would open it.
    plug->SetAnalyzerMenu(menu);
  }
  void Open() {
    IMouseMod left(true);
    menu->OnMouseDown(772, 87, &left);
  }

  IAnalyzerMenu* menu = nullptr;
  ScratchFolder folder;
};

TEST_F(PlugInAnalyzerMenu, ASavedReferenceLoadsBackAndACancelLoadsNothing) {
  const std::string path = folder.PathOf("mix.ref");
  graphics->AnswerFile(path, folder.Path() + "/");
  graphics->Choose({1});
  Open();
  ASSERT_TRUE(std::filesystem::exists(path));

  graphics->AnswerFile(path, folder.Path() + "/");
  graphics->Choose({0});
  Open();
  EXPECT_TRUE(graphics->mMessageBoxes.empty());
  const SpectrumAnalyzer* analyzer = plug->PreAnalyzer();
  ASSERT_EQ(analyzer->PointCount(), ReferenceCapture::GetCount());
  for (int i = 0; i < ReferenceCapture::GetCount(); ++i) {
    EXPECT_DOUBLE_EQ(plug->Reference().GetFrequencies()[i], analyzer->PointFreqs()[i]) << i;
  }

  // Cancelled: the handler finds no name and nothing moves.
  std::filesystem::remove(path);
  graphics->CancelFile();
  graphics->Choose({0});
  Open();
  EXPECT_TRUE(graphics->mMessageBoxes.empty());
  EXPECT_DOUBLE_EQ(plug->Reference().GetFrequencies()[5], analyzer->PointFreqs()[5]);

  // The plug-in applies a toggled value as any change.
  const int before = plug->Mirrors().analyzerShowGrid;
  graphics->Choose({2});
  Open();
  EXPECT_EQ(plug->Mirrors().analyzerShowGrid, before ? 0 : 1);
  EXPECT_EQ(plug->GetParam(kParamAnalyzerShowGrid)->Value(), before ? 0.0 : 1.0);
}

TEST_F(PlugInAnalyzerMenu, ThePlugInForgetsTheMenuAndTheGraphWithTheControls) {
  ASSERT_EQ(plug->GetAnalyzerMenu(), menu);
  ASSERT_NE(plug->GetScope(), nullptr);
  graphics->ResetControls();
  EXPECT_EQ(plug->GetAnalyzerMenu(), nullptr);
  EXPECT_EQ(plug->GetScope(), nullptr);
  EXPECT_EQ(plug->ScopeControlIndex(), -1);
  // A load command now finds no menu and no name, and nothing happens.
  graphics->mMouseDown = true;
  plug->OnParamChange(kLoadTag);
  EXPECT_TRUE(graphics->mMessageBoxes.empty());
}

}  // namespace
