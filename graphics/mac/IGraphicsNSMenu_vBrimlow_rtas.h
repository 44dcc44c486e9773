#pragma once

#include "platform/cocoa/NSMenu.h"

class IPopupMenu;
class NSView;

// A Cocoa menu built from an IPopupMenu, one item per IPopupMenu item in
// the same order, so that a Cocoa item's position is the IPopupMenu index.
// Submenus are built the same way with the same receiver.
class IGraphicsNSMenu_vBrimlow_rtas : public NSMenu {
 public:
  IGraphicsNSMenu_vBrimlow_rtas* initWithIPopupMenuAndReciever(IPopupMenu* menu, NSView* receiver);
  IPopupMenu* AssociatedIPopupMenu() const { return mIPopupMenu; }

 private:
  IPopupMenu* mIPopupMenu = nullptr;  // not owned
};
