// Macro expansion of view descriptions: texts taken from the bundle's
// 'STR#' and 'vers' resources replace the macro names.
#include <string>
#include <vector>

#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/views/ViewResources.h"

namespace {

constexpr OSType kVersType = 0x76657273;  // 'vers'

// The short version is the counted string at byte 6 of 'vers' 1, the long
// one the counted string after it. A resource that ends inside either is
// refused rather than read past its end.
std::string VersionString(bool longVersion) {
  std::vector<uint8_t> vers;
  if (!ReadResourceBytes(kVersType, 1, &vers)) return std::string();
  size_t at = 6;
  if (vers.size() < at + 1 || vers.size() < at + 1 + vers[at]) throw CDAEError(-7400);
  if (longVersion) {
    at += 1 + vers[at];
    if (vers.size() < at + 1 || vers.size() < at + 1 + vers[at]) throw CDAEError(-7400);
  }
  return std::string(reinterpret_cast<const char*>(vers.data() + at + 1), vers[at]);
}

}  // namespace

void DescriptionParser::ExpandDescriptionMacros(const DescriptionNode* list) { ExpandList(list, 0); }

const DescriptionNode* DescriptionParser::ExpandList(const DescriptionNode* list, int depth) {
  if (depth > kMaxDepth) throw CDAEError(-7400);
  for (const DescriptionNode* n = list; n; n = n->next) {
    DescriptionNode* node = &mNodes[static_cast<size_t>(n - mNodes.data())];
    if (node->kind == DescriptionNode::kGroup) {
      ExpandList(node->inner, depth + 1);
      continue;
    }
    if (node->kind != DescriptionNode::kMacro) continue;
    std::string text;
    const DescriptionNode* after = node->next;
    switch (node->value) {
      case kMacroGetString: {
        const DescriptionNode* group = node->next;
        if (!group || group->kind != DescriptionNode::kGroup) throw CDAEError(-7400);
        const DescriptionNode* id = group->inner;
        const DescriptionNode* index = id ? id->next : nullptr;
        if (!index || id->kind != DescriptionNode::kInteger || index->kind != DescriptionNode::kInteger) {
          throw CDAEError(-7400);
        }
        if (!ReadIndexedString(static_cast<int16_t>(id->Integer()), static_cast<int16_t>(index->Integer()), &text)) {
          text.clear();
        }
        after = group->next;
        break;
      }
      case kMacroShortVersion:
        text = VersionString(false);
        break;
      case kMacroLongVersion:
        text = VersionString(true);
        break;
      default:
        throw CDAEError(-7400);
    }
    // With its quotes the text must still fit a 255-byte string.
    if (text.size() >= 254) throw CDAEError(-7400);
    const std::string quoted = "\"" + text + "\"";
    const DescriptionNode* literal = ParseStringLiteral(quoted.data(), quoted.data() + quoted.size());
    node->kind = DescriptionNode::kString;
    node->value = 0;
    node->string = literal->string;
    node->next = after;
  }
  return list;
}
