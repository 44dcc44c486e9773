#pragma once

#include <cstdint>

#include "platform/protools/DSI.h"
#include "rtas/library/HostCommandTable.h"

// What the bundle exports to a DSP host, found by name. Each answers 0
// for a null DSP or a DSP without the library's object.
extern "C" {
// Kind 0: the callback the block carries (the library's own); any other
// kind and a null block: 0.
__attribute__((visibility("default"))) HostWord Dispatcher(SDispatcherBlock* block);
__attribute__((visibility("default"))) int16_t CDSPDoHostCommand(DsiDSP dsp, int16_t command);
__attribute__((visibility("default"))) int32_t CDSPGetLoLong(DsiDSP dsp);
__attribute__((visibility("default"))) int16_t CDSPSendLoLong(DsiDSP dsp, int32_t value);
}
