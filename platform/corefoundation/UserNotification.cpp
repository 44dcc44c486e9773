#include "platform/corefoundation/UserNotification.h"

#include "platform/corefoundation/CFStringObject.h"
#include "platform/windowserver/Backend.h"

extern "C" {

int32_t CFUserNotificationDisplayAlert(CFTimeInterval, CFOptionFlags, CFURLRef, CFURLRef, CFURLRef,
                                       CFStringRef alertHeader, CFStringRef alertMessage,
                                       CFStringRef defaultButtonTitle, CFStringRef alternateButtonTitle,
                                       CFStringRef otherButtonTitle, CFOptionFlags* responseFlags) {
  platform::AlertRequest request;
  request.header = platform::TextOf(alertHeader);
  request.message = platform::TextOf(alertMessage);
  request.defaultButton = platform::TextOf(defaultButtonTitle);
  request.alternateButton = platform::TextOf(alternateButtonTitle);
  request.otherButton = platform::TextOf(otherButtonTitle);
  const platform::AlertResponse response = platform::Backend().RunAlert(request);
  if (responseFlags) *responseFlags = static_cast<CFOptionFlags>(response);
  return 0;
}

}  // extern "C"
