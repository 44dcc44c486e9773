#include "platform/corefoundation/InfoPlist.h"

#include <tinyxml.h>

namespace platform {

std::map<std::string, std::string> ReadInfoPlist(const std::string& path) {
  std::map<std::string, std::string> values;
  TiXmlDocument document;
  if (!document.LoadFile(path.c_str())) return values;
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
