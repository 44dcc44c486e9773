#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/protools/HostWords.h"
#include "rtas/library/FourCC.h"

// A control message exchanged with the host's audio engine, byte-exact:
// 32-bit words in the processor's order at the offsets of
// hostwords::kToken*, the 16-bit total length at 36 and the payload from
// 38. The engine copies what it is given, so a token lives on the stack.
namespace controltoken {

constexpr uint32_t kSetValue = FourCC("SETV");
constexpr uint32_t kCurrentValue = FourCC("CURV");
constexpr uint32_t kGetValue = FourCC("GETV");

constexpr uint32_t kControlValue = FourCC("CAVL");
constexpr uint32_t kHighlight = FourCC("CHIL");
constexpr uint32_t kTouch = FourCC("CTCH");
constexpr uint32_t kGestureBoundary = FourCC("GIAC");

constexpr uint32_t kManufacturer = FourCC("DGDN");
constexpr uint32_t kProtocol = FourCC("Ctrl");

constexpr size_t kPayload = hostwords::kTokenHeaderBytes;  // 38
constexpr size_t kValueTokenBytes = kPayload + 4;          // 42
constexpr size_t kTouchTokenBytes = kPayload + 6;          // 44
// A received highlight: state at 38, a value at 40, a data block from 42
// and a value at 54.
constexpr size_t kHighlightValueA = 40;
constexpr size_t kHighlightData = 42;
constexpr size_t kHighlightValueB = 54;
constexpr size_t kHighlightTokenBytes = 56;

constexpr size_t kMaxTokenBytes = kHighlightTokenBytes;

}  // namespace controltoken

class CControlToken {
 public:
  // The header for a destination, type and subtype; no payload yet.
  CControlToken(int32_t destinationNameID, uint32_t type, uint32_t subType);

  // 'CAVL': the value at 38.
  static CControlToken Value(int32_t destinationNameID, uint32_t type, int32_t value);
  // 'SETV'/'CTCH': the touch state at 38 (1 touched, 0 released), 1 at 40.
  static CControlToken Touch(int32_t destinationNameID, int16_t state);
  // 'SETV'/'GIAC': no payload.
  static CControlToken GestureBoundary(int32_t destinationNameID);

  const uint8_t* Bytes() const { return mBytes; }
  uint16_t Length() const;

 private:
  void SetLength(size_t bytes);

  uint8_t mBytes[controltoken::kMaxTokenBytes] = {};
};

// Reads of a token the engine handed over; a field past the token's own
// length reads 0.
uint32_t TokenWord(const void* token, size_t offset);
int16_t TokenShort(const void* token, size_t offset);
uint16_t TokenLength(const void* token);
