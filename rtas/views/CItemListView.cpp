#include "rtas/views/CItemListView.h"

#include <memory>
#include <vector>

#include "rtas/views/CButtonView.h"
#include "rtas/views/CCheckBoxView.h"
#include "rtas/views/CIconView.h"
#include "rtas/views/CPictureView.h"
#include "rtas/views/CRadioButtonView.h"
#include "rtas/views/CResControlView.h"
#include "rtas/views/CScrollControlView.h"
#include "rtas/views/CStaticTextView.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/views/ItemListReader.h"
#include "rtas/views/ViewFactory.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"
#include "rtas/views/ViewResources.h"

namespace {

constexpr OSType kDITLType = 0x4449544C;  // 'DITL'

enum ItemType : uint8_t {
  kUserItem = 0,
  kControlItem = 4,
  kStaticTextItem = 8,
  kEditTextItem = 16,
  kIconItem = 32,
  kPictureItem = 64,
};

}  // namespace

void CItemListView::ApplyDescription(DescriptionParser* parser) {
  CCustomView::ApplyDescription(parser);
  const DescriptionNode* n = parser->TakeGroup();
  ThrowIfNil(n);
  ThrowIfFalse(n->kind == DescriptionNode::kInteger);
  mItemListID = static_cast<int16_t>(n->Integer());
  n = n->next;
  if (!n) return;
  const DescriptionNode* vertical = n->next;
  ThrowIfFalse(n->kind == DescriptionNode::kFourCC && vertical && vertical->kind == DescriptionNode::kFourCC &&
               !vertical->next);
  mHorizontalID = n->FourCC();
  mVerticalID = vertical->FourCC();
}

CPlugInView* CItemListView::MakeItemView(const ViewItem& item) {
  const uint8_t type = item.type & 0x7C;
  bool ok = false;
  switch (type) {
    case kUserItem:
      return new CPlugInView;
    case kControlItem: {
      if (CPlugInView* view = CreateViewFromItem(&item, &ok)) return view;
      switch (item.type & 3) {
        case 0: case 1: case 2: {
          CMacControlView* control = (item.type & 3) == 0   ? static_cast<CMacControlView*>(new CButtonView)
                                     : (item.type & 3) == 1 ? static_cast<CMacControlView*>(new CCheckBoxView)
                                                            : static_cast<CMacControlView*>(new CRadioButtonView);
          control->SetTitle(item.text);
          return control;
        }
        default: {
          const int16_t id = ItemDataWord(item);
          CResControlView* control = new CResControlView;
          control->SetControlResourceID(static_cast<uint16_t>(id));
          return control;
        }
      }
    }
    case kStaticTextItem:
    case kEditTextItem: {
      if (CPlugInView* view = CreateViewFromItem(&item, &ok)) return view;
      CStaticTextView* text = new CStaticTextView;
      text->SetText(item.text);
      return text;
    }
    case kIconItem: {
      const int16_t id = ItemDataWord(item);
      CIconView* icon = new CIconView;
      icon->SetIconID(id);
      return icon;
    }
    case kPictureItem: {
      const int16_t id = ItemDataWord(item);
      std::unique_ptr<CPictureView> picture(new CPictureView);
      picture->SetPicture(CPictureView::kNormal, static_cast<uint16_t>(id));
      return picture.release();
    }
    default:
      throw CDAEError(-7400);
  }
}

void CItemListView::BuildItems(const uint8_t* data, size_t size) {
  const std::vector<ViewItem> items = ReadItemList(data, size);
  for (const ViewItem& item : items) {
    CPlugInView* view = MakeItemView(item);
    view->SetEnabled((item.type & ViewItem::kDisabled) == 0);
    view->SetFrameRect(item.bounds);
    AddChild(view, true);
    view->Realize();
  }
  for (CPlugInView* child = GetFirstChild(); child; child = child->GetNextSibling()) {
    child->MoveViewBy(Frame().left, Frame().top);
  }
}

void CItemListView::RealizeIfRoot() {
  if (mItemListID == kNoItemList) throw CDAEError(-7053);
  std::vector<uint8_t> data;
  if (!ReadResourceBytes(kDITLType, mItemListID, &data)) throw CDAEError(-7053);
  BuildItems(data.data(), data.size());
  CCustomView::RealizeIfRoot();
}

CScrollControlView* CItemListView::FindScrollControl(uint32_t id) {
  for (CPlugInView* ancestor = GetParentView(); ancestor; ancestor = ancestor->GetParentView()) {
    if (CPlugInView* hit = ancestor->FindViewByID(id)) return dynamic_cast<CScrollControlView*>(hit);
  }
  return nullptr;
}

void CItemListView::RealizeTree() {
  if (!mHorizontal && (mHorizontal = FindScrollControl(mHorizontalID))) {
    mHorizontal->SetScrolledView(this, CScrollControlView::kHorizontal);
  }
  if (!mVertical && (mVertical = FindScrollControl(mVerticalID))) {
    mVertical->SetScrolledView(this, CScrollControlView::kVertical);
  }
  CCustomView::RealizeTree();
}

void CItemListView::UnrealizeTree() {
  if (mHorizontal) mHorizontal->SetScrolledView(nullptr, CScrollControlView::kHorizontal);
  if (mVertical) mVertical->SetScrolledView(nullptr, CScrollControlView::kVertical);
  mHorizontal = mVertical = nullptr;
  CCustomView::UnrealizeTree();
}

void CItemListView::DrawTree(const Rect& r) {
  if (!GetViewPort()) return;
  CViewFocus focus(this, &r);
  CCustomView::DrawTree(r);
}

void CItemListView::ScrollBy(int16_t dh, int16_t dv) {
  if (dh == 0 && dv == 0) return;
  for (CPlugInView* child = GetFirstChild(); child; child = child->GetNextSibling()) child->OffsetBy(dh, dv);
  if (!GetViewPort()) return;
  Rect uncovered;
  {
    CViewFocus focus(this, nullptr);
    RGBColor savedBack;
    ::GetBackColor(&savedBack);
    RGBColor back;
    GetBackColor(&back);
    RGBBackColor(&back);
    ApplyBackPattern();
    Rect visible;
    GetVisibleRect(&visible);
    RgnHandle update = NewRgn();
    ScrollRect(&visible, dh, dv, update);
    GetRegionBounds(update, &uncovered);
    DisposeRgn(update);
    RestoreBackPattern();
    RGBBackColor(&savedBack);
  }
  if (!EmptyRect(&uncovered)) DrawRect(&uncovered);
}

void CItemListView::GetContentBounds(Rect* bounds) {
  *bounds = Rect{0, 0, 0, 0};
  for (CPlugInView* child = GetFirstChild(); child; child = child->GetNextSibling()) {
    UnionRect(bounds, &child->Frame(), bounds);
  }
}
