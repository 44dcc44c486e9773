#include "platform/corefoundation/UserNotification.h"

#include <cstdio>

namespace platform {

int DisplayAlert(const char* header, const char* message, int) {
  std::fprintf(stderr, "%s: %s\n", header ? header : "", message ? message : "");
  return 1;
}

}  // namespace platform
