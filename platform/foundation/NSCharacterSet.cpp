#include "platform/foundation/NSCharacterSet.h"

NSCharacterSet* NSCharacterSet::characterSetWithCharactersInString(const std::string& characters) {
  NSMutableCharacterSet* set = new NSMutableCharacterSet;
  set->addCharactersInString(characters);
  set->autorelease();
  return set;
}
