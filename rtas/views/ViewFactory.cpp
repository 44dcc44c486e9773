#include "rtas/views/ViewFactory.h"

#include <algorithm>
#include <memory>

#include "rtas/views/CCustomView.h"
#include "rtas/views/CStaticTextView.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

namespace {

void PlaceFromItem(CPlugInView* view, const ViewItem& item) {
  view->SetEnabled((item.type & ViewItem::kDisabled) == 0);
  view->SetFrameRect(item.bounds);
  view->SetItem(&item);
}

}  // namespace

CPlugInView* CreateViewFromItem(const ViewItem* item, bool* ok) {
  ThrowIfNil(item);
  DescriptionParser parser(item);
  const bool accepted = parser.ParseViewDescription();
  if (ok) *ok = accepted;
  if (!accepted) return nullptr;
  ViewCreator creator = parser.GetClassNode()->Creator();
  ThrowIfNil(reinterpret_cast<const void*>(creator));
  std::unique_ptr<CPlugInView> view(creator());
  ThrowIfNil(view.get());
  PlaceFromItem(view.get(), *item);
  // A kind registered from outside may not read descriptions at all.
  if (CCustomView* custom = dynamic_cast<CCustomView*>(view.get())) {
    try {
      custom->ApplyDescription(&parser);
    } catch (...) {
      if (ok) *ok = false;
      return nullptr;
    }
  }
  return view.release();
}

CPlugInView* CreateViewFromDescription(CPlugInView* container, const char* text, int16_t x, int16_t y, int16_t width,
                                       int16_t height, bool enabled) {
  ThrowIfNil(container);
  ViewItem item;
  item.bounds = Rect{y, x, static_cast<int16_t>(y + height), static_cast<int16_t>(x + width)};
  item.type = enabled ? ViewItem::kStaticText : ViewItem::kStaticText | ViewItem::kDisabled;
  item.text = text ? text : "";
  std::replace(item.text.begin(), item.text.end(), '`', '"');
  bool ok = false;
  CPlugInView* view = CreateViewFromItem(&item, &ok);
  if (!view) {
    // The fallback goes where the view would have gone, so that the text
    // can be seen.
    view = new CStaticTextView;
    PlaceFromItem(view, item);
  }
  container->AddChild(view, true);
  view->Realize();
  return view;
}

void SetViewSize(CPlugInView* view, int16_t width, int16_t height) {
  if (view) view->SetFrameRect(Rect{0, 0, height, width});
}
