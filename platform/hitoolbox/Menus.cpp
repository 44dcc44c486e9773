#include "platform/hitoolbox/Menus.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <map>

#include "platform/corefoundation/CFStringObject.h"
#include "platform/hitoolbox/Events.h"
#include "platform/quickdraw/DrawLog.h"
#include "platform/windowserver/Backend.h"

struct OpaqueMenuRef {
  MenuID id = 0;
  MenuDefProcPtr defProc = nullptr;
  int references = 1;
  MenuAttributes attributes = 0;
  struct Item {
    std::string text;
    uintptr_t refCon = 0;
    int16_t mark = noMark;
    MenuItemAttributes attributes = 0;
    MenuRef submenu = nullptr;  // a reference held
  };
  std::vector<Item> items{Item{}};  // item 0 stands for the menu itself
  int16_t width = 0;
  int16_t height = 0;
};

namespace {

struct MenuState {
  std::vector<platform::MenuCall> calls;
  std::map<MenuID, MenuRef> inserted;
  std::deque<int16_t> choices;
  int16_t sysFont = 0;
  int16_t sysSize = 12;
  OpaqueRgnHandle* gray = nullptr;
  GDevice device{Rect{0, 0, 768, 1024}};
  GDPtr devicePtr = &device;
  GrafPtr lastPort = nullptr;
  int live = 0;
};

MenuState& State() {
  static MenuState state;
  return state;
}

void Record(platform::MenuCall call) { State().calls.push_back(call); }

OpaqueMenuRef::Item* ItemAt(MenuRef menu, MenuItemIndex item) {
  if (!menu || item >= menu->items.size()) return nullptr;
  return &menu->items[item];
}

// Tracks the scripted mouse through the definition's find and hilite
// requests, as the Menu Manager's own loop would.
int16_t TrackCustomMenu(MenuRef menu, Rect* menuRect) {
  int16_t current = 0;
  while (StillDown()) {
    Point mouse;
    GetMouse(&mouse);
    int16_t found = current;
    menu->defProc(kMenuFindItemMsg, menu, menuRect, mouse, &found);
    if (found != current) {
      current = found;
      menu->defProc(kMenuHiliteItemMsg, menu, menuRect, mouse, &current);
    }
  }
  return current;
}

std::shared_ptr<platform::MenuTree> TreeOf(MenuRef menu, int depth) {
  auto tree = std::make_shared<platform::MenuTree>();
  for (size_t i = 1; i < menu->items.size(); ++i) {
    const OpaqueMenuRef::Item& item = menu->items[i];
    platform::MenuTree::Item entry;
    entry.text = item.text;
    entry.separator = (item.attributes & kMenuItemAttrSeparator) != 0;
    entry.enabled = !(item.attributes & kMenuItemAttrDisabled);
    entry.header = (item.attributes & kMenuItemAttrSectionHeader) != 0;
    entry.checked = item.mark != noMark;
    // A menu that holds itself somewhere below is shown only so deep.
    if (item.submenu && depth < 16) entry.submenu = TreeOf(item.submenu, depth + 1);
    tree->items.push_back(std::move(entry));
  }
  return tree;
}

// The backend's choice as the 1-based item of the menu it was made in.
int16_t TrackStandardMenu(MenuRef menu, Point topLeft, MenuID* chosenIn) {
  const platform::MenuChoice choice = platform::Backend().TrackMenu(
      *TreeOf(menu, 0), platform::ScreenPoint{static_cast<double>(topLeft.h), static_cast<double>(topLeft.v)});
  MenuRef level = menu;
  for (size_t i = 0; i < choice.path.size(); ++i) {
    const size_t index = static_cast<size_t>(choice.path[i]) + 1;
    if (!level || index >= level->items.size()) return 0;
    if (i + 1 == choice.path.size()) {
      *chosenIn = level->id;
      return static_cast<int16_t>(index);
    }
    level = level->items[index].submenu;
  }
  return 0;
}

}  // namespace

OSStatus CreateNewMenu(MenuID id, MenuAttributes attributes, MenuRef* menu) {
  if (!menu) return -50;
  *menu = new OpaqueMenuRef;
  (*menu)->id = id;
  (*menu)->attributes = attributes;
  ++State().live;
  return noErr;
}

OSStatus CreateCustomMenu(const MenuDefSpec* def, MenuID id, MenuAttributes attributes, MenuRef* menu) {
  if (!def || !def->defProc) return -50;
  const OSStatus status = CreateNewMenu(id, attributes, menu);
  if (status == noErr) (*menu)->defProc = def->defProc;
  return status;
}

