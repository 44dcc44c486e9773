#pragma once

#include "platform/corefoundation/CFBase.h"
#include "platform/corefoundation/CFString.h"
#include "platform/corefoundation/CFURL.h"

// Stand-in for the modal alert of Core Foundation's user notifications.
// The window server's backend shows it; the headless backend answers from
// its script, and with no answer prints the header and message to standard
// error and takes the default button.
extern "C" {

typedef double CFTimeInterval;
typedef unsigned long CFOptionFlags;

enum : CFOptionFlags {
  kCFUserNotificationStopAlertLevel = 0,
  kCFUserNotificationNoteAlertLevel = 1,
  kCFUserNotificationCautionAlertLevel = 2,
  kCFUserNotificationPlainAlertLevel = 3,
};

enum : CFOptionFlags {
  kCFUserNotificationDefaultResponse = 0,
  kCFUserNotificationAlternateResponse = 1,
  kCFUserNotificationOtherResponse = 2,
  kCFUserNotificationCancelResponse = 3,
};

// A null default title shows the system's default ("OK"); a null
// alternate or other title shows no such button. 0 when the alert was
// shown, with the button in responseFlags.
int32_t CFUserNotificationDisplayAlert(CFTimeInterval timeout, CFOptionFlags flags, CFURLRef iconURL,
                                       CFURLRef soundURL, CFURLRef localizationURL, CFStringRef alertHeader,
                                       CFStringRef alertMessage, CFStringRef defaultButtonTitle,
                                       CFStringRef alternateButtonTitle, CFStringRef otherButtonTitle,
                                       CFOptionFlags* responseFlags);

}  // extern "C"
