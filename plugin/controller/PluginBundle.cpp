#include "plugin/controller/Brimlow.h"

// The bundle's code is the whole plug-in: the factory keeps every part of
// it linked in until the host entry points reach it themselves.
namespace {

__attribute__((used)) Brimlow* (*const kMakePlug)() = &MakePlug;

}  // namespace
