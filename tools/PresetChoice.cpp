#include "tools/PresetChoice.h"

#include "tools/CommandError.h"
#include "tools/LooseText.h"
#include "tools/NumberArgument.h"

int FindPreset(const std::vector<std::string>& names, const std::string& text) {
  if (names.empty()) throw CommandError("the plug-in has no presets");
  const long long count = static_cast<long long>(names.size());
  long long number = 0;
  // A name made of digits alone would be shadowed; no preset is named so.
  if (ParseIntegerArgument(text, -(1ll << 40), 1ll << 40, &number)) {
    if (number < 0 || number >= count) {
      throw CommandError("no preset number " + std::to_string(number) + " (the presets are 0 to " +
                         std::to_string(count - 1) + ")");
    }
    return static_cast<int>(number);
  }
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == text) return static_cast<int>(i);
  }
  const std::string loose = LooseText(text);
  int found = -1;
  for (size_t i = 0; i < names.size() && !loose.empty(); ++i) {
    if (LooseText(names[i]) != loose) continue;
    if (found >= 0) {
      found = -1;
      break;
    }
    found = static_cast<int>(i);
  }
  if (found < 0) throw CommandError("unknown preset \"" + text + "\" (see brimlow presets)");
  return found;
}
