#pragma once

struct AudioFileLayout;
class AudioFileStream;

// Reads a FORM "AIFF" or "AIFC" header; the stream stands after the "FORM"
// id. Fills the layout (stream left at the first frame when there are
// frames) and returns 0, or a negative AudioFileResult.
int ReadAiffHeader(AudioFileStream& stream, AudioFileLayout* layout);

// The 80-bit IEEE 754 extended value of a "COMM" sample rate (big-endian:
// sign and 15-bit exponent, then the 64-bit mantissa with its explicit
// integer bit). The exponent 0x7FFF gives the largest double.
double ReadExtendedRate(const unsigned char bytes[10]);
