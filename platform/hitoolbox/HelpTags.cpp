#include "platform/hitoolbox/HelpTags.h"

#include "platform/corefoundation/CFStringObject.h"
#include "platform/windowserver/Backend.h"

OSStatus HMDisplayTag(const HMHelpContentRec* content) {
  if (!content || content->version != kMacHelpVersion) return paramErr;
  if (content->content[0].contentType != kHMCFStringContent) return paramErr;
  const Rect& r = content->absHotRect;
  platform::Backend().ShowHelpTag(
      platform::ScreenRect{static_cast<double>(r.left), static_cast<double>(r.top),
                           static_cast<double>(r.right - r.left), static_cast<double>(r.bottom - r.top)},
      platform::TextOf(content->content[0].tagCFString));
  return noErr;
}

OSStatus HMHideTag() {
  platform::Backend().HideHelpTag();
  return noErr;
}
