#pragma once

#include <cstdint>

class ReferenceCapture;

// The ".ref" capture file, little-endian, no padding, 12 + 16 N bytes:
// magic (u32), version (u32), N (u32), N frequencies in Hz, N linear
// magnitudes (IEEE 754 doubles). Anything after the last magnitude is
// ignored.
constexpr uint32_t kCaptureFileMagic = 0xF0F0F001u;
constexpr uint32_t kCaptureFileVersion = 1;
// Far above any analyser's point count; keeps the size arithmetic small.
constexpr int kMaxCaptureFilePoints = 1 << 20;

// Writes the analyser's display points (frequencies) and its average curve
// (magnitudes). The bytes go to a new temporary file beside the target that
// replaces it only once every write, the flush and the close have
// succeeded; on any failure the target is left as it was and false comes
// back. Non-finite values are refused (no reader would take them back).
bool WriteCaptureFile(const char* path, const double* frequencies, const double* magnitudes, int count);

// Reads a capture of exactly ReferenceCapture::GetCount() points into
// `reference`. The values are read and checked in temporaries first: a
// wrong magic, version or count, a file cut short or a non-finite value
// gives false and leaves `reference` as it was.
bool ReadCaptureFile(const char* path, ReferenceCapture* reference);
