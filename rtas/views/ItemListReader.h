#pragma once

#include <cstdint>
#include <vector>

#include "rtas/views/ViewItem.h"

// Reads the items of a 'DITL' resource: a count word (items minus one),
// then per item 4 reserved bytes, the rectangle, a type byte, a length byte,
// that many data bytes and a pad byte after an odd length. 16-bit values are
// in the host's order. A resource that ends inside an item or claims a
// negative number of items raises -7400.
std::vector<ViewItem> ReadItemList(const uint8_t* data, size_t size);

// The first data word of an item (icon, picture and control resource ids);
// -7400 when the item carries fewer than two bytes.
int16_t ItemDataWord(const ViewItem& item);
