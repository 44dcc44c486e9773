#pragma once

#include "platform/corefoundation/CFBase.h"

// Stand-in for Core Foundation strings. A string keeps the bytes it was made
// from: every text this program gives or reads is plain ASCII, where Mac
// Roman, ASCII and UTF-8 agree, so no conversion is needed. ASCII refuses
// bytes above 127 both ways.
extern "C" {

typedef const struct CFStringObject* CFStringRef;
typedef unsigned long CFStringCompareFlags;

enum : CFStringEncoding {
  kCFStringEncodingMacRoman = 0,
  kCFStringEncodingASCII = 0x0600,
  kCFStringEncodingUTF8 = 0x08000100,
};
enum : CFStringCompareFlags { kCFCompareCaseInsensitive = 1 };

CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* text, CFStringEncoding encoding);
// The stand-in keeps its own copy whatever the deallocator says; a null
// (kCFAllocatorNull) deallocator leaves the caller's text alone, as here.
CFStringRef CFStringCreateWithCStringNoCopy(CFAllocatorRef allocator, const char* text, CFStringEncoding encoding,
                                            CFAllocatorRef contentsDeallocator);
CFStringRef CFStringCreateWithPascalString(CFAllocatorRef allocator, ConstStr255Param text,
                                           CFStringEncoding encoding);
// An immortal string shared by every caller that asks for the same text.
CFStringRef CFStringMakeConstantString(const char* text);
CFIndex CFStringGetLength(CFStringRef string);
// False when the text and its terminator do not fit or cannot be encoded.
Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize, CFStringEncoding encoding);
CFComparisonResult CFStringCompare(CFStringRef a, CFStringRef b, CFStringCompareFlags options);

#define CFSTR(text) CFStringMakeConstantString("" text "")

}  // extern "C"
