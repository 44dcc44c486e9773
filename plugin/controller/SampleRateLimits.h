#pragma once

// The highest sample rate the plug-in runs at and a reference file may
// have: generous for real audio. The DSP set-up allocates in proportion to
// the rate (some 70 bytes per hertz), so a rate far above it would ask for
// gigabytes.
constexpr double kMaxSampleRate = 768000.0;
