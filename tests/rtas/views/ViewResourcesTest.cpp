// The views that read the bundle's resources, against resource files made
// for each test.
#include <functional>
#include <memory>

#include "ItemListBytes.h"
#include "ResourceFolder.h"
#include "ViewTestSupport.h"
#include "platform/carboncore/MacMemory.h"
#include "rtas/views/CButtonView.h"
#include "rtas/views/CCachedPicture.h"
#include "rtas/views/CCachedPictureManager.h"
#include "rtas/views/CCheckBoxView.h"
#include "rtas/views/CDialogView.h"
#include "rtas/views/CIconView.h"
#include "rtas/views/CPictureView.h"
#include "rtas/views/CRadioButtonView.h"
#include "rtas/views/CResControlView.h"
#include "rtas/views/CSliderControlEditor.h"
#include "rtas/views/CStaticTextView.h"
#include "rtas/views/CViewPopupControlEditor.h"
#include "rtas/views/CRadioGroupControlEditor.h"
#include "rtas/views/CControlView.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"

namespace {

class ViewResources : public ViewTest {
 protected:
  int Code(const std::function<void()>& f) {
    try {
      f();
    } catch (const CDAEError& e) {
      return e.Code();
    }
    return 0;
  }
  ResourceFolder mResources;
};

std::vector<uint8_t> DialogRecord(int16_t height, int16_t width, int16_t itemList) {
  std::vector<uint8_t> out;
  PutWord(out, 40);  // bounds: only the size counts
  PutWord(out, 60);
  PutWord(out, 40 + height);
  PutWord(out, 60 + width);
  PutWord(out, 0);                   // definition
  out.insert(out.end(), {1, 0, 0, 0});  // visible, pad, go-away, pad
  out.insert(out.end(), 4, 0);       // reference value
  PutWord(out, itemList);
  PutCounted(out, "title");
  return out;
}

}  // namespace

TEST_F(ViewResources, CustomViewsShareThePatternsUntilTheLastHolderGoes) {
  FakeGroupServices group;
  mResources.Put("ppat", 1001, Bytes("pattern A")).Put("ppat", 1002, Bytes("pattern B"));
  mResources.Open();
  SetViewGroupServices(&group);
  auto first = std::make_unique<CCustomView>();
  EXPECT_EQ(group.mUses, 2);  // the bundle's file was current for each load
  EXPECT_EQ(group.mRestores, 2);
  EXPECT_EQ(group.mRestoredTo, 7);
  SetViewGroupServices(nullptr);
  ASSERT_NE(CCustomView::SharedPatternA(), nullptr);
  EXPECT_EQ(GetHandleSize(reinterpret_cast<Handle>(CCustomView::SharedPatternA())), 9);
  EXPECT_EQ(CCustomView::SharedPatternHolders(), 1);
  // Reading a description holds no second time.
  ViewItem item;
  item.text = "!Background[('abcd' plate)]";
  DescriptionParser parser(&item);
  ASSERT_TRUE(parser.ParseViewDescription());
  first->ApplyDescription(&parser);
  EXPECT_EQ(CCustomView::SharedPatternHolders(), 1);
  EXPECT_EQ(first->GetBackPixPat(), CCustomView::SharedPatternA());
  first->SetPlate(true, 2, 0);
  EXPECT_EQ(first->GetBackPixPat(), CCustomView::SharedPatternB());
  auto second = std::make_unique<CCustomView>();
  EXPECT_EQ(CCustomView::SharedPatternHolders(), 2);
  first.reset();
  EXPECT_NE(CCustomView::SharedPatternA(), nullptr);
  second.reset();
  EXPECT_EQ(CCustomView::SharedPatternHolders(), 0);
  EXPECT_EQ(CCustomView::SharedPatternA(), nullptr);
}

