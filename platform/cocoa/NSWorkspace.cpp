#include "platform/cocoa/NSWorkspace.h"

#include "platform/foundation/NSURL.h"
#include "platform/windowserver/Backend.h"

NSWorkspace* NSWorkspace::sharedWorkspace() {
  static NSWorkspace* workspace = new NSWorkspace;
  return workspace;
}

bool NSWorkspace::openURL(const NSURL* url) {
  return url && platform::Backend().OpenURL(url->absoluteString());
}
