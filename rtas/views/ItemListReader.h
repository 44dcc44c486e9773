#pragma once

#include <cstdint>
#include <vector>

#include "rtas/views/ViewItem.h"

// Reads the items of a 'DITL' resource: a count word (items minus one),
// then per item 4 reserved bytes, the rectangle, a type byte, a length byte,
// that many data bytes and a pad byte after an odd length. Resources come
// as the Mac stores them, 16-bit values big-endian (the Mac's own loader
// turns them into host order on the way; the stand-in's does not). A
// resource that ends inside an item or claims a negative number of items
// raises -7400.
std::vector<ViewItem> ReadItemList(const uint8_t* data, size_t size);

// The first data word of an item (icon, picture and control resource ids),
// big-endian; -7400 when the item carries fewer than two bytes.
int16_t ItemDataWord(const ViewItem& item);