TEST_F(ViewResources, AParentlessSliderErasesInGreyOnItsPlatesPattern) {
  mResources.Put("ppat", 1001, Bytes("pattern A")).Put("ppat", 1002, Bytes("pattern B"));
  mResources.Open();
  CSliderControlEditor slider;
  slider.SetFrameRect(Rect{0, 0, 20, 100});
  slider.SetPlate(true, 0, 0);
  slider.AttachPort(mPort);
  ClearLog();
  slider.DrawRect(nullptr);
  const auto erases = Ops(platform::DrawOp::kEraseRect);
  ASSERT_EQ(erases.size(), 1u);
  EXPECT_EQ(erases[0].backPattern, "pattern A");
  EXPECT_EQ(erases[0].back, (RGBColor{0x8888, 0x8888, 0x8888}));
  // The port's own pattern and colour come back.
  const auto lines = Ops(platform::DrawOp::kLine);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().backPattern, std::string(8, '\0'));
  EXPECT_EQ(lines.back().back, (RGBColor{0xFFFF, 0xFFFF, 0xFFFF}));
}

TEST_F(ViewResources, MacrosTakeTextsFromTheBundle) {
  std::vector<uint8_t> vers{1, 2, 0x80, 0, 0, 0};
  PutCounted(vers, "3.2.3");
  PutCounted(vers, "Brimlow 3.2.3");
  mResources.Put("STR#", 128, StringList({"first", "tab\\there", std::string(254, 'x'), std::string(253, 'y')}))
      .Put("vers", 1, vers);
  mResources.Open();
  struct Case {
    const char* description;
    bool accepted;
    std::string text;
  };
  const Case cases[] = {
      {"!StaticText[('text')(getString (128 1))]", true, "first"},
      {"!StaticText[('text')(getString (128 2) center)]", true, "tab\there"},  // escapes are read
      {"!StaticText[('text')(getString (128 4))]", true, std::string(253, 'y')},
      {"!StaticText[('text')(getString (128 3))]", false, ""},  // 254 characters
      {"!StaticText[('text')(getString (128 9))]", true, ""},   // missing: empty
      {"!StaticText[('text')(shortVersion)]", true, "3.2.3"},
      {"!StaticText[('text')(longVersion)]", true, "Brimlow 3.2.3"},
      {"!StaticText[('text')((longVersion))]", true, ""},  // expanded inside groups too; not a string here
  };
  for (const Case& c : cases) {
    ViewItem item;
    item.text = c.description;
    DescriptionParser parser(&item);
    ASSERT_EQ(parser.ParseViewDescription(), c.accepted) << c.description;
    if (!c.accepted) continue;
    parser.TakeGroup();
    const DescriptionNode* n = parser.TakeGroup();
    if (c.text.empty() && std::string(c.description).find("((") != std::string::npos) {
      ASSERT_EQ(n->kind, DescriptionNode::kGroup);
      EXPECT_EQ(n->inner->kind, DescriptionNode::kString);
      EXPECT_EQ(n->inner->Text(), "Brimlow 3.2.3");
      continue;
    }
    ASSERT_NE(n, nullptr) << c.description;
    EXPECT_EQ(n->kind, DescriptionNode::kString) << c.description;
    EXPECT_EQ(n->Text(), c.text) << c.description;
  }
}

TEST_F(ViewResources, AVersionResourceThatEndsEarlyIsRefused) {
  struct Case {
    std::vector<uint8_t> vers;
    bool shortOk, longOk;
  };
  std::vector<uint8_t> noLong{1, 2, 0x80, 0, 0, 0};
  PutCounted(noLong, "1.0");
  std::vector<uint8_t> cutShort{1, 2, 0x80, 0, 0, 0, 10, 'a'};
  const Case cases[] = {{noLong, true, false}, {cutShort, false, false}, {{1, 2, 3}, false, false}};
  for (const Case& c : cases) {
    ResourceFolder folder;
    folder.Put("vers", 1, c.vers);
    folder.Open();
    for (bool longForm : {false, true}) {
      ViewItem item;
      item.text = longForm ? "!StaticText[('text')(longVersion)]" : "!StaticText[('text')(shortVersion)]";
      DescriptionParser parser(&item);
      EXPECT_EQ(parser.ParseViewDescription(), longForm ? c.longOk : c.shortOk) << c.vers.size() << longForm;
    }
  }
  // No 'vers' at all gives an empty string.
  ResourceFolder empty;
  empty.Open();
  ViewItem item;
  item.text = "!StaticText[('text')(shortVersion)]";
  DescriptionParser parser(&item);
  EXPECT_TRUE(parser.ParseViewDescription());
}

