#pragma once

#include <string>

#include "platform/foundation/NSObject.h"

// Stand-in for NSURL as the editor makes them: from a text, which must be a
// well-formed URL, or from a file path.
class NSURL : public NSObject {
 public:
  // Null (nil) for an empty text or one with characters a URL cannot hold
  // unescaped (blanks, quotes, angle brackets, braces, bars, backslashes,
  // carets, backquotes, control or non-ASCII bytes) or a "%" not followed
  // by two hex digits. Autoreleased, as both factories' results.
  static NSURL* URLWithString(const std::string& text);
  // A file URL of the path, made absolute from the working folder; null for
  // an empty path.
  static NSURL* fileURLWithPath(const std::string& path);

  const std::string& absoluteString() const { return mText; }
  bool isFileURL() const { return mFile; }

 private:
  NSURL(std::string text, bool file) : mText(std::move(text)), mFile(file) {}

  std::string mText;
  bool mFile;
};
