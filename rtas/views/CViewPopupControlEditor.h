#pragma once

#include "rtas/views/CControlEditor.h"
#include "rtas/views/CPopupMenuClient.h"

class CDialogView;

// Pops a dialog view built from a 'DLOG' up as a menu; clicks inside it
// reach its views as synthetic clicks, so they do not track the mouse
// themselves.
class CViewPopupControlEditor : public CControlEditor, private CPopupMenuClient {
 public:
  static constexpr int kMaxListedViews = 4;

  ~CViewPopupControlEditor() override;

  void ApplyDescription(DescriptionParser* parser) override;
  void RealizeTree() override;
  void TrackClick(const EventRecord* event, bool synthetic) override;

  CDialogView* GetDialog() const { return mDialog; }
  int16_t GetDialogResourceID() const { return mDialogID; }
  int ListedViewCount() const { return mListedCount; }
  uint32_t ListedViewID(int i) const { return mListedIDs[i]; }
  CPlugInView* ListedView(int i) const { return mListed[i]; }

 private:
  void ContentSize(int16_t* width, int16_t* height) override;
  Point Placement(Point where, int16_t popUpItem) override;
  Rect ScreenBounds(Point where) override;
  void DrawMenu(const Rect& menuRect, Point origin) override;
  int16_t FindItem(const Rect& menuRect, Point origin, Point mouse, int16_t current) override;
  uint32_t ScrollPauseTicks() const override { return 4; }
  void MenuShown(GrafPtr port, const Rect* menuRect) override;

  int16_t mDialogID = 0;
  uint32_t mListedIDs[kMaxListedViews] = {};
  int mListedCount = 0;
  CDialogView* mDialog = nullptr;
  CPlugInView* mListed[kMaxListedViews] = {};
  GrafPtr mMenuPort = nullptr;
};
