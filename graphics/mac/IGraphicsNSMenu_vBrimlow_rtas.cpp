#include "graphics/mac/IGraphicsNSMenu_vBrimlow_rtas.h"

#include "framework/IPopupMenu.h"
#include "graphics/mac/MenuItemPrefix.h"

namespace {

// Deeper than any real menu: only a menu that holds itself gets there.
constexpr int kMaxMenuDepth = 32;
int gDepth = 0;  // menus are built on the main thread only

}  // namespace

IGraphicsNSMenu_vBrimlow_rtas* IGraphicsNSMenu_vBrimlow_rtas::initWithIPopupMenuAndReciever(IPopupMenu* menu,
                                                                                            NSView* receiver) {
  initWithTitle("");
  setAutoenablesItems(false);
  mIPopupMenu = menu;
  if (!menu || gDepth > kMaxMenuDepth) return this;
  ++gDepth;
  for (int i = 0; i < menu->GetNItems(); ++i) {
    const IPopupMenuItem* item = menu->GetItem(i);
    // Numbered by position, separators included, so numbers match indexes.
    const std::string title = PrefixedItemText(menu->GetPrefix(), i + 1, item->GetText());
    if (item->GetSubmenu()) {
      NSMenuItem* opener = new NSMenuItem(title, "", "");
      auto* submenu = new IGraphicsNSMenu_vBrimlow_rtas;
      submenu->initWithIPopupMenuAndReciever(item->GetSubmenu(), receiver);
      opener->setSubmenu(submenu);
      submenu->release();
      addItem(opener);
      opener->release();
    } else if (item->GetIsSeparator()) {
      addItem(NSMenuItem::separatorItem());
    } else {
      NSMenuItem* entry = new NSMenuItem(title, "OnMenuSelection:", "");
      if (item->GetIsIndented()) entry->setIndentationLevel(1);
      entry->setState(item->GetChecked() ? NSOnState : NSOffState);
      entry->setEnabled(item->GetEnabled());
      addItem(entry);
      entry->release();
    }
  }
  --gDepth;
  return this;
}
