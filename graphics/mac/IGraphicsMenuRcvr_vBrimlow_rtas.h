#pragma once

#include "platform/cocoa/NSMenu.h"
#include "platform/cocoa/NSView.h"

// The target of a Cocoa popup's items: keeps the item the user chose.
class IGraphicsMenuRcvr_vBrimlow_rtas : public NSView {
 public:
  void OnMenuSelection(NSObject* sender) { nsMenuItem = dynamic_cast<NSMenuItem*>(sender); }
  // Null until a choice is made.
  NSMenuItem* MenuItem() const { return nsMenuItem; }

 protected:
  bool PerformAction(const std::string& action, NSObject* sender) override {
    if (action != "OnMenuSelection:") return false;
    OnMenuSelection(sender);
    return true;
  }

 private:
  NSMenuItem* nsMenuItem = nullptr;  // not retained: its menu outlives the popup
};
