// A plug-in bundle for the entry-point tests: the library's exports over a
// small test effect, with one extra export that tells CreateGroup how to
// fail.
#include <stdexcept>

#include "rtas/binding/PlugInEntry.h"
#include "rtas/library/CDAEError.h"
#include "tests/rtas/binding/EffectTestSupport.h"

namespace {

int gCreateMode = 0;

}  // namespace

// 0 makes the group; 1 makes none; 2 throws a foreign exception; 3 throws
// the library's error -7777.
extern "C" __attribute__((visibility("default"))) void TestEffectSetCreateMode(int mode) { gCreateMode = mode; }

CProcessGroupInterface* CreateGroup() {
  switch (gCreateMode) {
    case 1:
      return nullptr;
    case 2:
      throw std::runtime_error("no group");
    case 3:
      throw CDAEError(-7777);
    default:
      return new TestEffectGroup;
  }
}
