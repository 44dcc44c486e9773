#pragma once

#include <string>

#include "platform/foundation/NSCharacterSet.h"

// The rules of the Cocoa text entry: which characters may be typed, how
// long the text may grow and how large its integer value may be. A null
// set takes any character; a limit of 0 is no limit.
class CocoaFormatter_vBrimlow_rtas : public NSFormatter {
 public:
  ~CocoaFormatter_vBrimlow_rtas() override;

  void setAcceptableCharacterSet(NSCharacterSet* set);
  void setMaximumLength(int length) { maxLength = length; }
  void setMaximumValue(int value) { maxValue = value; }

  bool isPartialStringValid(const std::string& partial, std::string* newEditingString,
                            std::string* error) override;
  NSString* stringForObjectValue(NSObject* object) override;
  // A copy of the string as the object; YES in every case.
  bool getObjectValue(NSObject** object, const std::string* string, std::string* error) override;

 private:
  NSCharacterSet* filterCharacterSet = nullptr;  // retained
  int maxLength = 0;
  int maxValue = 0;
};
