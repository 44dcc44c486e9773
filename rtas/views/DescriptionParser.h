#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "rtas/views/ViewItem.h"
#include "rtas/views/ViewRegistry.h"

// A parsed view description such as "!Background[('abcd' plate)('ctrl')]":
// a list of nodes, each group holding a list of its own. Nodes live in the
// parser, so they are valid only while it is.
struct DescriptionNode {
  enum Kind : uint16_t {
    kBang = 0,
    kChar = 1,
    kFourCC = 2,
    kKeyword = 3,
    kClass = 4,
    kMacro = 5,
    kString = 6,
    kInteger = 7,
    kFloat = 8,
    kGroup = 9,
  };

  const DescriptionNode* next;
  uint16_t kind;
  // Char code, four-character code, keyword or macro number, creator,
  // integer, float bits, or (strings, groups) unused: see the accessors.
  intptr_t value;
  const unsigned char* string;  // kString: length byte, then the bytes
  const DescriptionNode* inner; // kGroup: the first node inside, or null

  int32_t Integer() const { return static_cast<int32_t>(value); }
  uint32_t FourCC() const { return static_cast<uint32_t>(value); }
  float Float() const;
  ViewCreator Creator() const { return reinterpret_cast<ViewCreator>(value); }
  std::string Text() const;
};

class DescriptionParser {
 public:
  // Deepest nesting of groups a description may have.
  static constexpr int kMaxDepth = 32;
  // Budget of the node arena: 12 bytes per node, length + 1 per string,
  // kept as in the library's original layout so that the same descriptions
  // fit.
  static constexpr int kArenaBytes = 4096;
  static constexpr int kNodeBytes = 12;

  explicit DescriptionParser(const ViewItem* item);
  DescriptionParser(const DescriptionParser&) = delete;
  DescriptionParser& operator=(const DescriptionParser&) = delete;

  // True when the item's text is a view description; the nodes then stay
  // here for the view to read.
  bool ParseViewDescription();

  const ViewItem* GetItem() const { return mItem; }
  const DescriptionNode* GetTopList() const { return mTop; }
  // The kind node of an accepted description.
  const DescriptionNode* GetClassNode() const;

  // Reading an accepted description's groups in order: the elements of the
  // next group (null for an empty one). A missing group raises -7053.
  const DescriptionNode* TakeGroup();
  bool HasGroup() const { return mNextGroup != nullptr; }

 private:
  // The steps of ParseViewDescription; both raise CDAEError.
  const DescriptionNode* ParseDescriptionList(char closing, bool* accepted);
  void ExpandDescriptionMacros(const DescriptionNode* list);
  // Reads a double-quoted string literal at `text` (the quote first) into
  // a string node; the text need not belong to the item.
  const DescriptionNode* ParseStringLiteral(const char* text, const char* end);
  DescriptionNode* NewNode(uint16_t kind, intptr_t value);
  unsigned char* NewString(size_t length);
  void Charge(size_t bytes);
  char Peek() const { return mCursor < mEnd ? *mCursor : '\0'; }
  void SkipSeparators();
  DescriptionNode* ParseIdentifier();
  DescriptionNode* ParseNumber();
  DescriptionNode* ParseQuoted();
  DescriptionNode* ParseString();
  DescriptionNode* ParseGroup(char closing);
  // Reads one character of a quoted text, with the escapes; false at the
  // closing quote. Raises -7400 at the end of the text or on a bad escape.
  bool ReadQuotedChar(char quote, unsigned char* c);
  const DescriptionNode* ExpandList(const DescriptionNode* list, int depth);

  const ViewItem* mItem;
  const char* mCursor = nullptr;
  const char* mEnd = nullptr;
  int mDepth = 0;
  const DescriptionNode* mTop = nullptr;
  const DescriptionNode* mNextGroup = nullptr;

  int mArenaFill = 0;
  int mNodeCount = 0;
  int mStringFill = 0;
  std::array<DescriptionNode, kArenaBytes / kNodeBytes + 1> mNodes;
  std::array<unsigned char, kArenaBytes> mStrings;
};
