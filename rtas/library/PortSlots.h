#pragma once

#include <cstdint>

// A process's own connection words, one per port, addressed by 1-based port
// number; a zero word is a port without a connection. Results are host
// codes.

// The host's port format: a word left alone, three words that must be 1, 2,
// 1, and the sample rate.
struct SPortFormat {
  int16_t mUnused;
  int16_t mWord1;
  int16_t mWord2;
  int16_t mWord3;
  float mSampleRate;
};
static_assert(sizeof(SPortFormat) == 12, "the host's port format is 12 bytes");

// Zeroes b over lengthB, then a over lengthA; a length of 0 or less leaves
// that array alone.
int32_t ClearPortArrays(int32_t* a, int32_t* b, int32_t lengthA, int32_t lengthB);
// Free: inside 1..length and not connected. Always 0.
int32_t IsPortFree(int32_t port, uint8_t* isFree, const int32_t* ports, int32_t length);
// -7106 outside 1..length.
int32_t IsPortConnected(int32_t port, uint8_t* connected, const int32_t* ports, int32_t length);
// -7106 outside 1..length, -7107 for a port without a connection.
int32_t DisconnectPort(int32_t port, int32_t* ports, int32_t length);
// -7106 outside 1..length; -7100 (inputs) or -7101 (outputs) when a
// connection is already there and the new one is not 0. A zero connection
// clears the port.
int32_t ConnectInputPort(int32_t port, int32_t connection, int32_t* ports, int32_t length);
int32_t ConnectOutputPort(int32_t port, int32_t connection, int32_t* ports, int32_t length);
// 1, 2, 1 at 44100 Hz.
int32_t GetDefaultPortFormat(int16_t, int16_t, SPortFormat* format);
// -7104 unless 1, 2, 1 with a rate other than 0.
int32_t CheckPortFormat(int16_t, int16_t, const SPortFormat* format);
