#include "editor/display/BandHandleLevel.h"

#include <cmath>

#include "dsp/Levels.h"
#include "plugin/engine/BandTypes.h"

namespace {

constexpr double kNeutralCutQ = 0.7;
constexpr double kNoResonanceDb = -360.0;

double ResonanceDb(double q) {
  const double ratio = std::fabs(q / kNeutralCutQ);
  return ratio > 9.999999999999999e-31 ? Levels::kLogToDb * std::log(ratio) : kNoResonanceDb;
}

}  // namespace

double HandleLevelDb(int type, double gainDb, double q) {
  if (BandTypeUsesGain(type)) return gainDb;
  if (IsCutBandType(type)) return ResonanceDb(q);
  return 0.0;
}

bool MarkerLevelDb(int type, double gainDb, double q, double* levelDb) {
  switch (type) {
    case kTypeALowShelf:
    case kTypeAHighShelf:
    case kTypeATiltShelf:
    case kTypeAFlatTilt:
    case kTypeDLowShelf:
    case kTypeDHighShelf:
    case kTypeDTiltShelf:
      *levelDb = gainDb;
      return true;
    case kTypeALowCut:
    case kTypeAHighCut:
    case kTypeDLowCut:
    case kTypeDHighCut:
      *levelDb = ResonanceDb(q);
      return true;
    case kTypeABandPass:
    case kTypeANotch:
    case kTypeDBandPass:
      *levelDb = 0.0;
      return true;
    default:
      return false;
  }
}
