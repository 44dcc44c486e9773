#include "platform/windowserver/FilePanelModel.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/ScratchFolder.h"

namespace {

using platform::FilePanelModel;
using platform::PanelRequest;

// A folder as a user's might be: presets, other files, hidden ones and
// folders, their names in mixed case.
class PanelFolder : public ::testing::Test {
 protected:
  PanelFolder() {
    for (const char* name : {"a.tps", "B.tps", "c.wav", ".hidden.tps", "upper.TPS"}) folder.Write(name, {1});
    for (const char* name : {"sub", "Zed", ".git"}) mkdir(folder.PathOf(name).c_str(), 0700);
    folder.Write("sub/inner.tps", {1});
  }

  PanelRequest Request(bool save, std::vector<std::string> types = {"tps"}) const {
    PanelRequest r;
    r.save = save;
    r.folder = folder.Path();
    r.types = std::move(types);
    return r;
  }

  static std::vector<std::string> Names(const FilePanelModel& m) {
    std::vector<std::string> names;
    for (const platform::FolderEntry& e : m.Entries()) names.push_back(e.name + (e.folder ? "/" : ""));
    return names;
  }

  static void Type(FilePanelModel& m, const std::string& text) {
    for (char c : text) m.Insert(c);
  }

  ScratchFolder folder;
};

TEST_F(PanelFolder, ListsFoldersThenTheAllowedFilesWithTheirExactExtensionHiddenOnesLeftOut) {
  EXPECT_EQ(Names(FilePanelModel(Request(false))),
            (std::vector<std::string>{"../", "sub/", "Zed/", "a.tps", "B.tps"}));
  EXPECT_EQ(Names(FilePanelModel(Request(false, {"tps", "wav"}))),
            (std::vector<std::string>{"../", "sub/", "Zed/", "a.tps", "B.tps", "c.wav"}));
  // No types: every file.
  EXPECT_EQ(Names(FilePanelModel(Request(false, {}))),
            (std::vector<std::string>{"../", "sub/", "Zed/", "a.tps", "B.tps", "c.wav", "upper.TPS"}));
}

struct AcceptCase {
  bool save;
  const char* typed;
  FilePanelModel::Outcome outcome;
  const char* path;    // relative to the scratch folder; "" when there is none
  const char* folder;  // where the panel is afterwards, relative to it
};

class PanelAccepts : public PanelFolder, public ::testing::WithParamInterface<AcceptCase> {};

TEST_P(PanelAccepts, ReturnTakesAFileOfAnAllowedTypeOrEntersAFolder) {
  const AcceptCase c = GetParam();
  FilePanelModel m(Request(c.save));
  Type(m, c.typed);
  std::string path;
  EXPECT_EQ(m.Accept(&path), c.outcome) << c.typed;
  EXPECT_EQ(path, *c.path ? folder.PathOf(c.path) : std::string()) << c.typed;
  EXPECT_EQ(m.Folder(), *c.folder ? folder.PathOf(c.folder) : folder.Path()) << c.typed;
  // Whatever is refused says why.
  EXPECT_EQ(m.StatusText().empty(), c.outcome != FilePanelModel::kStay || std::string(c.folder) != "") << c.typed;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PanelAccepts,
    ::testing::Values(
        // Saving: the extension added when missing, exactly as the reader wants it.
        AcceptCase{true, "mix", FilePanelModel::kChosen, "mix.tps", ""},
        AcceptCase{true, "mix.tps", FilePanelModel::kChosen, "mix.tps", ""},
        AcceptCase{true, "mix.TPS", FilePanelModel::kChosen, "mix.TPS.tps", ""},
        AcceptCase{true, "mix.wav", FilePanelModel::kChosen, "mix.wav.tps", ""},
        AcceptCase{true, ".tps", FilePanelModel::kChosen, ".tps.tps", ""},
        AcceptCase{true, "sub/x", FilePanelModel::kChosen, "sub/x.tps", ""},
        AcceptCase{true, "sub/../y", FilePanelModel::kChosen, "y.tps", ""},
        AcceptCase{true, "a", FilePanelModel::kConfirmReplace, "a.tps", ""},
        AcceptCase{true, "sub", FilePanelModel::kStay, "", "sub"},
        AcceptCase{true, "", FilePanelModel::kStay, "", ""},
        AcceptCase{true, "none/x", FilePanelModel::kStay, "", ""},
        AcceptCase{true, "x/", FilePanelModel::kStay, "", ""},
        // Opening: only an existing file of an allowed type.
        AcceptCase{false, "a.tps", FilePanelModel::kChosen, "a.tps", ""},
        AcceptCase{false, "B", FilePanelModel::kChosen, "B.tps", ""},
        AcceptCase{false, "sub/inner.tps", FilePanelModel::kChosen, "sub/inner.tps", ""},
        AcceptCase{false, "c.wav", FilePanelModel::kStay, "", ""},
        AcceptCase{false, "upper.TPS", FilePanelModel::kStay, "", ""},
        AcceptCase{false, "missing.tps", FilePanelModel::kStay, "", ""},
        AcceptCase{false, "", FilePanelModel::kStay, "", ""},
        AcceptCase{false, "Zed", FilePanelModel::kStay, "", "Zed"}));

TEST_F(PanelFolder, SaveOverAFolderNamedLikeTheFileIsRefused) {
  mkdir(folder.PathOf("odd.tps").c_str(), 0700);
  FilePanelModel m(Request(true));
  Type(m, "odd");
  std::string path;
  EXPECT_EQ(m.Accept(&path), FilePanelModel::kStay);
  EXPECT_TRUE(path.empty());
  EXPECT_FALSE(m.StatusText().empty());
}

TEST_F(PanelFolder, ClicksAndArrowsWalkTheListAndTheFoldersUpAndDown) {
  FilePanelModel m(Request(false));
  std::string path;
  // Down from nothing selects the first entry; the list's end holds.
  for (int i = 0; i < 10; ++i) m.MoveSelection(1);
  EXPECT_EQ(m.Entries()[static_cast<size_t>(m.Selected())].name, "B.tps");
  EXPECT_EQ(m.Name(), "B.tps");
  m.MoveSelection(-2);
  EXPECT_EQ(m.Entries()[static_cast<size_t>(m.Selected())].name, "Zed");
  // On opening, a folder clears the name so that Return goes into it.
  EXPECT_EQ(m.Name(), "");
  m.MoveSelection(-1);
  EXPECT_EQ(m.Accept(&path), FilePanelModel::kStay);
  EXPECT_EQ(m.Folder(), folder.PathOf("sub"));
  ASSERT_EQ(Names(m), (std::vector<std::string>{"../", "inner.tps"}));
  // A double click on a file takes it.
  EXPECT_EQ(m.Activate(1, &path), FilePanelModel::kChosen);
  EXPECT_EQ(path, folder.PathOf("sub/inner.tps"));
  // Up again: the folder left is the one selected.
  EXPECT_EQ(m.Activate(0, &path), FilePanelModel::kStay);
  EXPECT_EQ(m.Folder(), folder.Path());
  EXPECT_EQ(m.Entries()[static_cast<size_t>(m.Selected())].name, "sub");
}

TEST_F(PanelFolder, SavingKeepsTheTypedNameWhileBrowsing) {
  FilePanelModel m(Request(true));
  Type(m, "take 2");
  std::string path;
  m.Select(1);  // "sub"
  EXPECT_EQ(m.Name(), "take 2");
  EXPECT_EQ(m.Activate(1, &path), FilePanelModel::kStay);
  EXPECT_EQ(m.Accept(&path), FilePanelModel::kChosen);
  EXPECT_EQ(path, folder.PathOf("sub/take 2.tps"));
}

TEST_F(PanelFolder, TheNameIsEditedAtTheCaretACharacterAtATime) {
  FilePanelModel m(Request(true));
  Type(m, "ab");
  m.MoveCaret(-1);
  m.Insert('X');
  EXPECT_EQ(m.Name(), "aXb");
  m.DeleteForward();
  EXPECT_EQ(m.Name(), "aX");
  // A character of several bytes goes whole.
  m.CaretToEnd();
  for (char c : std::string("\xC3\xA9")) m.Insert(c);
  m.MoveCaret(-1);
  EXPECT_EQ(m.Caret(), 2u);
  m.CaretToEnd();
  m.Backspace();
  EXPECT_EQ(m.Name(), "aX");
  m.CaretToStart();
  m.Backspace();
  EXPECT_EQ(m.Name(), "aX");
  // Typing a listed name selects it.
  FilePanelModel open(Request(false));
  Type(open, "a.tps");
  ASSERT_GE(open.Selected(), 0);
  EXPECT_EQ(open.Entries()[static_cast<size_t>(open.Selected())].name, "a.tps");
}

TEST_F(PanelFolder, StartsInTheNearestFolderThatExistsWithTheRequestsFileName) {
  PanelRequest r = Request(true);
  r.folder = folder.PathOf("sub/gone/deeper/");
  r.file = "/elsewhere/start.tps";
  FilePanelModel m(r);
  EXPECT_EQ(m.Folder(), folder.PathOf("sub"));
  EXPECT_EQ(m.Name(), "start.tps");

  // "~" is the home folder.
  const char* before = std::getenv("HOME");
  const std::string saved = before ? before : "";
  setenv("HOME", folder.Path().c_str(), 1);
  r.folder = "~/Zed";
  EXPECT_EQ(FilePanelModel(r).Folder(), folder.PathOf("Zed"));
  if (before) {
    setenv("HOME", saved.c_str(), 1);
  } else {
    unsetenv("HOME");
  }
}

struct PathCase {
  const char* path;
  const char* base;
  const char* normalised;
};

class PathsNormalise : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathsNormalise, DotsAndSlashesFoldAway) {
  const PathCase c = GetParam();
  EXPECT_EQ(platform::NormalisePath(c.path, c.base), c.normalised);
}

INSTANTIATE_TEST_SUITE_P(Table, PathsNormalise,
                         ::testing::Values(PathCase{"x", "/a/b", "/a/b/x"}, PathCase{"../x", "/a/b", "/a/x"},
                                           PathCase{"../../../x", "/a", "/x"}, PathCase{"/p//q/./r/", "/a", "/p/q/r"},
                                           PathCase{"..", "/", "/"}, PathCase{"", "/a/b", "/a/b"}));

}  // namespace
