#pragma once

#include <set>
#include <string>

#include "platform/foundation/NSObject.h"

// Stand-in for the character sets the editor's text field formatter uses:
// sets of single-byte characters.
class NSCharacterSet : public NSObject {
 public:
  static NSCharacterSet* characterSetWithCharactersInString(const std::string& characters);
  bool characterIsMember(char c) const { return mCharacters.count(c) != 0; }

 protected:
  NSCharacterSet() = default;
  std::set<char> mCharacters;
};

class NSMutableCharacterSet : public NSCharacterSet {
 public:
  NSMutableCharacterSet() = default;
  void addCharactersInString(const std::string& characters) { mCharacters.insert(characters.begin(), characters.end()); }
};

// Stand-in for NSFormatter, the base of a text field's input rules.
class NSFormatter : public NSObject {
 public:
  // The object's text, or "" (nil) when it cannot be shown.
  virtual NSString* stringForObjectValue(NSObject* object) = 0;
  virtual bool getObjectValue(NSObject** object, const std::string* string, std::string* error) = 0;
  // Whether the field may hold the partial text after an edit.
  virtual bool isPartialStringValid(const std::string& partial, std::string* newEditingString,
                                    std::string* error) = 0;
};
