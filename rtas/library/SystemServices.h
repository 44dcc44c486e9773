#pragma once

#include <cstdint>

// Small system services of the library.

// The Option key (key code 58: bit 2 of byte 7 of the key map).
bool IsOptionKeyDown();

// Names the host asks for in several lengths are kept as newline-separated
// forms, longest first ("Master Bypass\nMastrByp\nMByp\nByp"). Writes the
// first form of at most `length` bytes, else the last form cut to `length`,
// as a terminated string into `destination` (length + 1 bytes). A null text
// gives length + 1 zero bytes; a length of 0 or less gives "".
void CopyLineThatFits(char* destination, const char* text, int32_t length);
// The same line as a Pascal string (a count byte, then the characters) of
// at most min(maxLength, 255) characters; the caller's buffer holds
// maxLength + 1 bytes. A null destination writes nothing.
void CopyLineThatFitsAsPString(char* destination, const char* text, int32_t maxLength);

// The host's stem-format code (0 to 12) as a channel count; any other code
// throws CDAEError -7401.
int32_t ChannelCountOfStemFormat(int32_t stemFormat);
