#pragma once

#include "platform/protools/DSI.h"
#include "rtas/library/FrameworkFunction.h"
#include "rtas/library/FrameworkFunctionList.h"

// The wrappers of the DSP-card interface's functions, one per row of
// BRIMLOW_DSI_FUNCTIONS, answering -2812 without the DSI and -2802 without
// the function.

#define BRIMLOW_DSI_WRAPPER(name, index, result, notLoaded, missing)                                  \
  inline constexpr frameworkfunction::Function<frameworkfunction::DSI, index, name##Proc,              \
                                               frameworkfunction::Result::result, notLoaded, missing> \
      name{};
BRIMLOW_DSI_FUNCTIONS(BRIMLOW_DSI_WRAPPER)
#undef BRIMLOW_DSI_WRAPPER

// The time-out the composite wrappers pass to each step; its unit is the
// DSI's.
constexpr int32_t kDsiStepTimeout = 1000000000;

// Function 223, or else: wait for host bit 2, then the command's low 16
// bits with DsiDoHostCommand.
int16_t DsiDoHostCommandOnEmptyHostPort(DsiDSP dsp, int32_t command, int32_t timeout);
// Function 224, or else: the send words (first when sendFirst is set), the
// command on an empty host port, the send words (when sendFirst is clear),
// then receiveCount words into receive. The first failing step's status
// ends it. A negative count is an empty list; a missing buffer for a
// positive count answers paramErr before anything is sent.
int16_t DsiDoHostCommandWithDataList(DsiDSP dsp, int32_t command, uint8_t sendFirst, int32_t receiveCount,
                                     int32_t* receive, int32_t sendCount, const int32_t* send);
