#include <cstring>
#include <string>
#include <vector>

#include "graphics/IColor.h"
#include "graphics/mac/IGraphicsMac.h"
#include "platform/cocoa/NSPanels.h"
#include "platform/cocoa/NSWorkspace.h"
#include "platform/corefoundation/UserNotification.h"
#include "platform/foundation/NSURL.h"
#include "platform/hitoolbox/ColorPicker.h"

// The modal questions: the message box, the file panels, the colour picker,
// and opening a URL.

namespace {

enum EMessageBoxResult { kResultNone = 0, kResultFirst = 1, kResultThird = 2, kResultSecond = 7 };

std::vector<std::string> SplitOnBlanks(const char* text) {
  std::vector<std::string> parts;
  std::string part;
  for (const char* p = text ? text : ""; *p; ++p) {
    if (*p == ' ') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += *p;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// A colour channel 0..255 as a 16-bit one and back, truncating both ways.
unsigned short To16(int channel) {
  const int c = channel < 0 ? 0 : channel > 255 ? 255 : channel;
  return static_cast<unsigned short>(c / 255.0 * 65535.0);
}
int From16(unsigned short channel) { return static_cast<int>(channel / 65535.0 * 255.0); }

}  // namespace

int IGraphicsMac::ShowMessageBox(const char* text, const char* caption, int type) {
  CFStringRef message =
      CFStringCreateWithCStringNoCopy(nullptr, text ? text : "", kCFStringEncodingMacRoman, kCFAllocatorNull);
  CFStringRef header =
      CFStringCreateWithCStringNoCopy(nullptr, caption ? caption : "", kCFStringEncodingMacRoman, kCFAllocatorNull);
  CFStringRef defaultButton = nullptr;  // the system's "OK"
  CFStringRef alternateButton = nullptr;
  CFStringRef otherButton = nullptr;
  switch (type) {
    case 1: alternateButton = CFSTR("Cancel"); break;
    case 3:
      defaultButton = CFSTR("Yes");
      alternateButton = CFSTR("No");
      otherButton = CFSTR("Cancel");
      break;
    case 4:
      defaultButton = CFSTR("Yes");
      alternateButton = CFSTR("No");
      break;
    default: break;
  }
  CFOptionFlags response = kCFUserNotificationCancelResponse;
  if (CFUserNotificationDisplayAlert(0, kCFUserNotificationNoteAlertLevel, nullptr, nullptr, nullptr, header,
                                     message, defaultButton, alternateButton, otherButton, &response) != 0) {
    response = kCFUserNotificationCancelResponse;
  }
  CFRelease(header);
  CFRelease(message);
  switch (response) {
    case kCFUserNotificationDefaultResponse: return kResultFirst;
    case kCFUserNotificationAlternateResponse: return kResultSecond;
    case kCFUserNotificationOtherResponse: return kResultThird;
    default: return kResultNone;
  }
}

void IGraphicsMac::PromptForFile(WDL_String* fileName, int action, WDL_String* folder, const char* extensions) {
  if (!fileName) return;
  if (!WindowIsOpen()) {
    fileName->Set("");
    return;
  }
  NSAutoreleasePool pool;
  const std::string startFile = fileName->Get();
  std::string startFolder = folder ? folder->Get() : "";
  if (startFolder.empty()) {
    startFolder = "~/Desktop";
    if (folder) folder->Set(startFolder.c_str());
  }
  fileName->Set("");
  const std::vector<std::string> types = SplitOnBlanks(extensions);

  NSInteger result = NSCancelButton;
  std::string chosen;
  if (action == 1) {
    NSSavePanel* panel = NSSavePanel::savePanel();
    panel->setAllowedFileTypes(types);
    panel->setAllowsOtherFileTypes(false);
    result = panel->runModalForDirectory(startFolder, startFile);
    chosen = panel->filename();
  } else {
    NSOpenPanel* panel = NSOpenPanel::openPanel();
    panel->setCanChooseFiles(true);
    panel->setCanChooseDirectories(false);
    panel->setResolvesAliases(true);
    result = panel->runModalForDirectory(startFolder, startFile, types);
    chosen = panel->filename();
  }
  if (result != NSOKButton) return;
  fileName->Set(chosen.c_str());
  if (folder) {
    const std::string::size_type slash = chosen.rfind('/');
    folder->Set(slash == std::string::npos ? "" : chosen.substr(0, slash + 1).c_str());
  }
}

bool IGraphicsMac::PromptForColor(IColor* color) {
  if (!color) return false;
  static const unsigned char kPrompt[] = "\x0cSelect Color";
  const RGBColor in{To16(color->R), To16(color->G), To16(color->B)};
  RGBColor out = in;
  if (!GetColor(Point{0, 0}, kPrompt, &in, &out)) return false;
  color->R = From16(out.red);
  color->G = From16(out.green);
  color->B = From16(out.blue);
  return true;
}

bool IGraphicsMac::OpenURL(const char* url) {
  if (!url) return false;
  NSAutoreleasePool pool;
  const std::string text = url;
  const NSURL* target =
      text.find("http") != std::string::npos ? NSURL::URLWithString(text) : NSURL::fileURLWithPath(text);
  // Nothing to open is a failure, not a success.
  if (!target) return false;
  return NSWorkspace::sharedWorkspace()->openURL(target);
}
