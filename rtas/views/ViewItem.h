#pragma once

#include <cstdint>
#include <string>

#include "platform/carboncore/MacTypes.h"

// One item of a resource-described editor: where it goes, what kind it is
// and its text (a view description or a static text). Item-list resources
// carry the text behind a length byte; an item made from a description in
// code keeps its whole text, however long.
struct ViewItem {
  enum : uint8_t { kStaticText = 8, kDisabled = 0x80 };

  Rect bounds{0, 0, 0, 0};
  uint8_t type = kStaticText;
  std::string text;
};
