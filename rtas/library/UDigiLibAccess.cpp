#include "rtas/library/UDigiLibAccess.h"

#include "platform/carboncore/Resources.h"
#include "rtas/library/HostFrameworkLoaders.h"
#include "rtas/library/PascalText.h"

namespace {

constexpr OSErr kFunctionMissing = -9007;

}  // namespace

UDigiLibAccess::UDigiLibAccess(int32_t functionCount, ConstStr255Param identifier)
    : mIdentifier(identifier),
      mFunctionCount(functionCount),
      mFunctionTable(new void*[functionCount > 0 ? functionCount : 1]()) {}

UDigiLibAccess::~UDigiLibAccess() {
  delete[] mFunctionTable;
  if (mBundle) {
    CFBundleUnloadExecutable(mBundle);
    CFRelease(mBundle);
    mBundle = nullptr;
  }
}

OSErr UDigiLibAccess::OpenLibrary() {
  const short resourceFile = CurResFile();
  OSErr status = IsStreamManagerIdentifier(mIdentifier) ? LoadStreamManagerFramework(&mBundle)
                                                        : LoadBundleByIdentifier(mIdentifier, &mBundle);
  // Only the DAE is also looked for by file name.
  if (status != noErr && IsDAEIdentifier(mIdentifier)) status = LoadDAEFramework(&mBundle);
  if (!mBundle) return status != noErr ? status : -9065;
  for (int32_t index = 0; index < mFunctionCount; ++index) {
    mFunctionTable[index] = nullptr;
    LoadLibraryFunction(index);  // a missing name leaves its slot null and does not fail the load
  }
  // Loading a bundle may switch resource files; the caller's stays current.
  UseResFile(resourceFile);
  return noErr;
}

OSErr UDigiLibAccess::LoadLibraryFunction(int32_t index) {
  if (mFunctionTable[index]) return noErr;
  Str255 name;
  if (GetFunctionName(index, name) != 0) return kFunctionMissing;
  CFStringRef text = CFStringCreateWithPascalString(nullptr, name, kCFStringEncodingMacRoman);
  void* function = text && mBundle ? CFBundleGetFunctionPointerForName(mBundle, text) : nullptr;
  if (text) CFRelease(text);
  if (!function) return kFunctionMissing;
  mFunctionTable[index] = function;
  return noErr;
}

int32_t UDigiLibAccess::FindFunctionName(const SFunctionName* table, size_t rows, int32_t index, Str255 name) {
  for (size_t i = 0; i < rows; ++i) {
    if (table[i].mIndex == index) {
      pascaltext::FromString(table[i].mName, name);
      return 0;
    }
  }
  return -1;
}