TEST_F(ViewResources, AnItemListBuildsAViewPerItem) {
  const std::vector<uint8_t> ditl = ItemListBytes()
                                        .Item(0, 0, 100, 200, 0, "")                      // user item
                                        .Item(5, 5, 25, 65, 4, "OK")                      // button
                                        .Item(30, 5, 50, 65, 5, "Loud")                   // check box
                                        .Item(55, 5, 75, 65, 0x86, "One")                 // disabled radio
                                        .Item(110, 0, 130, 100, 8, "Hello")               // static text
                                        .Item(110, 100, 130, 200, 0x88, "Off")            // disabled text
                                        .Item(140, 0, 160, 100, 16, "!Background[('desc' plate)]")
                                        .Item(140, 100, 172, 132, 32, ItemListBytes::Word(300))
                                        .Item(180, 0, 200, 50, 64, ItemListBytes::Word(400))
                                        .Bytes();
  mResources.Put("DITL", 128, ditl);
  mResources.Open();
  CItemListView list;
  list.SetFrameRect(Rect{10, 20, 210, 220});
  list.SetItemListID(128);
  list.Realize();

  std::vector<CPlugInView*> top;
  for (CPlugInView* v = list.GetFirstChild(); v; v = v->GetNextSibling()) top.push_back(v);
  // The three controls lie inside the user item and nest in it.
  ASSERT_EQ(top.size(), 6u);
  CPlugInView* user = top[0];
  EXPECT_EQ(typeid(*user), typeid(CPlugInView));
  EXPECT_EQ(user->Frame(), (Rect{10, 20, 110, 220}));  // moved by the list's top-left
  CPlugInView* button = user->GetFirstChild();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(typeid(*button), typeid(CButtonView));
  EXPECT_EQ(static_cast<CButtonView*>(button)->GetTitle(), "OK");
  EXPECT_EQ(button->Frame(), (Rect{15, 25, 35, 85}));
  CPlugInView* box = button->GetNextSibling();
  EXPECT_EQ(typeid(*box), typeid(CCheckBoxView));
  CPlugInView* radio = box->GetNextSibling();
  EXPECT_EQ(typeid(*radio), typeid(CRadioButtonView));
  EXPECT_FALSE(radio->IsEnabled());
  EXPECT_TRUE(box->IsEnabled());

  CStaticTextView* hello = dynamic_cast<CStaticTextView*>(top[1]);
  ASSERT_NE(hello, nullptr);
  EXPECT_EQ(hello->GetText(), "Hello");
  EXPECT_TRUE(hello->IsEnabled());
  CStaticTextView* off = dynamic_cast<CStaticTextView*>(top[2]);
  ASSERT_NE(off, nullptr);
  EXPECT_FALSE(off->IsEnabled());
  // A text item holding a description becomes that view.
  CCustomView* described = dynamic_cast<CCustomView*>(top[3]);
  ASSERT_NE(described, nullptr);
  EXPECT_EQ(typeid(*described), typeid(CCustomView));
  EXPECT_EQ(described->GetViewID(), FourCC("desc"));
  EXPECT_TRUE(described->HasPlate());
  const CPlugInView& icon = *top[4];
  EXPECT_EQ(typeid(icon), typeid(CIconView));
  EXPECT_EQ(static_cast<CIconView*>(top[4])->GetIconID(), 300);
  const CPlugInView& picture = *top[5];
  EXPECT_EQ(typeid(picture), typeid(CPictureView));
  EXPECT_EQ(static_cast<CPictureView*>(top[5])->GetPictureID(CPictureView::kNormal), -1);  // no PICT 400

  Rect content;
  list.GetContentBounds(&content);
  EXPECT_EQ(content, (Rect{10, 20, 210, 220}));
}

