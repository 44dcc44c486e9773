#include "rtas/views/ViewOverlay.h"

#include <vector>

#include "rtas/views/CPlugInView.h"
#include "rtas/library/CDAEError.h"

namespace {

struct HeldBack {
  CPlugInView* view;
  Rect r;
};

struct OverlayState {
  GrafPtr port = nullptr;
  Rect globalRect{0, 0, 0, 0};
  std::vector<HeldBack> table;
};

OverlayState& State() {
  static OverlayState state;
  return state;
}

}  // namespace

namespace ViewOverlay {

GrafPtr Port() { return State().port; }

const Rect& GlobalRect() { return State().globalRect; }

void Set(GrafPtr port, const Rect* globalRect) {
  State().port = port;
  if (globalRect) State().globalRect = *globalRect;
}

void HoldBack(CPlugInView* view, const Rect& r) {
  for (HeldBack& entry : State().table) {
    if (entry.view == view) {
      UnionRect(&entry.r, &r, &entry.r);
      return;
    }
  }
  if (static_cast<int>(State().table.size()) >= kMaxHeldBack) throw CDAEError(-7400);
  State().table.push_back(HeldBack{view, r});
}

void RedrawHeldBack() {
  std::vector<HeldBack>& table = State().table;
  while (!table.empty()) {
    const HeldBack entry = table.back();
    table.pop_back();
    entry.view->DrawRect(&entry.r);
  }
}

void Forget(CPlugInView* view) {
  std::vector<HeldBack>& table = State().table;
  for (auto it = table.begin(); it != table.end();) it = it->view == view ? table.erase(it) : it + 1;
}

int HeldBackCount() { return static_cast<int>(State().table.size()); }

}  // namespace ViewOverlay
