#pragma once

#include "platform/foundation/NSObject.h"

class NSURL;

// Stand-in for NSWorkspace: opening a URL is the window server's
// backend's business (the headless one records it and succeeds).
class NSWorkspace : public NSObject {
 public:
  static NSWorkspace* sharedWorkspace();
  bool openURL(const NSURL* url);
};