TEST_F(ViewResources, ItemListFailures) {
  mResources.Put("DITL", 1, {0xFF, 0xFF})
      .Put("DITL", 2, ItemListBytes().Item(0, 0, 10, 10, 0x7C, "").Bytes())
      .Put("DITL", 3, ItemListBytes().Item(0, 0, 10, 10, 8, "cut short").Bytes(false))
      .Put("DITL", 4, ItemListBytes().Item(0, 0, 10, 10, 32, "").Bytes());
  mResources.Open();
  struct Case {
    int16_t id;
    int code;
  };
  for (const Case& c : {Case{1, 0}, Case{CItemListView::kNoItemList, -7053}, Case{99, -7053}, Case{2, -7400},
                        Case{4, -7400}}) {
    CItemListView list;
    list.SetItemListID(c.id);
    EXPECT_EQ(Code([&] { list.Realize(); }), c.code) << c.id;
  }
  // The count word -1: no children.
  CItemListView empty;
  empty.SetItemListID(1);
  empty.Realize();
  EXPECT_EQ(empty.GetFirstChild(), nullptr);
}

TEST_F(ViewResources, ADialogTakesItsSizeAndItemsFromItsRecord) {
  const std::vector<uint8_t> record = DialogRecord(150, 250, 128);
  mResources.Put("DLOG", 200, record)
      .Put("DLOG", 201, std::vector<uint8_t>(record.begin(), record.begin() + 19))
      .Put("DITL", 128, ItemListBytes().Item(10, 10, 30, 100, 8, "In the dialog").Bytes())
      .Put("ppat", 1000, Bytes("dialog pattern"));
  mResources.Open();
  CDialogView dialog;
  dialog.SetDialogID(200);
  dialog.SetEnabled(true);
  dialog.Realize();
  EXPECT_EQ(dialog.Frame(), (Rect{0, 0, 150, 250}));
  EXPECT_FALSE(dialog.IsEnabled());
  EXPECT_EQ(dialog.GetItemListID(), 128);
  ASSERT_NE(dialog.GetFirstChild(), nullptr);
  EXPECT_EQ(static_cast<CStaticTextView*>(dialog.GetFirstChild())->GetText(), "In the dialog");
  // Its own background pattern, loaded when it gets a port.
  EXPECT_EQ(dialog.GetBackPixPat(), nullptr);
  dialog.AttachPort(mPort);
  ASSERT_NE(dialog.GetBackPixPat(), nullptr);
  ClearLog();
  dialog.DrawRect(nullptr);
  ASSERT_FALSE(Ops(platform::DrawOp::kEraseRect).empty());
  EXPECT_EQ(Ops(platform::DrawOp::kEraseRect)[0].backPattern, "dialog pattern");

  CDialogView truncated;
  truncated.SetDialogID(201);
  EXPECT_EQ(Code([&] { truncated.Realize(); }), -7400);
  CDialogView missing;
  missing.SetDialogID(202);
  EXPECT_EQ(Code([&] { missing.Realize(); }), -7053);
}

TEST_F(ViewResources, PicturesAreSharedByIdAndKeptPerState) {
  mResources.Put("PICT", 128, Bytes("picture 128")).Put("PICT", 129, Bytes("picture 129"));
  mResources.Open();
  CCustomView root;
  root.SetFrameRect(Rect{0, 0, kHeight, kWidth});
  CPictureView* first = new CPictureView;
  CPictureView* second = new CPictureView;
  first->SetFrameRect(Rect{0, 0, 10, 10});
  second->SetFrameRect(Rect{20, 0, 30, 10});
  first->SetEnabled(true);
  second->SetEnabled(true);
  root.AddChild(first, false);
  root.AddChild(second, false);
  first->SetPicture(CPictureView::kNormal, 128);
  second->SetPicture(CPictureView::kNormal, 128);
  CCachedPictureManager* manager = CPictureView::PictureManager();
  EXPECT_EQ(manager->CountPictures(), 1);
  CCachedPicture* shared = first->GetCurrentPicture();
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(shared, second->GetCurrentPicture());
  EXPECT_EQ(shared->Users(), 2);
  // A normal picture alone shows in every state.
  first->SetHilite(true);
  first->SetEnabled(false);
  EXPECT_EQ(first->GetCurrentPicture(), shared);
  first->SetEnabled(true);
  first->SetHilite(false);
  // Giving the second view another picture leaves the first one's alone.
  second->SetPicture(CPictureView::kNormal, 129);
  EXPECT_EQ(first->GetPictureID(CPictureView::kNormal), 128);
  EXPECT_EQ(second->GetPictureID(CPictureView::kNormal), 129);
  EXPECT_EQ(shared->Users(), 1);
  EXPECT_EQ(manager->CountPictures(), 2);
  // Clicked and disabled pictures take over in their states.
  first->SetPicture(CPictureView::kClicked, 129);
  first->SetPicture(CPictureView::kDisabled, 129);
  EXPECT_EQ(manager->CountPictures(), 2);
  first->SetHilite(true);
  EXPECT_EQ(first->GetCurrentPicture()->GetID(), 129);
  first->SetHilite(false);
  first->SetEnabled(false);
  EXPECT_EQ(first->GetCurrentPicture()->GetID(), 129);
  first->SetEnabled(true);
  root.AttachPort(mPort);
  ClearLog();
  first->DrawRect(nullptr);
  const auto pictures = Ops(platform::DrawOp::kPicture);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].handle, shared->GetPicture());
  EXPECT_EQ(pictures[0].rect, first->Frame());
}