void DisposeMenu(MenuRef menu) {
  if (!menu) return;
  Record(platform::MenuCall{platform::MenuCallKind::kDispose, menu->id});
  for (auto it = State().inserted.begin(); it != State().inserted.end();) {
    it = it->second == menu ? State().inserted.erase(it) : std::next(it);
  }
  --State().live;
  std::vector<MenuRef> submenus;
  for (OpaqueMenuRef::Item& item : menu->items) {
    if (item.submenu) submenus.push_back(item.submenu);
    item.submenu = nullptr;
  }
  delete menu;
  for (MenuRef submenu : submenus) ReleaseMenu(submenu);
}

void InsertMenu(MenuRef menu, MenuID beforeID) {
  if (!menu) return;
  (void)beforeID;
  State().inserted[menu->id] = menu;
  Record(platform::MenuCall{platform::MenuCallKind::kInsert, menu->id});
}

void DeleteMenu(MenuID id) {
  State().inserted.erase(id);
  Record(platform::MenuCall{platform::MenuCallKind::kDelete, id});
}

MenuRef GetMenuHandle(MenuID id) {
  auto it = State().inserted.find(id);
  return it == State().inserted.end() ? nullptr : it->second;
}

MenuID GetMenuID(MenuRef menu) { return menu ? menu->id : 0; }

void AppendMenuItemText(MenuRef menu, ConstStr255Param text) {
  if (!menu) return;
  OpaqueMenuRef::Item item;
  if (text) item.text.assign(reinterpret_cast<const char*>(text + 1), text[0]);
  menu->items.push_back(item);
}

OSStatus InsertMenuItemTextWithCFString(MenuRef menu, CFStringRef text, MenuItemIndex afterItem,
                                        MenuItemAttributes attributes, MenuCommand) {
  if (!menu) return paramErr;
  OpaqueMenuRef::Item item;
  item.text = platform::TextOf(text);
  item.attributes = attributes;
  const size_t at = std::min<size_t>(static_cast<size_t>(afterItem) + 1, menu->items.size());
  menu->items.insert(menu->items.begin() + static_cast<long>(at), item);
  return noErr;
}

OSStatus AppendMenuItemTextWithCFString(MenuRef menu, CFStringRef text, MenuItemAttributes attributes,
                                        MenuCommand command, MenuItemIndex* outNewItem) {
  if (!menu) return paramErr;
  const OSStatus status = InsertMenuItemTextWithCFString(menu, text, CountMenuItems(menu), attributes, command);
  if (status == noErr && outNewItem) *outNewItem = CountMenuItems(menu);
  return status;
}

void CheckMenuItem(MenuRef menu, MenuItemIndex item, Boolean checked) {
  if (OpaqueMenuRef::Item* entry = item >= 1 ? ItemAt(menu, item) : nullptr) {
    entry->mark = checked ? static_cast<int16_t>(checkMark) : static_cast<int16_t>(noMark);
  }
}

OSStatus SetMenuItemHierarchicalMenu(MenuRef menu, MenuItemIndex item, MenuRef submenu) {
  OpaqueMenuRef::Item* entry = item >= 1 ? ItemAt(menu, item) : nullptr;
  if (!entry) return menuItemNotFoundErr;
  if (submenu) RetainMenu(submenu);
  MenuRef old = entry->submenu;
  entry->submenu = submenu;
  if (old) ReleaseMenu(old);
  return noErr;
}

OSStatus GetMenuItemHierarchicalMenu(MenuRef menu, MenuItemIndex item, MenuRef* submenu) {
  OpaqueMenuRef::Item* entry = item >= 1 ? ItemAt(menu, item) : nullptr;
  if (!entry || !submenu) return menuItemNotFoundErr;
  *submenu = entry->submenu;
  return noErr;
}

MenuItemAttributes GetMenuItemAttributes(MenuRef menu, MenuItemIndex item) {
  OpaqueMenuRef::Item* entry = item >= 1 ? ItemAt(menu, item) : nullptr;
  return entry ? entry->attributes : 0;
}

std::string GetMenuItemTextString(MenuRef menu, MenuItemIndex item) {
  OpaqueMenuRef::Item* entry = item >= 1 ? ItemAt(menu, item) : nullptr;
  return entry ? entry->text : std::string();
}

OSStatus RetainMenu(MenuRef menu) {
  if (!menu) return paramErr;
  ++menu->references;
  return noErr;
}

OSStatus ReleaseMenu(MenuRef menu) {
  if (!menu) return paramErr;
  if (--menu->references == 0) DisposeMenu(menu);
  return noErr;
}

uint16_t CountMenuItems(MenuRef menu) { return menu ? static_cast<uint16_t>(menu->items.size() - 1) : 0; }

OSStatus SetMenuItemRefCon(MenuRef menu, MenuItemIndex item, uintptr_t refCon) {
  OpaqueMenuRef::Item* entry = ItemAt(menu, item);
  if (!entry) return -5620;  // menu item not found
  entry->refCon = refCon;
  return noErr;
}

