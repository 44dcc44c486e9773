// A process's editor view: the host's requests handed to the root view,
// and the control views found in its tree by a control's page id.
#include <algorithm>
#include <string>

#include "rtas/library/CProcess.h"
#include "rtas/library/CProcessGroup.h"
#include "rtas/library/FourCC.h"
#include "rtas/library/ResultCodes.h"

namespace {

constexpr uint32_t kNoPageID = FourCC("NONE");

// The first view of the tree below `view` (depth first, in child order)
// that shows control n of its process.
CProcessView* FindProcessControl(CProcessView* view, int32_t n) {
  for (CProcessView* child = view->GetFirstChild(); child; child = child->GetNextSibling()) {
    int32_t index = 0;
    if (child->IsProcessControl()) {
      child->GetControlIndex(&index);
      if (index == n) return child;
    }
    if (CProcessView* found = FindProcessControl(child, n)) return found;
  }
  return nullptr;
}

}  // namespace

int32_t CProcess::DrawView(Rect* area) {
  if (mView) mView->DrawRect(area);
  return 0;
}

int32_t CProcess::ClickView(EventRecord* event) {
  if (mView) mView->DoClick(event);
  return 0;
}

int32_t CProcess::GetViewState(EventRecord* event, uint8_t* handled) {
  bool answer = false;
  if (mView) mView->DoKey(event, &answer);
  if (handled) *handled = answer;
  return 0;
}

int32_t CProcess::GetViewRect(Rect* frame) {
  if (mView && frame) mView->GetFrameRect(frame);
  return 0;
}

int32_t CProcess::SetViewPort(OpaqueGrafPtr* port) {
  if (!mView) return 0;
  mView->AttachPort(port);
  // Control views follow the window: bound while it is open, so their
  // editors show and change the process's values, unbound once it closes.
  for (int32_t n = 1; n <= CountControls(); ++n) {
    uint32_t pageID = kNoPageID;
    if (GetControlPageID(n, &pageID) != 0 || pageID == kNoPageID) continue;
    if (CProcessView* view = mView->FindViewByID(pageID)) view->AttachToControl(port ? this : nullptr, n, port != nullptr);
  }
  return 0;
}

int32_t CProcess::SetViewPosition(const Point& where) {
  if (mView && !CProcessGroup::AreViewsDisabled()) mView->MoveViewTo(where);
  return 0;
}

int32_t CProcess::ActivateView() {
  if (mView) mView->ActivateView();
  return 0;
}

int32_t CProcess::DeactivateView() {
  if (mView) mView->DeactivateView();
  return 0;
}

CProcessView* CProcess::CreateView() { return nullptr; }

int32_t CProcess::GetControlPageID(int32_t n, uint32_t* pageID) {
  uint32_t id = kNoPageID;
  int32_t result = 0;
  if (IsValidControlIndex(n)) {
    id = GetControl(n)->GetID();
  } else if (CProcessView* view = mView && !CProcessGroup::AreViewsDisabled() ? FindProcessControl(mView.get(), n)
                                                                               : nullptr) {
    id = view->GetViewID();
  } else {
    result = DAEResult::kControlRange;
  }
  if (pageID) *pageID = id;
  return result;
}

CProcessView* CProcess::FindControlView(int32_t n) {
  if (!mView) return nullptr;
  uint32_t pageID = kNoPageID;
  if (GetControlPageID(n, &pageID) != 0) return nullptr;
  return mView->FindViewByID(pageID);
}

int32_t CProcess::UpdateControlView(int32_t n) {
  if (!IsValidControlIndex(n)) return 0;
  if (CProcessView* view = FindControlView(n)) view->UpdateEditors();
  return 0;
}

int32_t CProcess::HighlightControl(int32_t n, int16_t state, int16_t first, int16_t second, const uint8_t* data) {
  if (CProcessGroup::AreViewsDisabled()) return 0;
  CProcessView* view = FindControlView(n);
  if (!view) return 0;
  view->SetHighlighted((state & 0xff) != 0);
  // The data block carries the highlight's text as a counted string.
  std::string text;
  if (data) text.assign(reinterpret_cast<const char*>(data + 1), std::min<size_t>(data[0], 11));
  view->SetHighlight(static_cast<uint16_t>(first), second, text);
  return 0;
}

int32_t CProcess::GetControlHighlight(int32_t n, int16_t* state, int16_t* colour) {
  int16_t highlighted = 0;
  uint16_t shade = 0;
  if (CProcessView* view = FindControlView(n)) {
    highlighted = view->HasControlHighlight() ? 1 : 0;
    int16_t second = 0;
    std::string text;
    view->GetControlHighlight(&shade, &second, &text);
  }
  if (state) *state = highlighted;
  if (colour) *colour = static_cast<int16_t>(shade);
  return 0;
}

int32_t CProcess::SetControlHighlight(int32_t n, int16_t state, int16_t colour) {
  CProcessView* view = FindControlView(n);
  if (!view) return 0;
  view->SetHighlighted((state & 0xff) != 0);
  uint16_t current = 0;
  int16_t second = 0;
  std::string text;
  view->GetControlHighlight(&current, &second, &text);
  view->SetHighlight(static_cast<uint16_t>(colour), second, text);
  return 0;
}

int32_t CProcess::GetFocusedControl(const Point& where, int32_t* control) {
  int32_t index = 0;
  if (mView) {
    for (CProcessView* view = mView->FindViewAt(where); view; view = view->GetParentView()) {
      if (view->IsEnabled()) {
        view->GetControlIndex(&index);
        break;
      }
    }
  }
  if (control) *control = index;
  return 0;
}
