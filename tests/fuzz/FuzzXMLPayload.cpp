// The XML parameter payload reader, fed a document text (the target adds
// the length word, so mutations of the text are not all lost to a length
// that no longer fits) and, once more, the raw input as a whole payload.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzPlug.h"

namespace {

struct Snapshot {
  std::vector<double> values;
  std::string name;
};

Snapshot Take(const FuzzPlug& plug) { return {ParamValues(plug), plug.GetPresetName(0)}; }

bool Same(const Snapshot& a, const Snapshot& b) {
  // Bitwise, so that a NaN that slipped in can never compare equal.
  return a.name == b.name && a.values.size() == b.values.size() &&
         std::memcmp(a.values.data(), b.values.data(), a.values.size() * sizeof(double)) == 0;
}

// The reader's promises for one read starting at startPos.
void Read(FuzzPlug& plug, const ChunkBuffer& chunk, int startPos, bool flaggedOnly) {
  const Snapshot before = Take(plug);
  const int end = plug.UnserializeParams(&chunk, startPos, flaggedOnly);
  FUZZ_CHECK(plug.ValuesInRange());
  if (end == 0) {
    // A refused document changes nothing.
    FUZZ_CHECK(Same(before, Take(plug)));
    return;
  }
  int32_t length = 0;
  FUZZ_CHECK(chunk.Get(&length, startPos) > 0);
  FUZZ_CHECK(end == startPos + 4 + length && end <= chunk.Size());

  // What was read must survive the writer: once written and read back, a
  // second writing is the same text.
  ChunkBuffer first, second;
  FUZZ_CHECK(plug.SerializeParams(&first));
  FuzzPlug copy(true);
  FUZZ_CHECK(copy.UnserializeParams(&first, 0, false) == first.Size());
  FUZZ_CHECK(copy.SerializeParams(&second));
  if (!first.IsEqual(second)) {
    std::fprintf(stderr, "written:\n%.*s\nrewritten:\n%.*s\n", first.Size() - 4, first.GetData() + 4,
                 second.Size() - 4, second.GetData() + 4);
  }
  FUZZ_CHECK(first.IsEqual(second));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const int n = static_cast<int>(size);

  ChunkBuffer wrapped;
  wrapped.Put(int32_t{-1});  // a prefix: positions are relative to the start given
  wrapped.Put(static_cast<int32_t>(n));
  wrapped.PutBytes(data, n);
  for (bool flaggedOnly : {false, true}) {
    FuzzPlug plug(true);
    Read(plug, wrapped, 4, flaggedOnly);
  }

  ChunkBuffer raw;
  raw.PutBytes(data, n);
  FuzzPlug plug(true);
  Read(plug, raw, 0, false);
  return 0;
}
