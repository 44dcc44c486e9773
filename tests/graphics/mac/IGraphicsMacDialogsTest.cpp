#include <gtest/gtest.h>

#include "tests/graphics/mac/MacWindowFixture.h"

namespace {

using platform::ScriptedAnswer;

class MacDialogs : public MacWindowFixture {};

struct AlertCase {
  int type;
  const char* button;  // the button pressed; null: dismissed
  int expected;
};

class MacMessageBox : public MacDialogs, public ::testing::WithParamInterface<AlertCase> {};

TEST_P(MacMessageBox, AnswersByButtonPosition) {
  const AlertCase c = GetParam();
  platform::ScriptAnswer(c.button ? platform::AlertButton(c.button) : platform::CancelAnswer(ScriptedAnswer::kAlert));
  EXPECT_EQ(graphics->ShowMessageBox("Overwrite?", "Brimlow", c.type), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MacMessageBox,
    ::testing::Values(AlertCase{0, "OK", 1}, AlertCase{1, "OK", 1}, AlertCase{1, "Cancel", 7}, AlertCase{3, "Yes", 1},
                      AlertCase{3, "No", 7}, AlertCase{3, "Cancel", 2}, AlertCase{4, "Yes", 1}, AlertCase{4, "No", 7},
                      AlertCase{2, "OK", 1}, AlertCase{3, nullptr, 0}, AlertCase{0, "Cancel", 0}));

TEST_F(MacDialogs, TheMessageBoxShowsTheButtonsOfItsType) {
  struct {
    int type;
    const char* buttons[3];
  } rows[] = {{0, {"", "", ""}}, {1, {"", "Cancel", ""}}, {3, {"Yes", "No", "Cancel"}}, {4, {"Yes", "No", ""}}};
  for (const auto& row : rows) {
    graphics->ShowMessageBox("text", "caption", row.type);
    const platform::AlertRequest& alert = Log().alerts.back();
    EXPECT_EQ(alert.header, "caption");
    EXPECT_EQ(alert.message, "text");
    EXPECT_EQ(alert.defaultButton, row.buttons[0]) << row.type;
    EXPECT_EQ(alert.alternateButton, row.buttons[1]) << row.type;
    EXPECT_EQ(alert.otherButton, row.buttons[2]) << row.type;
  }
}

TEST_F(MacDialogs, WithNobodyToAnswerTheMessageGoesToStandardErrorAndTakesTheDefault) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(graphics->ShowMessageBox("No preset folder", "Brimlow", 3), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Brimlow: No preset folder\n");
}

TEST_F(MacDialogs, WithTheEditorClosedNoPanelOpensAndTheNameIsEmptied) {
  WDL_String file("old.tps"), folder("/tmp/");
  graphics->PromptForFile(&file, 1, &folder, "tps");
  EXPECT_STREQ(file.Get(), "");
  EXPECT_STREQ(folder.Get(), "/tmp/");
  EXPECT_TRUE(Log().panels.empty());
}

TEST_F(MacDialogs, ASaveReturnsThePathAndItsFolder) {
  OpenCarbon();
  platform::ScriptAnswer(platform::PanelPath("/home/u/presets/warm.tps"));
  WDL_String file("start.tps"), folder("/home/u/presets/");
  graphics->PromptForFile(&file, 1, &folder, "tps fxp");
  ASSERT_EQ(Log().panels.size(), 1u);
  const platform::PanelRequest& panel = Log().panels[0];
  EXPECT_TRUE(panel.save);
  EXPECT_EQ(panel.folder, "/home/u/presets/");
  EXPECT_EQ(panel.file, "start.tps");
  EXPECT_EQ(panel.types, (std::vector<std::string>{"tps", "fxp"}));
  EXPECT_STREQ(file.Get(), "/home/u/presets/warm.tps");
  EXPECT_STREQ(folder.Get(), "/home/u/presets/");
}

TEST_F(MacDialogs, AnEmptyFolderStartsOnTheDesktopAndStaysThereWhenCancelled) {
  OpenCarbon();
  platform::ScriptAnswer(platform::CancelAnswer(ScriptedAnswer::kPanel));
  WDL_String file("x.wav"), folder;
  graphics->PromptForFile(&file, 0, &folder, "wav aif");
  EXPECT_FALSE(Log().panels.back().save);
  EXPECT_EQ(Log().panels.back().folder, "~/Desktop");
  EXPECT_EQ(Log().panels.back().types, (std::vector<std::string>{"wav", "aif"}));
  EXPECT_STREQ(file.Get(), "");
  EXPECT_STREQ(folder.Get(), "~/Desktop");
}

TEST_F(MacDialogs, TheColourPickerWorksInSixteenBitChannelsTruncatedBothWays) {
  IColor colour(77, 255, 128, 1);
  platform::RGB16 answer;
  answer.red = 0;
  answer.green = 65535;
  answer.blue = 32767;
  platform::ScriptAnswer(platform::ColorChoice(answer));
  ASSERT_TRUE(graphics->PromptForColor(&colour));
  const platform::RGB16& asked = Log().colorPrompts.back();
  EXPECT_EQ(asked.red, 65535);
  EXPECT_EQ(asked.green, static_cast<int>(128 / 255.0 * 65535));
  EXPECT_EQ(asked.blue, static_cast<int>(1 / 255.0 * 65535));
  EXPECT_EQ(colour.R, 0);
  EXPECT_EQ(colour.G, 255);
  EXPECT_EQ(colour.B, static_cast<int>(32767 / 65535.0 * 255));  // 127
  EXPECT_EQ(colour.A, 77);

  platform::ScriptAnswer(platform::CancelAnswer(ScriptedAnswer::kColor));
  EXPECT_FALSE(graphics->PromptForColor(&colour));
  EXPECT_EQ(colour.G, 255);
}

struct URLCase {
  const char* text;
  bool expected;
  const char* opened;  // null: nothing opened
};

class MacOpenURL : public MacDialogs, public ::testing::WithParamInterface<URLCase> {};

TEST_P(MacOpenURL, TextsWithHttpAreURLsAndOthersFilePaths) {
  const URLCase c = GetParam();
  EXPECT_EQ(graphics->OpenURL(c.text), c.expected);
  if (c.opened) {
    ASSERT_EQ(Log().openedURLs.size(), 1u);
    EXPECT_EQ(Log().openedURLs[0], c.opened);
  } else {
    EXPECT_TRUE(Log().openedURLs.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MacOpenURL,
    ::testing::Values(URLCase{"http://kestrelbay.example/brimlow", true, "http://kestrelbay.example/brimlow"},
                      URLCase{"mailto:help?subject=http", true, "mailto:help?subject=http"},
                      URLCase{"/tmp/Read Me.pdf", true, "file:///tmp/Read%20Me.pdf"},
                      // No URL can be made of these: the answer is false, nothing opens.
                      URLCase{"see http://a b", false, nullptr}, URLCase{"http://bad%zz", false, nullptr},
                      URLCase{"", false, nullptr}));

TEST_F(MacDialogs, AFileSchemeWithoutHttpIsStillTakenAsAPath) {
  ASSERT_TRUE(graphics->OpenURL("file:///etc/hosts"));
  const std::string& opened = Log().openedURLs.at(0);
  EXPECT_EQ(opened.compare(0, 8, "file:///"), 0);
  EXPECT_NE(opened.find("/file:///etc/hosts"), std::string::npos);
  EXPECT_FALSE(graphics->OpenURL(nullptr));
}

}  // namespace
