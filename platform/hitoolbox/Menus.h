#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/carboncore/MacTypes.h"
#include "platform/corefoundation/CFString.h"
#include "platform/quickdraw/QuickDraw.h"

// Stand-in for the Menu Manager as the library's popup editors use it:
// menus with items and reference values, the hierarchical list, custom menu
// definitions driven through their requests, and PopUpMenuSelect tracking
// the scripted mouse or answering a scripted choice. The screen is one
// device whose bounds a test may set.
//
// Standard menus also have item attributes, check marks, submenus attached
// to items (retained by the item) and a reference count (ReleaseMenu). A
// standard menu popped up with no scripted choice waiting is shown by the
// window server's backend (platform/windowserver), which answers for the
// menu or submenu the choice was made in.

struct OpaqueMenuRef;
typedef OpaqueMenuRef* MenuRef;
typedef MenuRef MenuHandle;
typedef int16_t MenuID;
typedef uint16_t MenuItemIndex;
typedef uint32_t MenuAttributes;
typedef uint32_t MenuItemAttributes;
typedef uint32_t MenuCommand;

enum : MenuAttributes { kMenuAttrCondenseSeparators = 1u << 5 };
enum : MenuItemAttributes {
  kMenuItemAttrDisabled = 1u << 0,
  kMenuItemAttrSeparator = 1u << 6,
  kMenuItemAttrSectionHeader = 1u << 7,
  kMenuItemAttrIgnoreMeta = 1u << 8,
};
enum : OSStatus { menuItemNotFoundErr = -5620 };

// Requests of a custom menu definition.
enum {
  kMenuDrawMsg = 0,
  kMenuSizeMsg = 2,
  kMenuPopUpMsg = 3,
  kMenuThemeSavvyMsg = 7,
  kMenuFindItemMsg = 10,
  kMenuHiliteItemMsg = 11,
};
enum { kThemeSavvyMenuResponse = 0x7473 };
enum { kMenuDefProcPtr = 0 };
enum { hierMenu = -1 };
enum { noMark = 0, checkMark = 0x12 };

// menuRect: the menu's rectangle in global coordinates (set by the pop-up
// request). hitPt: the pop-up point or the mouse, global. whichItem: the
// item popped up at, the item under the mouse, or the item to hilite.
typedef void (*MenuDefProcPtr)(int16_t message, MenuRef menu, Rect* menuRect, Point hitPt, int16_t* whichItem);

struct MenuDefSpec {
  int defType;
  MenuDefProcPtr defProc;
};

OSStatus CreateNewMenu(MenuID id, MenuAttributes attributes, MenuRef* menu);
OSStatus CreateCustomMenu(const MenuDefSpec* def, MenuID id, MenuAttributes attributes, MenuRef* menu);
void DisposeMenu(MenuRef menu);
// beforeID -1 (hierMenu) puts the menu in the hierarchical list.
void InsertMenu(MenuRef menu, MenuID beforeID);
void DeleteMenu(MenuID id);
MenuRef GetMenuHandle(MenuID id);
MenuID GetMenuID(MenuRef menu);
void AppendMenuItemText(MenuRef menu, ConstStr255Param text);
// The item goes after item afterItem (0: first); the text is copied.
OSStatus InsertMenuItemTextWithCFString(MenuRef menu, CFStringRef text, MenuItemIndex afterItem,
                                        MenuItemAttributes attributes, MenuCommand command);
OSStatus AppendMenuItemTextWithCFString(MenuRef menu, CFStringRef text, MenuItemAttributes attributes,
                                        MenuCommand command, MenuItemIndex* outNewItem);
// Checks or unchecks item (the check mark).
void CheckMenuItem(MenuRef menu, MenuItemIndex item, Boolean checked);
// The item keeps a reference to the submenu.
OSStatus SetMenuItemHierarchicalMenu(MenuRef menu, MenuItemIndex item, MenuRef submenu);
OSStatus GetMenuItemHierarchicalMenu(MenuRef menu, MenuItemIndex item, MenuRef* submenu);
MenuItemAttributes GetMenuItemAttributes(MenuRef menu, MenuItemIndex item);
// The item's text ("" for none).
std::string GetMenuItemTextString(MenuRef menu, MenuItemIndex item);
OSStatus RetainMenu(MenuRef menu);
// The last reference disposes of the menu (its submenus lose a reference).
OSStatus ReleaseMenu(MenuRef menu);
uint16_t CountMenuItems(MenuRef menu);
// Item 0 is the menu's own reference value.
OSStatus SetMenuItemRefCon(MenuRef menu, MenuItemIndex item, uintptr_t refCon);
OSStatus GetMenuItemRefCon(MenuRef menu, MenuItemIndex item, uintptr_t* refCon);
void SetItemMark(MenuRef menu, int16_t item, int16_t mark);
void GetItemMark(MenuRef menu, int16_t item, int16_t* mark);
void SetMenuWidth(MenuRef menu, int16_t width);
void SetMenuHeight(MenuRef menu, int16_t height);
int16_t GetMenuWidth(MenuRef menu);
int16_t GetMenuHeight(MenuRef menu);
// (menu id << 16) | item, or 0 when nothing was chosen.
int32_t PopUpMenuSelect(MenuRef menu, int16_t top, int16_t left, int16_t popUpItem);

// The system font the Menu Manager draws standard menus in.
int16_t LMGetSysFontFam();
void LMSetSysFontFam(int16_t font);
int16_t LMGetSysFontSize();
void LMSetSysFontSize(int16_t size);

// The screen: the desktop region and the one display device.
RgnHandle GetGrayRgn();
struct GDevice {
  Rect gdRect;
};
typedef GDevice* GDPtr;
typedef GDPtr* GDHandle;
GDHandle GetDeviceList();
GDHandle GetNextDevice(GDHandle device);

namespace platform {

enum class MenuCallKind { kInsert, kDelete, kDispose, kPopUp, kChosen, kSysFont };

struct MenuCall {
  MenuCallKind kind;
  MenuID id = 0;
  Point point{0, 0};  // PopUpMenuSelect's (left, top)
  int16_t item = 0;   // kPopUp: the item popped up at; kChosen: the answer
  int16_t font = 0;   // the system font after a kSysFont change
  int16_t size = 0;
};

const std::vector<MenuCall>& MenuCalls();
// Forgets the calls, the scripted choices and the last menu port, and puts
// back the system font (0, 12) and the screen (0, 0, 768, 1024).
void ResetMenus();
// The next PopUpMenuSelect answers this item (0: nothing chosen) after the
// definition drew the menu and tracked the scripted mouse.
void ScriptMenuChoice(int16_t item);
void SetScreenBounds(const Rect& bounds);
// The port the last custom menu was drawn in; local coordinates are global.
GrafPtr LastMenuPort();
int LiveMenuCount();

}  // namespace platform