TEST_F(ViewResources, TheCacheCountsUsersOfALoadedPicture) {
  mResources.Put("PICT", 128, Bytes("picture 128"));
  mResources.Open();
  CCachedPictureManager manager;
  CCachedPicture* first = manager.GetPicture(128);
  first->Load(128);
  ASSERT_NE(first->GetPicture(), nullptr);
  EXPECT_EQ(GetHandleSize(reinterpret_cast<Handle>(first->GetPicture())), 11);
  CCachedPicture* again = manager.GetPicture(128);
  EXPECT_EQ(again, first);
  EXPECT_EQ(first->Users(), 2);
  manager.ReleasePicture(first);
  EXPECT_EQ(manager.CountPictures(), 1);
  manager.ReleasePicture(first);
  EXPECT_EQ(manager.CountPictures(), 0);
}

TEST_F(ViewResources, IconsAndResourceControls) {
  std::vector<uint8_t> cntl;
  for (int v : {0, 0, 16, 60}) PutWord(cntl, v);  // bounds
  PutWord(cntl, 1);                              // value
  PutWord(cntl, 0x0100);                         // visible
  PutWord(cntl, 1);                              // maximum
  PutWord(cntl, 0);                              // minimum
  PutWord(cntl, 8);                              // definition
  cntl.insert(cntl.end(), {0, 0, 0, 42});        // reference value
  PutCounted(cntl, "From CNTL");
  mResources.Put("ICON", 300, Bytes("icon bits")).Put("CNTL", 300, cntl);
  mResources.Open();
  CIconView icon;
  icon.SetFrameRect(Rect{0, 0, 32, 32});
  icon.SetIconID(300);
  ASSERT_NE(icon.GetIcon(), nullptr);
  icon.AttachPort(mPort);
  ClearLog();
  icon.DrawRect(nullptr);
  const auto plotted = Ops(platform::DrawOp::kIcon);
  ASSERT_EQ(plotted.size(), 1u);
  EXPECT_EQ(plotted[0].handle, icon.GetIcon());
  icon.SetIconID(-1);
  EXPECT_EQ(icon.GetIcon(), nullptr);

  CResControlView control;
  control.SetFrameRect(Rect{100, 40, 120, 200});
  EXPECT_EQ(Code([&] { control.AttachPort(mPort); }), -7400);  // no resource id
  control.SetControlResourceID(301);
  EXPECT_EQ(Code([&] { control.AttachPort(mPort); }), -7053);  // no such control
  control.SetControlResourceID(300);
  control.AttachPort(mPort);
  ASSERT_NE(control.GetControl(), nullptr);
  EXPECT_EQ(control.GetControl()->title, "From CNTL");
  EXPECT_EQ(control.GetControl()->procID, 8);
  EXPECT_EQ(control.GetControl()->refCon, 42);
  // Moved to the frame's top-left, and its bounds become the frame.
  EXPECT_EQ(control.Frame(), (Rect{100, 40, 116, 100}));
}

