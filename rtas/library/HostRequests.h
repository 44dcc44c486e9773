#pragma once

#include <cstdint>

#include "platform/protools/DSI.h"
#include "platform/protools/HostWords.h"

// The DSP-card side's requests to the host through its callback procedure:
// the words travel in a locked memory handle, and the answer is the host's
// 16-bit status (-7175 without a procedure, -7176 without memory).
int16_t RequestHost13(HostWord a, HostWord b, HostWord c);
int16_t RequestHost15(HostWord a, HostWord b);
int16_t RequestHost19(HostWord a, HostWord b, HostWord c);
int16_t RequestHost20(HostWord a, HostWord b);
// Selector 15 with the DSP's driver type and the address of a word the
// host fills: that word. Any failure throws CDAEError with its code.
int32_t RequestDriverAnswer(DsiDSP dsp);
