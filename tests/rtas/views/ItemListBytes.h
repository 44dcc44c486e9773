#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds 'DITL' bytes as the Mac stores them: big-endian words, items
// padded to even lengths.
class ItemListBytes {
 public:
  ItemListBytes& Item(int16_t top, int16_t left, int16_t bottom, int16_t right, uint8_t type, const std::string& data) {
    mItems.push_back({top, left, bottom, right, type, data});
    return *this;
  }
  // The data of an item that holds one resource id.
  static std::string Word(int16_t id) {
    return std::string{static_cast<char>(static_cast<uint16_t>(id) >> 8), static_cast<char>(id & 0xFF)};
  }
  std::vector<uint8_t> Bytes(bool padLast = true) const {
    std::vector<uint8_t> out;
    PutWord(out, static_cast<int16_t>(mItems.size() - 1));
    for (size_t i = 0; i < mItems.size(); ++i) {
      const Entry& e = mItems[i];
      out.insert(out.end(), 4, 0);
      PutWord(out, e.top);
      PutWord(out, e.left);
      PutWord(out, e.bottom);
      PutWord(out, e.right);
      out.push_back(e.type);
      out.push_back(static_cast<uint8_t>(e.data.size()));
      out.insert(out.end(), e.data.begin(), e.data.end());
      if (e.data.size() % 2 && (padLast || i + 1 < mItems.size())) out.push_back(0);
    }
    return out;
  }

 private:
  struct Entry {
    int16_t top, left, bottom, right;
    uint8_t type;
    std::string data;
  };
  static void PutWord(std::vector<uint8_t>& out, int16_t w) {
    out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(w) >> 8));
    out.push_back(static_cast<uint8_t>(w & 0xFF));
  }
  std::vector<Entry> mItems;
};