TEST_F(ViewResources, AResourceControlGoesToItsItemWhereverItsOwnRectangleLies) {
  // A 'CNTL' keeps its size; its rectangle's place is the resource's, the
  // item's place is where the control shows.
  struct Case {
    int16_t id, top, left;
  };
  const Case cases[] = {{310, 0, 0}, {311, 10, 20}, {312, -5, 300}};
  for (const Case& c : cases) {
    std::vector<uint8_t> cntl;
    for (int v : {int{c.top}, int{c.left}, c.top + 16, c.left + 60}) PutWord(cntl, v);
    PutWord(cntl, 1);
    PutWord(cntl, 0x0100);
    PutWord(cntl, 1);
    PutWord(cntl, 0);
    PutWord(cntl, 8);
    cntl.insert(cntl.end(), {0, 0, 0, 42});
    PutCounted(cntl, "Placed");
    mResources.Put("CNTL", c.id, cntl);
  }
  mResources.Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    CResControlView control;
    control.SetFrameRect(Rect{100, 40, 120, 200});
    control.SetControlResourceID(static_cast<uint16_t>(c.id));
    control.AttachPort(mPort);
    ASSERT_NE(control.GetControl(), nullptr);
    Rect bounds;
    GetControlBounds(control.GetControl(), &bounds);
    EXPECT_EQ(bounds, (Rect{100, 40, 116, 100}));
    EXPECT_EQ(control.Frame(), bounds);
  }
}

TEST_F(ViewResources, AViewPopupShowsItsDialogAsAMenuAndForwardsClicks) {
  mResources.Put("DLOG", 210, DialogRecord(40, 150, 129))
      .Put("DITL", 129, ItemListBytes()
                            .Item(0, 0, 40, 150, 8, "!RadioGroup[('grup')('NONE')()]")
                            .Item(5, 5, 35, 70, 8, "left")
                            .Item(5, 80, 35, 145, 8, "right")
                            .Bytes());
  mResources.Open();
  CCustomView root;
  root.SetFrameRect(Rect{0, 0, kHeight, kWidth});
  CControlView* control = new CControlView;
  control->SetViewID(FourCC("ctrl"));
  control->SetStepCount(2);
  root.AddChild(control, false);
  ViewItem item;
  item.text = "!ViewPopup[('vpop')('ctrl')(210 'grup')]";
  DescriptionParser parser(&item);
  ASSERT_TRUE(parser.ParseViewDescription());
  CViewPopupControlEditor* popup = new CViewPopupControlEditor;
  popup->SetFrameRect(Rect{100, 50, 116, 150});
  popup->SetEnabled(true);
  popup->ApplyDescription(&parser);
  root.AddChild(popup, false);
  root.Realize();
  root.AttachPort(mPort);
  ASSERT_NE(popup->GetDialog(), nullptr);
  ASSERT_EQ(popup->ListedViewCount(), 1);
  CRadioGroupControlEditor* group = dynamic_cast<CRadioGroupControlEditor*>(popup->ListedView(0));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetControlView(), control);  // it now shows the popup's control

  // The menu goes up at the click; the second button lies at (5,80) in it.
  platform::ScriptMouse(Point{105, 60}, true, {At(60 + 100, 105 + 10), At(60 + 100, 105 + 10, false)});
  EventRecord click = Click(60, 105);
  popup->TrackClick(&click, false);
  EXPECT_EQ(group->GetStep(), 1);
  EXPECT_EQ(control->GetValue(), INT32_MAX);
  // The dialog was drawn in the menu's port, moved to the menu.
  GrafPtr menu = platform::LastMenuPort();
  ASSERT_NE(menu, nullptr);
  bool drewText = false;
  for (const auto& c : platform::PortLog(menu)) drewText |= c.op == platform::DrawOp::kTextBox && c.text == "right";
  EXPECT_TRUE(drewText);
  EXPECT_EQ(popup->GetDialog()->Frame(), (Rect{105, 60, 145, 210}));
  EXPECT_EQ(popup->GetDialog()->GetViewPort(), nullptr);  // the menu's port is gone
}
