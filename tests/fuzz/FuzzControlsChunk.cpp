// The reader of the library's controls-state chunk ('elck'), fed the raw
// data of a chunk: the parser alone, and a process setting its controls
// from it. What was read must write back and read again unchanged.

#include <cstdint>
#include <cstring>
#include <vector>

#include "rtas/binding/CEffectProcess.h"
#include "rtas/library/CPluginControl_Linear.h"
#include "rtas/library/CPluginControl_OnOff.h"
#include "rtas/library/FourCC.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// A process with one control of each kind the chunk can set, never
// initialised (no view): SetChunk needs only the controls.
class ChunkProcess : public CEffectProcess {
 public:
  ChunkProcess() {
    AddControl(new CPluginControl_OnOff(FourCC("bypa"), "Bypass", 0, true));
    AddControl(new CPluginControl_Linear(FourCC("gain"), "Gain", -24.0, 24.0, 0.1, 0.0, true, nullptr, nullptr));
    AddControl(new CPluginControl_Discrete(FourCC("mode"), "Mode", 0, 10, 3, true));
    SetMasterBypassControl(1);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 16)) return 0;
  const int32_t length = static_cast<int32_t>(size);

  ChunkDataParser parser;
  parser.Parse(data, length);
  FUZZ_CHECK(parser.GetRecordCount() <= length / 8);
  for (int32_t i = 0; i < parser.GetRecordCount(); ++i) {
    FUZZ_CHECK(parser.GetKind(i) >= ChunkDataParser::kFloat && parser.GetKind(i) <= ChunkDataParser::kShort);
    FUZZ_CHECK(parser.FindRecord(parser.GetName(i)) >= 0);
  }

  std::vector<uint8_t> written(static_cast<size_t>(parser.GetDataSize()));
  parser.Write(written.data());
  ChunkDataParser again;
  again.Parse(written.data(), static_cast<int32_t>(written.size()));
  if (parser.GetRecordCount() > 0) {
    FUZZ_CHECK(again.GetRecordCount() == parser.GetRecordCount());
    for (int32_t i = 0; i < parser.GetRecordCount(); ++i) {
      FUZZ_CHECK(again.GetName(i) == parser.GetName(i));
      FUZZ_CHECK(again.GetKind(i) == parser.GetKind(i));
      FUZZ_CHECK(again.GetBits(i) == parser.GetBits(i));
    }
  }

  std::vector<uint8_t> chunk(SFicPlugInChunk::kHeaderBytes + size);
  auto* header = reinterpret_cast<SFicPlugInChunk*>(chunk.data());
  header->mSize = static_cast<int32_t>(chunk.size());
  header->mChunkID = CEffectProcess::kControlsChunkID;
  if (size) std::memcpy(header->Data(), data, size);
  ChunkProcess process;
  const int32_t bypass = process.GetControl(1)->GetValue();
  FUZZ_CHECK(process.SetChunk(CEffectProcess::kControlsChunkID, header) == 0);
  FUZZ_CHECK(process.GetControl(1)->GetValue() == bypass);
  uint8_t equal = 0;
  FUZZ_CHECK(process.CompareChunk(header, &equal) == 0);
  return 0;
}
