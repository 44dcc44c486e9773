#include "graphics/controls/IFileSelectorControl_Hidden.h"

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

class FileSelector : public ControlsFixture {
 protected:
  IFileSelectorControl_Hidden* Make(int action) {
    selector = Attach(new IFileSelectorControl_Hidden(&plug, IRECT(0, 0, 50, 20), ControlsTestPlug::kTag, action,
                                                      "/home/user/data/", "ref wav aiff"));
    plug.mDuringTag = [this](int) { seen.push_back({selector->GetState(), selector->GetChosenFile()}); };
    graphics->mDuringDialog = [this] { statesDuringDialog.push_back(selector->GetState()); };
    return selector;
  }

  struct Seen {
    int state;
    std::string file;
    bool operator==(const Seen& s) const { return state == s.state && file == s.file; }
  };
  IFileSelectorControl_Hidden* selector = nullptr;
  std::vector<Seen> seen;  // what the plug-in read at each tag
  std::vector<int> statesDuringDialog;
};

TEST_F(FileSelector, OpeningReportsTheChosenPathOnceTheDialogReturns) {
  Make(IFileSelectorControl_Hidden::kActionOpen);
  EXPECT_EQ(selector->GetState(), IFileSelectorControl_Hidden::kStateIdle);
  graphics->mAnswerFile = "/music/take 1.wav";
  graphics->mAnswerFolder = "/music/";
  Click(10, 10);
  EXPECT_EQ(statesDuringDialog, std::vector<int>{IFileSelectorControl_Hidden::kStateChoosing});
  EXPECT_EQ(seen, (std::vector<Seen>{{IFileSelectorControl_Hidden::kStateChosen, "/music/take 1.wav"}}));
  EXPECT_STREQ(selector->GetChosenDirectory(), "/music/");
  ASSERT_EQ(graphics->mOffered.size(), 1u);
  EXPECT_EQ(graphics->mOffered[0].fileName, "");
  EXPECT_EQ(graphics->mOffered[0].action, IFileSelectorControl_Hidden::kActionOpen);
  EXPECT_EQ(graphics->mOffered[0].folder, "/home/user/data/");
  EXPECT_EQ(graphics->mOffered[0].extensions, "ref wav aiff");

  // The next dialog proposes the file chosen last and opens where the
  // first did; until then the state stays chosen.
  EXPECT_EQ(selector->GetState(), IFileSelectorControl_Hidden::kStateChosen);
  Click(10, 10);
  ASSERT_EQ(graphics->mOffered.size(), 2u);
  EXPECT_EQ(graphics->mOffered[1].fileName, "/music/take 1.wav");
  EXPECT_EQ(graphics->mOffered[1].folder, "/home/user/data/");
  EXPECT_TRUE(plug.mFromGUI.empty());
}

TEST_F(FileSelector, SavingProposesNewAndACancelStillNotifiesWithNoName) {
  Make(IFileSelectorControl_Hidden::kActionSave);
  graphics->mAnswerFile = "/music/a.ref";
  graphics->mAnswerFolder = "/music/";
  Click(10, 10);
  graphics->mAnswerFile.clear();
  Click(10, 10);
  ASSERT_EQ(graphics->mOffered.size(), 2u);
  for (const auto& offer : graphics->mOffered) {
    EXPECT_EQ(offer.fileName, "new");
    EXPECT_EQ(offer.action, IFileSelectorControl_Hidden::kActionSave);
  }
  EXPECT_EQ(seen, (std::vector<Seen>{{IFileSelectorControl_Hidden::kStateChosen, "/music/a.ref"},
                                     {IFileSelectorControl_Hidden::kStateChosen, ""}}));
  // A cancelled dialog leaves the folder it was given.
  EXPECT_STREQ(selector->GetChosenDirectory(), "/home/user/data/");
}

TEST_F(FileSelector, WithoutAGraphicsCoreNothingOpens) {
  ControlsTestPlug detached;
  ControlsGraphics unattached(&detached, 100, 100);
  auto* control = new IFileSelectorControl_Hidden(&detached, IRECT(0, 0, 50, 20), ControlsTestPlug::kTag,
                                                  IFileSelectorControl_Hidden::kActionOpen, "", "");
  unattached.AttachControl(control);
  IMouseMod left(true);
  unattached.OnMouseDown(10, 10, &left);
  EXPECT_TRUE(unattached.mOffered.empty());
  EXPECT_TRUE(detached.mTags.empty());
  EXPECT_EQ(control->GetState(), IFileSelectorControl_Hidden::kStateIdle);
}

}  // namespace
