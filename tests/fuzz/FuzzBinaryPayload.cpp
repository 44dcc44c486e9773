// The binary parameter payload reader: one little-endian double per
// parameter, fed the raw input.

#include <cstdint>

#include "tests/fuzz/FuzzPlug.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  ChunkBuffer chunk;
  chunk.PutBytes(data, static_cast<int>(size));
  for (bool flaggedOnly : {false, true}) {
    FuzzPlug plug(false);
    const int end = plug.UnserializeParams(&chunk, 0, flaggedOnly);
    FUZZ_CHECK(end == -1 || end == FuzzPlug::kParams * 8);
    FUZZ_CHECK(end == -1 || static_cast<int>(size) >= end);
    FUZZ_CHECK(plug.ValuesInRange());

    // Binary payloads are exact: what was read is written back bit for bit.
    ChunkBuffer first, second;
    FUZZ_CHECK(plug.SerializeParams(&first));
    FuzzPlug copy(false);
    FUZZ_CHECK(copy.UnserializeParams(&first, 0, false) == first.Size());
    FUZZ_CHECK(copy.SerializeParams(&second));
    FUZZ_CHECK(first.IsEqual(second));
  }
  return 0;
}
