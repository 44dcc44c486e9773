#pragma once

#include <cstdint>
#include <memory>

#include "dsp/analyzer/CMFFT.h"

class ReferenceCapture;
class WDL_String;

// Frames read and decoded per window: a long file is never held whole.
constexpr uint32_t kCaptureWindowFrames = 1 << 16;
// A shorter file is pushed again and again until this many frames have gone
// through, so that at least one 16384-bin frame is analysed.
constexpr uint32_t kCaptureMinimumFrames = 16384;

// Measures the long-term average spectrum of a WAV, AIFF or AIFC file of one
// or two channels with a CMFFT of 16384 bins and the sixth-octave band grid,
// reading the file window by window (windowFrames at a time). Returns the
// processor holding the statistics, or null. The status always receives one
// of "Success!", "Error: file corrupt or unsupported!", "Error: channel
// count > 2!" or "Error: no frames detected!" (an empty file).
std::unique_ptr<CMFFT> ConvertWav2Capture(const char* path, WDL_String* captureStatus,
                                          uint32_t windowFrames = kCaptureWindowFrames);

// The measurement behind loading a reference from an audio file: the file's
// average spectrum reduced to the reference points (10 Hz to 22050 Hz,
// whatever the file's rate). Points whose band reaches past the file's half
// rate are not measured and are zero, never left over from an earlier
// reference. On failure `reference` is left as it was; the status is set as
// by ConvertWav2Capture either way, except that a spectrum that gives no
// finite reference (a NaN or infinite sample) reports the file corrupt.
bool MakeReferenceFromAudioFile(const char* path, ReferenceCapture* reference, WDL_String* captureStatus,
                                uint32_t windowFrames = kCaptureWindowFrames);
