#include "rtas/library/DSPCardExports.h"

#include "rtas/library/CDSP.h"
#include "rtas/library/DsiShims.h"

namespace {

CDSP* ObjectOf(DsiDSP dsp) {
  if (!dsp) return nullptr;
  HostWord value = 0;
  if (GetDSPClientVal(dsp, &value) != 0) return nullptr;
  return reinterpret_cast<CDSP*>(value);
}

}  // namespace

HostWord Dispatcher(SDispatcherBlock* block) {
  if (!block || block->mKind != SDispatcherBlock::kLookup) return 0;
  return block->mData.mLookup.mCallback;
}

int16_t CDSPDoHostCommand(DsiDSP dsp, int16_t command) {
  CDSP* object = ObjectOf(dsp);
  return object ? object->DoHostCommand(command) : 0;
}

int32_t CDSPGetLoLong(DsiDSP dsp) {
  CDSP* object = ObjectOf(dsp);
  return object ? object->GetLoLong() : 0;
}

int16_t CDSPSendLoLong(DsiDSP dsp, int32_t value) {
  CDSP* object = ObjectOf(dsp);
  return object ? object->SendLoLong(value) : 0;
}
