#include "rtas/library/ControlToken.h"

#include <cstring>

namespace {

void PutWord(uint8_t* bytes, size_t offset, uint32_t word) { std::memcpy(bytes + offset, &word, sizeof word); }
void PutShort(uint8_t* bytes, size_t offset, uint16_t value) { std::memcpy(bytes + offset, &value, sizeof value); }

}  // namespace

CControlToken::CControlToken(int32_t destinationNameID, uint32_t type, uint32_t subType) {
  const uint32_t destination = static_cast<uint32_t>(destinationNameID);
  PutWord(mBytes, hostwords::kTokenDestination, destination);
  PutWord(mBytes, hostwords::kTokenType, type);
  PutWord(mBytes, hostwords::kTokenSubType, subType);
  PutWord(mBytes, hostwords::kTokenManufacturer, controltoken::kManufacturer);
  PutWord(mBytes, hostwords::kTokenProtocol, controltoken::kProtocol);
  PutWord(mBytes, hostwords::kTokenDestinationAgain, destination);
  // Offsets 24, 28 and 32 stay 0: the engine fills in what it needs.
  SetLength(controltoken::kPayload);
}

CControlToken CControlToken::Value(int32_t destinationNameID, uint32_t type, int32_t value) {
  CControlToken token(destinationNameID, type, controltoken::kControlValue);
  PutWord(token.mBytes, controltoken::kPayload, static_cast<uint32_t>(value));
  token.SetLength(controltoken::kValueTokenBytes);
  return token;
}

CControlToken CControlToken::Touch(int32_t destinationNameID, int16_t state) {
  CControlToken token(destinationNameID, controltoken::kSetValue, controltoken::kTouch);
  PutShort(token.mBytes, controltoken::kPayload, static_cast<uint16_t>(state));
  PutWord(token.mBytes, controltoken::kPayload + 2, 1);
  token.SetLength(controltoken::kTouchTokenBytes);
  return token;
}

CControlToken CControlToken::GestureBoundary(int32_t destinationNameID) {
  return CControlToken(destinationNameID, controltoken::kSetValue, controltoken::kGestureBoundary);
}

uint16_t CControlToken::Length() const { return TokenLength(mBytes); }

void CControlToken::SetLength(size_t bytes) { PutShort(mBytes, hostwords::kTokenLength, static_cast<uint16_t>(bytes)); }

uint16_t TokenLength(const void* token) {
  uint16_t length;
  std::memcpy(&length, static_cast<const uint8_t*>(token) + hostwords::kTokenLength, sizeof length);
  return length;
}

uint32_t TokenWord(const void* token, size_t offset) {
  if (offset + 4 > TokenLength(token)) return 0;
  uint32_t word;
  std::memcpy(&word, static_cast<const uint8_t*>(token) + offset, sizeof word);
  return word;
}

int16_t TokenShort(const void* token, size_t offset) {
  if (offset + 2 > TokenLength(token)) return 0;
  int16_t value;
  std::memcpy(&value, static_cast<const uint8_t*>(token) + offset, sizeof value);
  return value;
}
