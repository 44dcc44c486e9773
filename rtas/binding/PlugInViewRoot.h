#pragma once

#include <memory>

#include "rtas/library/CProcessView.h"

class CPlugInView;

// A tree of the library's views as the process's root view: the process's
// requests go to the root view of the tree, which it owns. The editor's
// tree holds no control views, so the control-view requests and the
// lookups by id find nothing.
class PlugInViewRoot : public CProcessView {
 public:
  explicit PlugInViewRoot(CPlugInView* root);
  ~PlugInViewRoot() override;

  CPlugInView* Root() const { return mRoot.get(); }

  void Realize() override;
  CProcessView* FindViewAt(const Point& where) override;
  void DeactivateView() override;
  void ActivateView() override;
  void AttachPort(OpaqueGrafPtr* port) override;
  void GetFrameRect(Rect* frame) override;
  void DoKey(const EventRecord* event, bool* handled) override;
  int32_t DoClick(const EventRecord* event) override;
  void DrawRect(const Rect* area) override;
  bool IsEnabled() override;
  void GetControlIndex(int32_t* index) override;
  bool IsProcessControl() override { return false; }
  bool HasControlHighlight() override { return false; }
  void GetControlHighlight(uint16_t*, int16_t*, std::string*) override {}
  void MoveViewTo(const Point& where) override;

  CProcessView* GetParentView() override { return nullptr; }
  CProcessView* GetFirstChild() override { return nullptr; }
  CProcessView* GetNextSibling() override { return nullptr; }
  uint32_t GetViewID() override;
  CProcessView* FindViewByID(uint32_t) override { return nullptr; }

  void SetHighlighted(bool) override {}
  void SetHighlight(uint16_t, int16_t, const std::string&) override {}
  void UpdateEditors() override {}
  void AttachToControl(CProcess*, int32_t, bool) override {}

 private:
  std::unique_ptr<CPlugInView> mRoot;
};
