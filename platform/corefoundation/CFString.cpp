#include "platform/corefoundation/CFString.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <new>

#include "platform/corefoundation/CFStringObject.h"

namespace platform {

namespace {

bool Encodable(const std::string& text, CFStringEncoding encoding) {
  switch (encoding) {
    case kCFStringEncodingASCII:
      return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 128; });
    case kCFStringEncodingMacRoman:
    case kCFStringEncodingUTF8:
      return true;
    default:
      return false;
  }
}

CFStringObject* StringOf(CFStringRef ref) { return CFObjectOf<CFStringObject>(ref, kCFStringTypeID); }

}  // namespace

const std::string& TextOf(CFStringRef string) {
  static const std::string kEmpty;
  const CFStringObject* object = StringOf(string);
  return object ? object->mText : kEmpty;
}

CFStringRef NewString(std::string text) { return new (std::nothrow) CFStringObject(std::move(text)); }

}  // namespace platform

extern "C" {

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* text, CFStringEncoding encoding) {
  if (!text || !platform::Encodable(text, encoding)) return nullptr;
  return platform::NewString(text);
}

CFStringRef CFStringCreateWithCStringNoCopy(CFAllocatorRef allocator, const char* text, CFStringEncoding encoding,
                                            CFAllocatorRef) {
  return CFStringCreateWithCString(allocator, text, encoding);
}

CFStringRef CFStringCreateWithPascalString(CFAllocatorRef, ConstStr255Param text, CFStringEncoding encoding) {
  if (!text) return nullptr;
  std::string bytes(reinterpret_cast<const char*>(text + 1), text[0]);
  if (!platform::Encodable(bytes, encoding)) return nullptr;
  return platform::NewString(std::move(bytes));
}

CFStringRef CFStringMakeConstantString(const char* text) {
  static std::mutex mutex;
  static auto* strings = new std::map<std::string, CFStringRef>;  // kept until exit, like the Mac's
  std::lock_guard<std::mutex> lock(mutex);
  auto found = strings->find(text);
  if (found != strings->end()) return found->second;
  CFStringRef string = platform::NewString(text);
  strings->emplace(text, string);
  return string;
}

CFIndex CFStringGetLength(CFStringRef string) { return static_cast<CFIndex>(platform::TextOf(string).size()); }

Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize, CFStringEncoding encoding) {
  const std::string& text = platform::TextOf(string);
  if (!string || !buffer || bufferSize < 1 || static_cast<size_t>(bufferSize) <= text.size() ||
      !platform::Encodable(text, encoding)) {
    return false;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

CFComparisonResult CFStringCompare(CFStringRef a, CFStringRef b, CFStringCompareFlags options) {
  std::string x = platform::TextOf(a), y = platform::TextOf(b);
  if (options & kCFCompareCaseInsensitive) {
    auto lower = [](std::string& s) {
      for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    };
    lower(x);
    lower(y);
  }
  const int order = x.compare(y);
  return order < 0 ? kCFCompareLessThan : order > 0 ? kCFCompareGreaterThan : kCFCompareEqualTo;
}

}  // extern "C"
