#include "rtas/library/NewProcessDSP.h"

#include <stdexcept>

#include "rtas/library/C321ChipDSP.h"
#include "rtas/library/COnyxChipDSP.h"
#include "rtas/library/CPrestoChipDSP.h"
#include "rtas/library/CProcessDSP.h"
#include "rtas/library/DsiShims.h"

CProcessDSP* GetNewCProcessDSP(DsiDSP dsp) {
  if (IsCardType18DSP(dsp)) return new CProcessDSP;
  if (IsCardType21DSP(dsp)) return new COnyxChipDSP;
  if (IsPrestoDSP(dsp)) return new CPrestoChipDSP;
  if (IsDSP321(dsp)) return new C321ChipDSP;
  throw std::runtime_error("unrecognized card type in GetNewCProcessDSP()");
}
