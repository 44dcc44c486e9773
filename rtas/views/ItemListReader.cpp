#include "rtas/views/ItemListReader.h"

#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

namespace {

int16_t ReadWord(const uint8_t* at) { return static_cast<int16_t>(at[0] << 8 | at[1]); }

}  // namespace

std::vector<ViewItem> ReadItemList(const uint8_t* data, size_t size) {
  ThrowIfFalse(data != nullptr && size >= 2);
  const int count = ReadWord(data) + 1;
  ThrowIfFalse(count >= 0);
  std::vector<ViewItem> items;
  size_t at = 2;
  for (int i = 0; i < count; ++i) {
    // 4 reserved, 8 of rectangle, type and length.
    ThrowIfFalse(size - at >= 14);
    ViewItem item;
    item.bounds.top = ReadWord(data + at + 4);
    item.bounds.left = ReadWord(data + at + 6);
    item.bounds.bottom = ReadWord(data + at + 8);
    item.bounds.right = ReadWord(data + at + 10);
    item.type = data[at + 12];
    const size_t length = data[at + 13];
    at += 14;
    ThrowIfFalse(size - at >= length);
    item.text.assign(reinterpret_cast<const char*>(data + at), length);
    at += length;
    // The pad byte of the last item may be left off.
    if (length % 2 != 0 && at < size) ++at;
    items.push_back(item);
  }
  return items;
}

int16_t ItemDataWord(const ViewItem& item) {
  ThrowIfFalse(item.text.size() >= 2);
  return ReadWord(reinterpret_cast<const uint8_t*>(item.text.data()));
}
