#include "rtas/library/CPluginControl_Continuous.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/ControlText.h"
#include "rtas/library/ResultCodes.h"

namespace {

// Past this a double has no more decimals to show.
constexpr int kMaxDigits = 17;

// Fixed notation with the given decimals; to_chars is printf in the C
// locale, whatever the process locale says.
std::string Fixed(double y, int digits) {
  char buffer[400];
  const std::to_chars_result r =
      std::to_chars(buffer, buffer + sizeof(buffer), y, std::chars_format::fixed, std::clamp(digits, 0, kMaxDigits));
  if (r.ec != std::errc()) return "*";
  return std::string(buffer, r.ptr);
}

locale_t CLocale() {
  // Made once and never freed: it outlives every reader.
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

bool Fits(size_t length, int32_t maxLength) { return maxLength >= 0 && length <= static_cast<size_t>(maxLength); }

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

CPluginControl_Continuous::CPluginControl_Continuous(uint32_t id, const char* name, double min, double max,
                                                     double defaultValue, bool automatable,
                                                     const SPrefixRecord* firstPrefix, const SPrefixRecord* lastPrefix)
    : CPluginControl(id, name),
      mMin(min),
      mMax(max),
      mDefault(defaultValue),
      mAutomatable(automatable),
      mFirstPrefix(firstPrefix && lastPrefix && firstPrefix <= lastPrefix ? firstPrefix : nullptr),
      mLastPrefix(mFirstPrefix ? lastPrefix : nullptr) {}

const SPrefixRecord* CPluginControl_Continuous::PrefixFor(double x) const {
  if (x == 0.0 || !mFirstPrefix) return nullptr;
  // Move on while the next scale is strictly below the magnitude, so 1000
  // stays unprefixed and 1000.5 becomes "1.0k".
  const SPrefixRecord* record = mFirstPrefix;
  while (record < mLastPrefix && record[1].mScale < std::fabs(x)) ++record;
  return record;
}

std::string CPluginControl_Continuous::FormatValue(double x, int32_t maxLength) const {
  const SPrefixRecord* record = PrefixFor(x);
  const double scale = record ? record->mScale : 1.0;
  const std::string prefix = record ? record->mText : "";
  // A tiny negative value would print as "-0.0".
  if (x < 0.0 && std::fabs(x) < std::pow(10.0, -mDigits)) x = 0.0;
  const double y = x / scale;
  int digits = std::clamp(mDigits, 0, kMaxDigits);
  std::string number = Fixed(y, digits);
  while (!Fits(number.size() + prefix.size(), maxLength) && digits > 0) number = Fixed(y, --digits);

  // The longest form that fits: number, blank, prefix and unit; then
  // without the blank; then without the unit; then "*" in the number's
  // place with as much of the rest as fits.
  if (!mUnit.empty() && Fits(number.size() + 1 + prefix.size() + mUnit.size(), maxLength)) {
    return number + " " + prefix + mUnit;
  }
  if (Fits(number.size() + prefix.size() + mUnit.size(), maxLength)) return number + prefix + mUnit;
  if (Fits(number.size() + prefix.size(), maxLength)) return number + prefix;
  if (!mUnit.empty() && Fits(2 + prefix.size() + mUnit.size(), maxLength)) return "* " + prefix + mUnit;
  if (Fits(1 + prefix.size() + mUnit.size(), maxLength)) return "*" + prefix + mUnit;
  if (Fits(1 + prefix.size(), maxLength)) return "*" + prefix;
  return Fits(1, maxLength) ? "*" : "";
}

void CPluginControl_Continuous::ConvertValueToString(char* buffer, int32_t maxLength, int32_t value) const {
  CopyTextCut(FormatValue(ValueToDouble(value), maxLength), buffer, maxLength);
}

int32_t CPluginControl_Continuous::ConvertStringToValue(const char* text) const {
  const locale_t c = CLocale();
  if (!text || !c) ThrowDAEError(DAEResult::kUnexpected);
  char* end = nullptr;
  const double number = strtod_l(text, &end, c);
  if (end == text || std::isnan(number)) ThrowDAEError(DAEResult::kUnexpected);

  const char* p = end;
  while (IsBlank(*p)) ++p;
  const char* wordStart = p;
  while (*p && !IsBlank(*p)) ++p;
  std::string word(wordStart, p);
  while (IsBlank(*p)) ++p;
  if (*p) ThrowDAEError(DAEResult::kUnexpected);  // a second word

  if (!mUnit.empty() && word.size() >= mUnit.size() &&
      word.compare(word.size() - mUnit.size(), mUnit.size(), mUnit) == 0) {
    word.erase(word.size() - mUnit.size());
  }
  double multiplier = 1.0;
  if (!mFirstPrefix) {
    if (!word.empty()) ThrowDAEError(DAEResult::kUnexpected);
  } else {
    const SPrefixRecord* record = mFirstPrefix;
    while (record <= mLastPrefix && word != record->mText) ++record;
    if (record > mLastPrefix) ThrowDAEError(DAEResult::kUnexpected);
    multiplier = record->mScale;
  }
  return DoubleToValue(number * multiplier);
}

bool CPluginControl_Continuous::IsKeyAcceptable(unsigned char key) const {
  if (std::isdigit(key) || key == '.') return true;
  switch (key) {
    case 8:
    case 28:
    case 29:
    case '+':
    case '-':
      return true;
    default:
      break;
  }
  if (key == 0) return false;
  if (mFirstPrefix) {
    for (const SPrefixRecord* record = mFirstPrefix; record <= mLastPrefix; ++record) {
      if (std::strchr(record->mText, key)) return true;
    }
  }
  return mUnit.find(static_cast<char>(key)) != std::string::npos;
}
