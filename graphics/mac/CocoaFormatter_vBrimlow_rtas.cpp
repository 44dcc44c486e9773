#include "graphics/mac/CocoaFormatter_vBrimlow_rtas.h"

#include <cctype>
#include <climits>

namespace {

// NSString's intValue: leading blanks, a sign, then digits; 0 when there
// are none, saturated at the int range.
long long IntValue(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) return negative ? INT_MIN : INT_MAX;
  }
  return negative ? -value : value;
}

}  // namespace

CocoaFormatter_vBrimlow_rtas::~CocoaFormatter_vBrimlow_rtas() {
  if (filterCharacterSet) filterCharacterSet->release();
}

void CocoaFormatter_vBrimlow_rtas::setAcceptableCharacterSet(NSCharacterSet* set) {
  if (set) set->retain();
  if (filterCharacterSet) filterCharacterSet->release();
  filterCharacterSet = set;
}

bool CocoaFormatter_vBrimlow_rtas::isPartialStringValid(const std::string& partial, std::string*, std::string*) {
  if (filterCharacterSet) {
    for (char c : partial) {
      if (!filterCharacterSet->characterIsMember(c)) return false;
    }
  }
  if (maxLength > 0 && static_cast<int>(partial.size()) > maxLength) return false;
  if (maxValue > 0) return IntValue(partial) <= maxValue;
  return true;
}

NSString* CocoaFormatter_vBrimlow_rtas::stringForObjectValue(NSObject* object) {
  return dynamic_cast<NSString*>(object);
}

bool CocoaFormatter_vBrimlow_rtas::getObjectValue(NSObject** object, const std::string* string, std::string*) {
  if (object && string) {
    NSString* copy = new NSString(*string);
    copy->autorelease();
    *object = copy;
  }
  return true;
}
