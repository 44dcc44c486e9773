#include "rtas/views/CViewPopupControlEditor.h"

#include "rtas/views/CControlView.h"
#include "rtas/views/CDialogView.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

CViewPopupControlEditor::~CViewPopupControlEditor() { delete mDialog; }

void CViewPopupControlEditor::ApplyDescription(DescriptionParser* parser) {
  CControlEditor::ApplyDescription(parser);
  const DescriptionNode* n = parser->TakeGroup();
  ThrowIfNil(n);
  ThrowIfFalse(n->kind == DescriptionNode::kInteger);
  mDialogID = static_cast<int16_t>(n->Integer());
  mListedCount = 0;
  for (n = n->next; n; n = n->next) {
    ThrowIfFalse(n->kind == DescriptionNode::kFourCC && mListedCount < kMaxListedViews);
    mListedIDs[mListedCount++] = n->FourCC();
  }
}

void CViewPopupControlEditor::RealizeTree() {
  CControlEditor::RealizeTree();
  if (mDialog) return;
  mDialog = new CDialogView;
  mDialog->SetDialogID(mDialogID);
  try {
    mDialog->Realize();
  } catch (...) {
    delete mDialog;
    mDialog = nullptr;
    throw;
  }
  // The listed editors leave the control views of the dialog's own tree and
  // show this editor's control instead, so that choosing in the popup
  // changes what the popup shows.
  for (int i = 0; i < mListedCount; ++i) {
    mListed[i] = mDialog->FindViewByID(mListedIDs[i]);
    CControlEditor* editor = dynamic_cast<CControlEditor*>(mListed[i]);
    if (!editor) continue;
    if (CControlView* control = editor->GetControlView()) control->DetachEditor(editor);
    if (GetControlView()) GetControlView()->AttachEditor(editor);
  }
}

void CViewPopupControlEditor::TrackClick(const EventRecord* event, bool synthetic) {
  (void)synthetic;
  if (!mDialog) return;
  Point where = event->where;
  if (GrafPtr port = GetViewPort()) {
    GrafPtr saved = GetPort();
    SetPort(port);
    LocalToGlobal(&where);
    SetPort(saved);
  }
  SetHilite(true);
  Run(where, 0);
  SetHilite(false);
}

void CViewPopupControlEditor::ContentSize(int16_t* width, int16_t* height) {
  const Rect& f = mDialog->Frame();
  *width = static_cast<int16_t>(f.right - f.left);
  *height = static_cast<int16_t>(f.bottom - f.top);
}

Point CViewPopupControlEditor::Placement(Point where, int16_t popUpItem) {
  (void)popUpItem;
  return where;
}

Rect CViewPopupControlEditor::ScreenBounds(Point where) {
  for (GDHandle device = GetDeviceList(); device; device = GetNextDevice(device)) {
    if (PtInRect(where, &(*device)->gdRect)) return (*device)->gdRect;
  }
  GDHandle main = GetDeviceList();
  return main ? (*main)->gdRect : Rect{0, 0, 0, 0};
}

void CViewPopupControlEditor::MenuShown(GrafPtr port, const Rect* menuRect) {
  SetOverlayRect(port, menuRect);
  if (!port && mMenuPort) {
    // The menu's port goes away with the menu.
    mDialog->AttachPort(nullptr);
    mMenuPort = nullptr;
  }
}

void CViewPopupControlEditor::DrawMenu(const Rect& menuRect, Point origin) {
  GrafPtr port = GetPort();
  if (mMenuPort != port) {
    mDialog->AttachPort(port);
    mMenuPort = port;
  }
  mDialog->MoveViewTo(origin.h, origin.v);
  mDialog->SetLimitRect(menuRect);
  mDialog->DrawRect(nullptr);
}

int16_t CViewPopupControlEditor::FindItem(const Rect& menuRect, Point origin, Point mouse, int16_t current) {
  (void)menuRect;
  (void)origin;
  (void)current;
  EventRecord click{mouseDown, kSyntheticClick, TickCount(), mouse, btnState};
  mDialog->DoClick(&click);
  return 0;
}