OSStatus GetMenuItemRefCon(MenuRef menu, MenuItemIndex item, uintptr_t* refCon) {
  OpaqueMenuRef::Item* entry = ItemAt(menu, item);
  if (!entry || !refCon) return -5620;
  *refCon = entry->refCon;
  return noErr;
}

void SetItemMark(MenuRef menu, int16_t item, int16_t mark) {
  if (!menu || item < 1) return;
  // Custom menus have no items of their own; a mark still has to stick.
  if (static_cast<size_t>(item) >= menu->items.size()) menu->items.resize(static_cast<size_t>(item) + 1);
  menu->items[static_cast<size_t>(item)].mark = mark;
}

void GetItemMark(MenuRef menu, int16_t item, int16_t* mark) {
  if (!mark) return;
  OpaqueMenuRef::Item* entry = item >= 1 ? ItemAt(menu, static_cast<MenuItemIndex>(item)) : nullptr;
  *mark = entry ? entry->mark : static_cast<int16_t>(noMark);
}

void SetMenuWidth(MenuRef menu, int16_t width) {
  if (menu) menu->width = width;
}

void SetMenuHeight(MenuRef menu, int16_t height) {
  if (menu) menu->height = height;
}

int16_t GetMenuWidth(MenuRef menu) { return menu ? menu->width : 0; }

int16_t GetMenuHeight(MenuRef menu) { return menu ? menu->height : 0; }

int32_t PopUpMenuSelect(MenuRef menu, int16_t top, int16_t left, int16_t popUpItem) {
  if (!menu) return 0;
  MenuState& s = State();
  Record(platform::MenuCall{platform::MenuCallKind::kPopUp, menu->id, Point{top, left}, popUpItem});
  int16_t item = 0;
  if (menu->defProc) {
    Rect menuRect{0, 0, 0, 0};
    int16_t at = popUpItem;
    menu->defProc(kMenuSizeMsg, menu, &menuRect, Point{top, left}, &at);
    menu->defProc(kMenuPopUpMsg, menu, &menuRect, Point{top, left}, &at);
    platform::DisposeStandInPort(s.lastPort);
    s.lastPort = platform::NewStandInPort(static_cast<int16_t>(menuRect.right - menuRect.left),
                                          static_cast<int16_t>(menuRect.bottom - menuRect.top),
                                          Point{menuRect.top, menuRect.left});
    GrafPtr saved = GetPort();
    SetPort(s.lastPort);
    SetOrigin(menuRect.left, menuRect.top);
    int16_t none = 0;
    menu->defProc(kMenuDrawMsg, menu, &menuRect, Point{top, left}, &none);
    item = TrackCustomMenu(menu, &menuRect);
    SetPort(saved);
  }
  MenuID chosenIn = menu->id;
  if (!s.choices.empty()) {
    item = s.choices.front();
    s.choices.pop_front();
  } else if (!menu->defProc) {
    item = TrackStandardMenu(menu, Point{top, left}, &chosenIn);
  }
  Record(platform::MenuCall{platform::MenuCallKind::kChosen, chosenIn, Point{top, left}, item});
  return item > 0 ? (static_cast<int32_t>(chosenIn) << 16) | static_cast<uint16_t>(item) : 0;
}

int16_t LMGetSysFontFam() { return State().sysFont; }

void LMSetSysFontFam(int16_t font) {
  State().sysFont = font;
  Record(platform::MenuCall{platform::MenuCallKind::kSysFont, 0, Point{0, 0}, 0, font, State().sysSize});
}

int16_t LMGetSysFontSize() { return State().sysSize; }

void LMSetSysFontSize(int16_t size) {
  State().sysSize = size;
  Record(platform::MenuCall{platform::MenuCallKind::kSysFont, 0, Point{0, 0}, 0, State().sysFont, size});
}

RgnHandle GetGrayRgn() {
  MenuState& s = State();
  if (!s.gray) s.gray = NewRgn();
  RectRgn(s.gray, &s.device.gdRect);
  return s.gray;
}

GDHandle GetDeviceList() { return &State().devicePtr; }

GDHandle GetNextDevice(GDHandle device) {
  (void)device;
  return nullptr;
}

namespace platform {

const std::vector<MenuCall>& MenuCalls() { return State().calls; }

void ResetMenus() {
  MenuState& s = State();
  s.calls.clear();
  s.choices.clear();
  s.sysFont = 0;
  s.sysSize = 12;
  s.device.gdRect = Rect{0, 0, 768, 1024};
  DisposeStandInPort(s.lastPort);
  s.lastPort = nullptr;
}

void ScriptMenuChoice(int16_t item) { State().choices.push_back(item); }

void SetScreenBounds(const Rect& bounds) { State().device.gdRect = bounds; }

GrafPtr LastMenuPort() { return State().lastPort; }

int LiveMenuCount() { return State().live; }

}  // namespace platform
