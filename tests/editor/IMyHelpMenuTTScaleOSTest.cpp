#include "editor/IMyHelpMenuTTScaleOS.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "editor/EditorControls.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/editor/BrimlowEditor.h"
#include "tests/editor/EditorFixture.h"

namespace {

using Lines = std::vector<std::string>;

constexpr int kScaleResetTag = 150;

class HelpMenu : public EditorFixture {
 protected:
  // The layout's arguments, or all optional entries with the extras.
  IMyHelpMenuTTScaleOS* Make(bool extras = false) {
    return Attach(new IMyHelpMenuTTScaleOS(&plug, IRECT(736, 37, 872, 77), EditorControls::kManualURL,
                                           EditorControls::kVersionHistoryURL, EditorTestPlug::kTooltips,
                                           extras ? EditorTestPlug::kFilterMode : -1, EditorTestPlug::kScale,
                                           extras ? kScaleResetTag : -1, extras ? EditorTestPlug::kShowGrid : -1));
  }
  void Open() { Click(750, 50); }
};

TEST_F(HelpMenu, TheLayoutsMenuHoldsExactlyItsItems) {
  IMyHelpMenuTTScaleOS* help = Make();
  EXPECT_EQ(help->GetRECT(), IRECT(736, 37, 872, 77));
  EXPECT_EQ(help->ParamIdx(), -1);
  plug.SetValue(EditorTestPlug::kScale, 4);  // "150%"
  graphics->mMouseDown = true;
  bool mouseDownDuringPopup = true;
  graphics->mDuringPopup = [&] { mouseDownDuringPopup = graphics->mMouseDown; };
  graphics->Dismiss();
  Open();
  EXPECT_FALSE(mouseDownDuringPopup);
  const ShownMenu& shown = graphics->LastMenu();
  EXPECT_EQ(shown.Lines(), (Lines{"Info", "---", "About ...", "Open Manual ...", "Check Version ...", "---",
                                  "Enable Tooltips*", "---", "GUI Scale >"}));
  EXPECT_TRUE(shown.items[0].flags & IPopupMenuItem::kIndented);
  EXPECT_EQ(shown.SubmenuLines("GUI Scale"), (Lines{"50%", "75%", "100%", "125%", "150%*", "175%", "200%"}));
  EXPECT_TRUE(plug.mChanged.empty());
}

TEST_F(HelpMenu, OptionalEntriesAppearWhenGiven) {
  Make(true);
  plug.SetValue(EditorTestPlug::kTooltips, 0);
  plug.SetValue(EditorTestPlug::kShowGrid, 1);
  plug.SetValue(EditorTestPlug::kFilterMode, 2);
  graphics->Dismiss();
  Open();
  EXPECT_EQ(graphics->LastMenu().Lines(),
            (Lines{"Info", "---", "About ...", "Open Manual ...", "Check Version ...", "---", "Enable Tooltips", "---",
                   "Enable EQ Component Tolerances*", "---", "GUI Scale Reset", "---", "GUI Scale >", "---",
                   "Oversampling >"}));
  EXPECT_EQ(graphics->LastMenu().SubmenuLines("Oversampling")[2], "MinimumPhase High*");

  // Each is rebuilt on the next click, not added twice.
  graphics->Choose({10});
  Open();
  EXPECT_EQ(graphics->LastMenu().Lines().size(), 15u);
  EXPECT_EQ(plug.mChanged, std::vector<int>{kScaleResetTag});

  graphics->Choose({8});
  Open();
  EXPECT_EQ(plug.GetParam(EditorTestPlug::kShowGrid)->Value(), 0.0);
  graphics->Choose({14, 6});
  Open();
  EXPECT_EQ(plug.GetParam(EditorTestPlug::kFilterMode)->Value(), 6.0);
  EXPECT_EQ(plug.mChanged, (std::vector<int>{kScaleResetTag, EditorTestPlug::kShowGrid, EditorTestPlug::kFilterMode}));
}

TEST_F(HelpMenu, TooltipsAndScaleAreStoredStraightIntoTheirParametersUnderTheMutex) {
  Make();
  plug.mProbeLock = true;
  graphics->Choose({6});  // "Enable Tooltips", checked at 1
  Open();
  EXPECT_EQ(plug.GetParam(EditorTestPlug::kTooltips)->Value(), 0.0);
  graphics->Choose({6});
  Open();
  EXPECT_EQ(plug.GetParam(EditorTestPlug::kTooltips)->Value(), 1.0);

  plug.SetValue(EditorTestPlug::kScale, 4);
  graphics->Choose({8, 1});  // "75%"
  Open();
  EXPECT_EQ(plug.GetParam(EditorTestPlug::kScale)->Value(), 1.0);

  EXPECT_EQ(plug.mChanged, (std::vector<int>{EditorTestPlug::kTooltips, EditorTestPlug::kTooltips,
                                             EditorTestPlug::kScale}));
  EXPECT_EQ(plug.mLockHeldElsewhere, (std::vector<bool>{true, true, true}));
  EXPECT_TRUE(plug.mFromGUI.empty());
  EXPECT_TRUE(plug.mHostValues.empty());
}

TEST_F(HelpMenu, PagesOpenInTheBrowserAndInfoDoesNothing) {
  Make();
  for (int item : {3, 4, 0}) {
    graphics->Choose({item});
    Open();
  }
  EXPECT_EQ(graphics->mURLs, (std::vector<std::string>{EditorControls::kManualURL, EditorControls::kVersionHistoryURL}));
  EXPECT_TRUE(graphics->mMessageBoxes.empty());
  EXPECT_TRUE(plug.mChanged.empty());

  // A missing address opens as an empty one.
  Attach(new IMyHelpMenuTTScaleOS(&plug, IRECT(0, 0, 20, 20), nullptr, nullptr, -1, -1, -1, -1, -1));
  graphics->Choose({3});
  Click(5, 5);
  EXPECT_EQ(graphics->LastMenu().Lines(), (Lines{"Info", "---", "About ...", "Open Manual ...", "Check Version ..."}));
  EXPECT_EQ(graphics->mURLs.back(), "");
}

// "Mmm dd yyyy" as the compiler writes the build date, the day padded
// with a blank.
bool IsCompilerDate(const std::string& date) {
  static const std::string kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  if (date.size() != 11 || date[3] != ' ' || date[6] != ' ') return false;
  const std::string::size_type month = kMonths.find(date.substr(0, 3));
  if (month == std::string::npos || month % 3 != 0) return false;
  const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  if (!(date[4] == ' ' || (date[4] >= '1' && date[4] <= '3')) || !digit(date[5])) return false;
  for (int i = 7; i < 11; ++i) {
    if (!digit(date[static_cast<size_t>(i)])) return false;
  }
  return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(HelpMenu, TheAboutBoxTellsTheIdentityAndTheRunTimeFacts) {
  Make();
  plug.SetInputChannelConnections(0, 1, true);
  plug.SetInputChannelConnections(1, 1, false);
  plug.SetOutputChannelConnections(0, 2, true);
  plug.SetSampleRate(48000.0);
  plug.SetLatency(64);
  plug.SetHost("ProTools", 0x080000);
  graphics->Choose({2});
  Open();
  ASSERT_EQ(graphics->mMessageBoxes.size(), 1u);
  const EditorGraphics::MessageBox& box = graphics->mMessageBoxes[0];
  EXPECT_EQ(box.caption, "About");
  EXPECT_EQ(box.type, 0);
  ASSERT_EQ(box.text.back(), '\n');
  const std::vector<std::string> lines = SplitLines(box.text);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "Manufacturer: Kestrelbay");
  EXPECT_EQ(lines[1], "Plugin name: Brimlow");
  EXPECT_EQ(lines[2], "Version: 3.2.3");
  // The build's own date, in the compiler's form: never a fixed one.
  EXPECT_EQ(lines[3].substr(0, 12), "Build date: ");
  EXPECT_TRUE(IsCompilerDate(lines[3].substr(12))) << lines[3];
  EXPECT_EQ(lines[4], std::string("Format: RTAS ") + (sizeof(void*) == 8 ? "x64" : "x32"));
  EXPECT_EQ(lines[5], "Host: ProTools");
  EXPECT_EQ(lines[6], "Channels: 1-2 (2-2)");
  EXPECT_EQ(lines[7], "Plugin delay: 64 smp");
  EXPECT_EQ(lines[8], "Sample Rate: 48000.00 Hz");
}

// The plug-in's instance: stereo at 44.1 kHz without latency, and the
// GUI scale taking effect when the menu stores it.
class PlugInHelpMenu : public BrimlowEditorTest {};

TEST_F(PlugInHelpMenu, TheAboutBoxOfAStereoInstanceAndTheScaleMenu) {
  auto* help = new IMyHelpMenuTTScaleOS(plug.get(), IRECT(736, 37, 872, 77), EditorControls::kManualURL,
                                        EditorControls::kVersionHistoryURL, kParamToggleTooltips, -1, kParamGUIScale,
                                        -1, -1);
  graphics->AttachControl(help);
  const std::vector<std::string> lines = SplitLines(help->AboutText());
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[6], "Channels: 2-2 (2-2)");
  EXPECT_EQ(lines[7], "Plugin delay: 0 smp");
  EXPECT_EQ(lines[8], "Sample Rate: 44100.00 Hz");

  graphics->Choose({8, 1});  // "75%"
  Click(800, 50);
  EXPECT_EQ(plug->GetParam(kParamGUIScale)->Value(), 1.0);
  EXPECT_EQ(plug->GuiScaleX(), 0.75);
  EXPECT_TRUE(plug->IsResizeRequested());
}

}  // namespace
