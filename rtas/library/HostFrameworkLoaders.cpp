#include "rtas/library/HostFrameworkLoaders.h"

#include "platform/protools/HostFrameworkIds.h"
#include "rtas/library/PascalText.h"

namespace {

constexpr OSErr kPathMissing = -9064;
constexpr OSErr kNoBundle = -9065;

// Each identifier is made once, in storage of its own: no heap memory
// outlives a plug-in bundle that is unloaded.
template <size_t N>
const unsigned char* Counted(unsigned char (&storage)[N], const char* text) {
  pascaltext::FromString(text, storage);
  return storage;
}

CFStringRef StringOf(ConstStr255Param text) {
  return text ? CFStringCreateWithPascalString(nullptr, text, kCFStringEncodingMacRoman) : nullptr;
}

// A failed create leaves a null reference, which CFRelease must not get.
void ReleaseIfMade(CFTypeRef ref) {
  if (ref) CFRelease(ref);
}

bool SameIdentifier(ConstStr255Param identifier, ConstStr255Param wanted) {
  CFStringRef a = StringOf(identifier);
  CFStringRef b = StringOf(wanted);
  const bool same = a && b && CFStringCompare(a, b, 0) == kCFCompareEqualTo;
  ReleaseIfMade(a);
  ReleaseIfMade(b);
  return same;
}

// Loads the bundle's code; on failure the reference is given back.
OSErr LoadCode(CFBundleRef* bundle) {
  if (CFBundleLoadExecutable(*bundle)) return noErr;
  CFRelease(*bundle);
  *bundle = nullptr;
  return kNoBundle;
}

}  // namespace

ConstStr255Param DAEFrameworkIdentifier() {
  static unsigned char storage[256];
  static const unsigned char* id = Counted(storage, hostframeworks::kDAEIdentifier);
  return id;
}

ConstStr255Param DSIFrameworkIdentifier() {
  static unsigned char storage[256];
  static const unsigned char* id = Counted(storage, hostframeworks::kDSIIdentifier);
  return id;
}

ConstStr255Param DSPManagerFrameworkIdentifier() {
  static unsigned char storage[256];
  static const unsigned char* id = Counted(storage, hostframeworks::kDSPManagerIdentifier);
  return id;
}

ConstStr255Param StreamManagerFrameworkIdentifier() {
  static unsigned char storage[256];
  static const unsigned char* id = Counted(storage, hostframeworks::kStreamManagerIdentifier);
  return id;
}

OSErr LoadBundleByIdentifier(ConstStr255Param identifier, CFBundleRef* bundle) {
  if (*bundle) return noErr;
  CFStringRef id = StringOf(identifier);
  CFBundleRef known = id ? CFBundleGetBundleWithIdentifier(id) : nullptr;
  ReleaseIfMade(id);
  if (!known) return kNoBundle;
  *bundle = static_cast<CFBundleRef>(const_cast<void*>(CFRetain(known)));
  return LoadCode(bundle);
}

OSErr LoadBundleInFolder(CFURLRef folder, ConstStr255Param fileName, CFBundleRef* bundle) {
  CFStringRef name = StringOf(fileName);
  CFURLRef url = folder && name ? CFURLCreateCopyAppendingPathComponent(nullptr, folder, name, false) : nullptr;
  ReleaseIfMade(name);
  FSRef ref;
  if (!url || !CFURLGetFSRef(url, &ref)) {
    ReleaseIfMade(url);
    return kPathMissing;
  }
  CFBundleRef created = CFBundleCreate(nullptr, url);
  ReleaseIfMade(url);
  if (!created) return kNoBundle;
  *bundle = created;
  return LoadCode(bundle);
}

OSErr LoadBundleAtPath(ConstStr255Param folderPath, ConstStr255Param fileName, CFBundleRef* bundle) {
  CFStringRef path = StringOf(folderPath);
  if (!path) return kNoBundle;
  CFURLRef folder = CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, false);
  CFRelease(path);
  if (!folder) return kNoBundle;
  const OSErr status = LoadBundleInFolder(folder, fileName, bundle);
  ReleaseIfMade(folder);
  return status;
}

OSErr LoadHostFramework(ConstStr255Param fileName, CFBundleRef* bundle) {
  if (*bundle) return noErr;
  // The folder that holds the host application's bundle comes first, so a
  // host can ship its frameworks beside itself.
  CFURLRef main = CFBundleCopyBundleURL(CFBundleGetMainBundle());
  CFURLRef folder = main ? CFURLCreateCopyDeletingLastPathComponent(nullptr, main) : nullptr;
  ReleaseIfMade(main);
  const OSErr beside = folder ? LoadBundleInFolder(folder, fileName, bundle) : kNoBundle;
  ReleaseIfMade(folder);
  if (beside == noErr) return noErr;
  Str255 frameworks;
  pascaltext::FromString("/Library/Frameworks/", frameworks);
  return LoadBundleAtPath(frameworks, fileName, bundle);
}

OSErr LoadDAEFramework(CFBundleRef* bundle) {
  Str255 name;
  pascaltext::FromString("DAE.framework", name);
  return LoadHostFramework(name, bundle);
}

OSErr LoadStreamManagerFramework(CFBundleRef* bundle) {
  Str255 name;
  pascaltext::FromString("DigiStreamManager.framework", name);
  return LoadHostFramework(name, bundle);
}

bool IsDAEIdentifier(ConstStr255Param identifier) { return SameIdentifier(identifier, DAEFrameworkIdentifier()); }

bool IsStreamManagerIdentifier(ConstStr255Param identifier) {
  return SameIdentifier(identifier, StreamManagerFrameworkIdentifier());
}
