#pragma once

#include <cstddef>
#include <cstdint>

struct AudioFileLayout;

// Converts `frames` interleaved frames of raw file bytes into 32-bit floats
// and spreads them over planar channels: channel c, frame i goes to
// planar[c * channelStride + firstFrame + i]. Integers scale by 2^-(8b - 1)
// for b bytes per sample (the most negative value becomes -1.0); WAV's
// unsigned 8-bit samples are centred on 128 first.
void DecodeSamples(const unsigned char* raw, size_t frames, const AudioFileLayout& layout, float* planar,
                   size_t channelStride, size_t firstFrame);
