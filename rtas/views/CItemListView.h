#pragma once

#include "rtas/views/CCustomView.h"

class CScrollControlView;
struct ViewItem;

// Turns the items of a 'DITL' into child views when realized, placed
// relative to its own frame and clipped to it; scroll controls named in
// its description move its content.
class CItemListView : public CCustomView {
 public:
  static constexpr int16_t kNoItemList = -1;

  void ApplyDescription(DescriptionParser* parser) override;
  void RealizeIfRoot() override;
  void RealizeTree() override;
  void UnrealizeTree() override;
  void DrawTree(const Rect& r) override;

  virtual void ScrollBy(int16_t dh, int16_t dv);
  virtual void GetContentBounds(Rect* bounds);

  void SetItemListID(int16_t id) { mItemListID = id; }
  int16_t GetItemListID() const { return mItemListID; }
  uint32_t GetHorizontalScrollID() const { return mHorizontalID; }
  uint32_t GetVerticalScrollID() const { return mVerticalID; }

 protected:
  // Makes the children from the item list's bytes.
  void BuildItems(const uint8_t* data, size_t size);

 private:
  CPlugInView* MakeItemView(const ViewItem& item);
  CScrollControlView* FindScrollControl(uint32_t id);

  int16_t mItemListID = kNoItemList;
  uint32_t mHorizontalID = 0x4E4F4E45;  // 'NONE'
  uint32_t mVerticalID = 0x4E4F4E45;
  CScrollControlView* mHorizontal = nullptr;
  CScrollControlView* mVertical = nullptr;
};
