#include "rtas/library/SystemServices.h"

#include <algorithm>
#include <cstring>

#include "platform/hitoolbox/Events.h"
#include "rtas/library/CDAEError.h"

bool IsOptionKeyDown() {
  KeyMap keys;
  GetKeys(keys);
  return (keys[7] >> 2) & 1;
}

void CopyLineThatFitsAsPString(char* destination, const char* text, int32_t maxLength) {
  if (!destination) return;
  const int32_t length = std::min<int32_t>(std::max<int32_t>(maxLength, 0), 255);
  char line[256];
  CopyLineThatFits(line, text, length);
  const size_t count = std::strlen(line);
  destination[0] = static_cast<char>(count);
  std::memcpy(destination + 1, line, count);
}

void CopyLineThatFits(char* destination, const char* text, int32_t length) {
  if (!destination) return;
  // Nothing fits, and the caller's buffer may hold no more than the
  // terminator.
  if (length <= 0) {
    destination[0] = 0;
    return;
  }
  if (!text) {
    std::memset(destination, 0, static_cast<size_t>(length) + 1);
    return;
  }
  const char* line = text;
  size_t lineLength = std::strcspn(line, "\n");
  while (lineLength > static_cast<size_t>(length) && line[lineLength] == '\n') {
    line += lineLength + 1;
    lineLength = std::strcspn(line, "\n");
  }
  const size_t kept = lineLength < static_cast<size_t>(length) ? lineLength : static_cast<size_t>(length);
  std::memcpy(destination, line, kept);
  destination[kept] = 0;
}

int32_t ChannelCountOfStemFormat(int32_t stemFormat) {
  static constexpr int32_t kChannels[] = {1, 2, 3, 4, 4, 5, 6, 6, 7, 7, 8, 7, 8};
  if (stemFormat < 0 || stemFormat > 12) throw CDAEError(-7401);
  return kChannels[stemFormat];
}
