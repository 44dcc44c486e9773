#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/windowserver/ScreenGeometry.h"

// What the toolkit stand-ins ask of the window server on the user's behalf:
// modal questions, menus and panels, in a form neither toolkit owns.
namespace platform {

// A modal alert with up to three buttons; an empty title is no button,
// except the default button, which is always there ("OK" when empty).
struct AlertRequest {
  std::string header;
  std::string message;
  std::string defaultButton;
  std::string alternateButton;
  std::string otherButton;
};

// Which button answered an alert; kAlertCancel when none did.
enum AlertResponse { kAlertDefault = 0, kAlertAlternate = 1, kAlertOther = 2, kAlertCancel = 3 };

struct MenuTree {
  struct Item {
    std::string text;  // as shown, numbering included
    bool separator = false;
    bool enabled = true;
    bool checked = false;
    bool header = false;  // a section title: shown, never chosen
    int indent = 0;       // levels
    std::shared_ptr<const MenuTree> submenu;
  };
  std::vector<Item> items;
};

// The positions from the top menu down to the chosen item; empty when
// nothing was chosen.
struct MenuChoice {
  std::vector<int> path;
};

struct PanelRequest {
  bool save = false;
  std::string folder;
  std::string file;
  std::vector<std::string> types;  // extensions without the dot; empty: any
};

struct RGB16 {
  unsigned short red = 0, green = 0, blue = 0;
};

}  // namespace platform
