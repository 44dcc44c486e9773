#pragma once

#include <cstdint>
#include <string>

// Pascal strings: a length byte (0 to 255) and that many bytes of text, no
// terminator. The library's form for every name it gives the host.
// Buffers hold 256 bytes unless said otherwise; the 64-byte form holds at
// most 63 characters.

constexpr int kPStringCapacity = 256;
constexpr int kPString64Capacity = 64;

// Copies the length byte and every character (dst holds 256 bytes).
void CopyPString(const unsigned char* src, unsigned char* dst);

// Copies into a 64-byte buffer. A longer source keeps its first 63
// characters and the copy says so in its length byte: a length above 63
// would send the next reader past the buffer.
void CopyPString64(const unsigned char* src, unsigned char* dst);

// Appends src's characters to dst up to maxLength characters in all; dst
// already longer than maxLength is left unchanged. A maximum above 255 is
// taken as 255, the most a length byte can count.
void AppendPString(int32_t maxLength, const unsigned char* src, unsigned char* dst);

// Byte for byte, case-sensitive. Two nulls are equal; a null equals nothing
// else.
bool EqualPStrings(const unsigned char* a, const unsigned char* b);

// Appends n in decimal to dst, with leading zeros up to `width` digits; the
// text never grows past 255 characters.
void FormatNumberPString(int32_t n, unsigned char* dst, int32_t width);

// Conversions for the code around the host calls (dst holds 256 bytes; a
// longer text keeps its first 255 characters).
void CToPString(const char* text, unsigned char* dst);
std::string PStringToString(const unsigned char* src);
