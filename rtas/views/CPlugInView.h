#pragma once

#include <cstdint>
#include <string>

#include "platform/hitoolbox/Events.h"
#include "platform/carboncore/MacTypes.h"
#include "platform/quickdraw/QuickDraw.h"
#include "rtas/library/FourCC.h"
#include "rtas/views/ViewItem.h"

// The base of every view of the library: a rectangle in a QuickDraw port
// that owns a tree of child views, draws itself and its children, routes
// the host's mouse and key events and keeps keyboard focus. Frames are in
// the port's local coordinates; event points are global, as the Event
// Manager gives them.
class CPlugInView {
 public:
  // The mark of clicks that a popup editor forwards from its menu.
  static constexpr uint32_t kSyntheticClick = 0x12345678;
  static constexpr int kMaxFocusDepth = 4;
  // A hidden view is parked this far to the right.
  static constexpr int16_t kHideOffset = 16384;

  CPlugInView();
  virtual ~CPlugInView();
  CPlugInView(const CPlugInView&) = delete;
  CPlugInView& operator=(const CPlugInView&) = delete;

  virtual void Realize();
  virtual void SetItem(const ViewItem* item);
  virtual void AddChild(CPlugInView* view, bool nest);
  virtual void AppendSibling(CPlugInView* view);
  virtual void SetParentView(CPlugInView* view);
  virtual CPlugInView* FindViewAt(Point pt);
  virtual void ChildMoved(CPlugInView* child);
  virtual void DeactivateView();
  virtual void ActivateView();
  virtual void AttachPort(GrafPtr port);
  virtual void GetFrameRect(Rect* frame);
  virtual void ShowView();
  virtual void HideView();
  virtual void KeyChar(int16_t character, bool* handled);
  virtual void EndEdit(bool accept);
  virtual void BeginEdit();
  virtual bool CanTakeFocus();
  virtual void DoKey(const EventRecord* event, bool* handled);
  virtual int32_t DoClick(const EventRecord* event);
  virtual void TrackClick(const EventRecord* event, bool synthetic);
  virtual void DragChild(const EventRecord* event, CPlugInView* child);
  virtual void DrawTree(const Rect& r);
  virtual void DrawRect(const Rect* r);
  virtual void IdleView(const EventRecord* event);
  virtual void SetHilite(bool hilite);
  virtual void SetEnabled(bool enabled);
  virtual bool IsEnabled();
  virtual void OffsetBy(int16_t dh, int16_t dv);
  virtual void GetForeColor(RGBColor* color);
  virtual void GetBackColor(RGBColor* color);
  virtual void SetForeColor(const RGBColor& color);
  virtual void SetBackColor(const RGBColor& color);
  virtual PixPatHandle GetBackPixPat();
  virtual void ApplyBackPattern();
  virtual void RestoreBackPattern();
  virtual void GetControlIndex(int32_t* index);
  virtual bool IsProcessControl();
  virtual bool HasControlHighlight();
  virtual void GetControlHighlight(uint16_t* color, int16_t* second, std::string* text);
  virtual PixPatHandle LoadPixPat(int16_t resourceId);
  virtual void RealizeIfRoot();
  virtual void RealizeTree();
  virtual void UnrealizeTree();
  virtual void EraseBackground(const Rect& r);
  virtual void DrawContent(const Rect& r);
  virtual void HandleClick(const EventRecord* event);

  // Frame ∩ limit ∩ every ancestor's visible rectangle; empty when they do
  // not meet.
  void GetVisibleRect(Rect* visible);
  void SetLimitRect(const Rect& limit) { mLimit = limit; }
  void SetFrameRect(const Rect& frame) { mFrame = frame; }
  const Rect& Frame() const { return mFrame; }
  GrafPtr GetViewPort() const { return mPort; }
  CPlugInView* GetParentView() const { return mParent; }
  CPlugInView* GetFirstChild() const { return mFirstChild; }
  CPlugInView* GetNextSibling() const { return mNextSibling; }
  CPlugInView* GetRootView();
  uint32_t GetViewID() const { return mID; }
  void SetViewID(uint32_t id) { mID = id; }
  CPlugInView* FindViewByID(uint32_t id);
  bool IsHilited() const { return mHilited; }
  bool IsActive() const { return mActive; }
  bool IsDragging() const { return mDragging; }
  void SetDraggable(bool draggable) { mDraggable = draggable; }
  // The view of this tree that receives keys (kept by the root).
  CPlugInView* GetFocusView() { return GetRootView()->mFocusView; }
  void SetFocusView(CPlugInView* view) { GetRootView()->mFocusView = view; }

  // Makes the view's port current with its origin and clips to the visible
  // rectangle (∩ r), less any overlay lying over it. Raises -7053 without a
  // port and -7400 past four nested focuses; UnfocusView raises -7400 when
  // nothing is focused.
  void FocusView(const Rect* r);
  void UnfocusView();
  int FocusDepth() const { return mFocusDepth; }
  void InvalidateFrame();
  void MoveViewTo(int16_t h, int16_t v);
  void MoveViewBy(int16_t dh, int16_t dv);
  void MoveWithRedraw(int16_t dh, int16_t dv);

  // A window lying over the views (a popup menu); null port when it went
  // away, which redraws what it held back.
  static void SetOverlayRect(GrafPtr port, const Rect* r);

 protected:
  // Removes the child from this view's list (it keeps its own children).
  void UnlinkChild(CPlugInView* child);
  const Rect& Limit() const { return mLimit; }

 private:
  struct FocusEntry {
    GrafPtr savedPort;
    Point savedOrigin;
    RgnHandle savedClip;
  };

  bool IsInSubtree(const CPlugInView* view) const;
  CPlugInView* NextTabCandidate(bool backwards);

  RGBColor mForeColor{0x0000, 0x0000, 0x2222};
  RGBColor mBackColor{0x8888, 0x8888, 0x8888};
  GrafPtr mPort = nullptr;
  CPlugInView* mParent = nullptr;
  CPlugInView* mFocusView = nullptr;
  bool mActive = false;
  Point mOrigin{0, 0};
  Rect mFrame{0, 0, 0, 0};
  Rect mLimit{-32000, -32000, 32000, 32000};
  bool mEnabled = false;
  bool mHilited = false;
  bool mDraggable = false;
  bool mDragging = false;
  uint32_t mID;
  CPlugInView* mFirstChild = nullptr;
  CPlugInView* mNextSibling = nullptr;
  FocusEntry mFocusStack[kMaxFocusDepth];
  int mFocusDepth = 0;
};

// Focuses a view for the life of the scope.
class CViewFocus {
 public:
  CViewFocus(CPlugInView* view, const Rect* r) : mView(view) { mView->FocusView(r); }
  ~CViewFocus() { mView->UnfocusView(); }
  CViewFocus(const CViewFocus&) = delete;
  CViewFocus& operator=(const CViewFocus&) = delete;

 private:
  CPlugInView* mView;
};
