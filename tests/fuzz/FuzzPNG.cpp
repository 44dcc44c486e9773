// The PNG loader: the input as a ".png" file, read into a new bitmap and
// into one of the caller's. Whatever the file, a result has the header's
// size, and the caller's bitmap stays the caller's to draw into.

#include <cstdint>
#include <memory>

#include "lice/lice.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/FuzzTempFile.h"

namespace {

uint32_t BigEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
         p[3];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  // Signature, IHDR length and type, then width and height.
  const bool hasHeader = size >= 24 && BigEndian32(data + 12) == 0x49484452u;  // "IHDR"
  const uint32_t width = hasHeader ? BigEndian32(data + 16) : 0;
  const uint32_t height = hasHeader ? BigEndian32(data + 20) : 0;
  // Large images are refused or allocated as they should be; fuzzing them
  // costs time and memory and reaches nothing new.
  if (static_cast<uint64_t>(width) * height > (1u << 22)) return 0;
  const FuzzTempFile file(data, size, ".png");
  if (!file.Ok()) std::abort();  // a full disk, not a finding

  std::unique_ptr<LICE_IBitmap> loaded(LICE_LoadPNG(file.Path().c_str(), nullptr));
  if (loaded) {
    FUZZ_CHECK(hasHeader);
    FUZZ_CHECK(loaded->getWidth() == static_cast<int>(width) && loaded->getHeight() == static_cast<int>(height));
    FUZZ_CHECK(loaded->getBits() != nullptr && loaded->getRowSpan() >= loaded->getWidth());
  }

  LICE_MemBitmap mine(3, 2, 4);
  LICE_IBitmap* into = LICE_LoadPNGIfExtension(file.Path().c_str(), true, &mine);
  FUZZ_CHECK(into == nullptr || into == &mine);
  FUZZ_CHECK(static_cast<bool>(into) == static_cast<bool>(loaded));
  if (into) FUZZ_CHECK(mine.getWidth() == static_cast<int>(width) && mine.getHeight() == static_cast<int>(height));
  // Every pixel the bitmap claims is there to be written, after a failure too.
  LICE_FillRect(&mine, 0, 0, mine.getWidth(), mine.getHeight(), 0xFFFFFFFFu, 1.0f, 0);
  return 0;
}
