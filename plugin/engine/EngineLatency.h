#pragma once

#include "dsp/resampler/Resampler.h"

// The plug-in's latency in host samples: the converters' part (0 without
// oversampling) plus the filter part, which is counted at the processing
// rate and so divided by the oversampling factor (integer division). A
// negative filter mode counts the converters alone.
int CalcLatency(int converterLatency, int osFactor, int filterMode, int firLatency, int zeroLatencyDelay);

// The hosts that must hear of a latency change at once rather than from
// the next processed block: "presonus", "fruity", "waveform", "sadie" and
// "logic" of the host table.
bool HostTakesLatencyAtOnce(int hostId);

// The converters' part, in host samples, from the down-converter of an
// oversampled path (factor 2 or 4; 0 for any other factor). The
// down-converter mirrors the up-converter, so its own start-up discard,
// counted at the processing rate and brought to host samples, stands for
// both.
int CalcConverterLatency(const Resampler& down, int osFactor);
