#include "platform/corefoundation/InfoPlist.h"

#include <tinyxml.h>

#include "platform/posix/RegularFile.h"

namespace platform {

namespace {

// Far beyond any bundle's information file; a larger one is damage, not
// something to read into memory.
constexpr size_t kMaxInfoPlistBytes = 1 << 20;

// Line ends as the XML reader reads them from a file.
std::string WithNewlines(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
    } else {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
  }
  return out;
}

}  // namespace

std::map<std::string, std::string> ReadInfoPlist(const std::string& path) {
  std::map<std::string, std::string> values;
  std::string text;
  if (!ReadRegularFile(path, kMaxInfoPlistBytes, &text)) return values;
  TiXmlDocument document;
  document.Parse(WithNewlines(text).c_str());
  if (document.Error()) return values;
  const TiXmlElement* plist = document.RootElement();
  const TiXmlElement* dict = plist && plist->ValueStr() == "plist" ? plist->FirstChildElement("dict") : nullptr;
  if (!dict) return values;
  // <key> and its value alternate; a key without a string value is skipped.
  for (const TiXmlElement* key = dict->FirstChildElement("key"); key; key = key->NextSiblingElement("key")) {
    const TiXmlElement* value = key->NextSiblingElement();
    if (!value || value->ValueStr() != "string" || !key->GetText()) continue;
    values[key->GetText()] = value->GetText() ? value->GetText() : "";
  }
  return values;
}

}  // namespace platform
