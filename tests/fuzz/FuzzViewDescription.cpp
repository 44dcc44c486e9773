// View descriptions and 'DITL' item lists, the two texts the view factory
// reads. The first byte chooses: even, the rest is a description given to
// CreateViewFromDescription; odd, the rest is an item list built into an
// item list view. Either way the views made are then realized, drawn,
// clicked, typed at and idled, with no mouse to track.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/hitoolbox/MacWindows.h"
#include "platform/quickdraw/DrawLog.h"
#include "rtas/views/CItemListView.h"
#include "rtas/views/CStaticTextView.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/views/ItemListReader.h"
#include "rtas/views/ViewFactory.h"
#include "rtas/library/CDAEError.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

class FuzzItemList : public CItemListView {
 public:
  void Build(const uint8_t* data, size_t size) { BuildItems(data, size); }
};

int CountTree(CPlugInView* view) {
  int count = 1;
  for (CPlugInView* child = view->GetFirstChild(); child; child = child->GetNextSibling()) count += CountTree(child);
  return count;
}

void Exercise(CPlugInView* root, GrafPtr port) {
  try {
    root->Realize();
  } catch (const CDAEError&) {
    // A description may name resources this bundle lacks.
  }
  try {
    root->AttachPort(port);
    root->ActivateView();
    root->DrawRect(nullptr);
    EventRecord click{mouseDown, 0, 0, Point{10, 10}, 0};
    root->DoClick(&click);
    for (char c : {'5', '\t', '\x1e', '\r', '\x1b'}) {
      EventRecord key{keyDown, static_cast<unsigned char>(c), 0, Point{0, 0}, 0};
      bool handled = false;
      root->DoKey(&key, &handled);
    }
    root->IdleView(nullptr);
    root->UnrealizeTree();
    root->AttachPort(nullptr);
  } catch (const CDAEError&) {
    // Refusals are reported, never crashes.
  }
  FUZZ_CHECK(root->FocusDepth() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 4096) return 0;
  static WindowRef window = platform::NewStandInWindow(400, 300);
  GrafPtr port = GetWindowPort(window);
  platform::ClearPortLog(port);
  const uint8_t* body = data + 1;
  const size_t length = size - 1;

  if (data[0] % 2 == 0) {
    const std::string text(reinterpret_cast<const char*>(body), length);
    auto container = std::make_unique<CCustomView>();
    container->SetFrameRect(Rect{0, 0, 300, 400});
    CPlugInView* view = nullptr;
    try {
      view = CreateViewFromDescription(container.get(), text.c_str(), 0, 0, 400, 300, (data[0] & 2) != 0);
      FUZZ_CHECK(view != nullptr);
    } catch (const CDAEError&) {
      // Only realizing the new view may fail here; it is the container's.
      FUZZ_CHECK(container->GetFirstChild() != nullptr);
    }
    if (view) FUZZ_CHECK(view->GetParentView() != nullptr);
    // Text that is not a description is shown as it is (up to its first
    // zero byte, backquotes read as double quotes, cut to 255).
    ViewItem item;
    item.text = text.c_str();
    for (char& c : item.text) c = c == '`' ? '"' : c;
    DescriptionParser parser(&item);
    if (!parser.ParseViewDescription()) {
      CStaticTextView* fallback = dynamic_cast<CStaticTextView*>(view);
      FUZZ_CHECK(fallback != nullptr && fallback->GetText() == item.text.substr(0, 255));
    }
    Exercise(container.get(), port);
    return 0;
  }

  size_t items = 0;
  bool read = false;
  try {
    items = ReadItemList(body, length).size();
    read = true;
  } catch (const CDAEError& e) {
    FUZZ_CHECK(e.Code() == -7400);
  }
  auto list = std::make_unique<FuzzItemList>();
  list->SetFrameRect(Rect{10, 10, 290, 390});
  try {
    list->Build(body, length);
    FUZZ_CHECK(read);
    // Every item became one view, some of them nested in others.
    FUZZ_CHECK(static_cast<size_t>(CountTree(list.get()) - 1) >= items);
  } catch (const CDAEError&) {
  }
  Exercise(list.get(), port);
  return 0;
}
