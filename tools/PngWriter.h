#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Writes an 8-bit RGB PNG (no alpha, no interlace) of an image whose
// pixels are four bytes each, an ignored byte first and then R, G, B: the
// layout the editor presents. False when libpng reports a failure or the
// file cannot be written; the caller owns and closes the file.
bool WriteXRGBAsPNG(FILE* file, const uint8_t* pixels, int width, int height, size_t bytesPerRow);

// Writes an 8-bit RGBA PNG (no interlace) of rows of R, G, B, A bytes, at
// zlib's compression level 0..9. Failures and ownership as above.
bool WriteRGBAAsPNG(FILE* file, const uint8_t* pixels, int width, int height, size_t bytesPerRow,
                    int compressionLevel);
