#include "rtas/views/DescriptionParser.h"

#include <cstring>

#include "rtas/library/CDAEError.h"

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ','; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

[[noreturn]] void SyntaxError() { throw CDAEError(-7400); }

}  // namespace

float DescriptionNode::Float() const {
  float f;
  const uint32_t bits = static_cast<uint32_t>(value);
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

std::string DescriptionNode::Text() const {
  return string ? std::string(reinterpret_cast<const char*>(string + 1), string[0]) : std::string();
}

DescriptionParser::DescriptionParser(const ViewItem* item) : mItem(item) {}

void DescriptionParser::Charge(size_t bytes) {
  // Allocations start on even offsets, as the original arena's did.
  if ((kArenaBytes - mArenaFill) % 2 != 0) ++mArenaFill;
  if (bytes > static_cast<size_t>(kArenaBytes - mArenaFill)) throw CDAEError(-7053);
  mArenaFill += static_cast<int>(bytes);
}

DescriptionNode* DescriptionParser::NewNode(uint16_t kind, intptr_t value) {
  Charge(kNodeBytes);
  DescriptionNode* node = &mNodes[static_cast<size_t>(mNodeCount++)];
  *node = DescriptionNode{nullptr, kind, value, nullptr, nullptr};
  return node;
}

unsigned char* DescriptionParser::NewString(size_t length) {
  Charge(length + 1);
  unsigned char* s = &mStrings[static_cast<size_t>(mStringFill)];
  mStringFill += static_cast<int>(length + 1);
  s[0] = static_cast<unsigned char>(length);
  return s;
}

void DescriptionParser::SkipSeparators() {
  while (mCursor < mEnd && IsSeparator(*mCursor)) ++mCursor;
}

const DescriptionNode* DescriptionParser::ParseDescriptionList(char closing, bool* accepted) {
  DescriptionNode* head = nullptr;
  DescriptionNode* tail = nullptr;
  auto append = [&](DescriptionNode* node) {
    if (!node) return;
    if (tail) tail->next = node; else head = node;
    tail = node;
  };
  for (;;) {
    SkipSeparators();
    const char c = Peek();
    if (c == closing || c == '\0') {
      *accepted = c == closing;
      return head;
    }
    if (IsLetter(c)) {
      append(ParseIdentifier());
    } else if (IsDigit(c) || c == '-' || c == '.') {
      append(ParseNumber());
    } else if (c == '!') {
      ++mCursor;
      append(NewNode(DescriptionNode::kBang, 0));
    } else if (c == '\'') {
      append(ParseQuoted());
    } else if (c == '"') {
      append(ParseString());
    } else if (c == '(' || c == '[') {
      ++mCursor;
      append(ParseGroup(c == '(' ? ')' : ']'));
    } else {
      *accepted = false;
      return head;
    }
  }
}

DescriptionNode* DescriptionParser::ParseIdentifier() {
  const char* start = mCursor;
  while (mCursor < mEnd && (IsLetter(*mCursor) || IsDigit(*mCursor))) ++mCursor;
  uint16_t category = 0;
  ViewNameValue value = 0;
  if (!LookupViewName(std::string(start, mCursor), &category, &value)) return nullptr;
  return NewNode(category, value);
}

DescriptionNode* DescriptionParser::ParseNumber() {
  bool negative = false;
  if (Peek() == '-') {
    negative = true;
    ++mCursor;
    SkipSeparators();
    if (!IsDigit(Peek()) && Peek() != '.') SyntaxError();
  }
  // Integers are 32-bit; a literal that does not fit is an error rather
  // than a silently wrapped value.
  uint64_t whole = 0;
  if (Peek() == '0' && mEnd - mCursor >= 3 && mCursor[1] == 'x' && HexDigit(mCursor[2]) >= 0) {
    mCursor += 2;
    while (mCursor < mEnd && HexDigit(*mCursor) >= 0) {
      whole = whole * 16 + static_cast<uint64_t>(HexDigit(*mCursor++));
      if (whole > 0xFFFFFFFFu) SyntaxError();
    }
    const uint32_t bits = static_cast<uint32_t>(negative ? 0u - static_cast<uint32_t>(whole) : static_cast<uint32_t>(whole));
    return NewNode(DescriptionNode::kInteger, static_cast<int32_t>(bits));
  }
  while (mCursor < mEnd && IsDigit(*mCursor)) {
    whole = whole * 10 + static_cast<uint64_t>(*mCursor++ - '0');
    if (whole > 0xFFFFFFFFu) SyntaxError();
  }
  if (Peek() != '.') {
    const uint32_t bits = static_cast<uint32_t>(negative ? 0u - static_cast<uint32_t>(whole) : static_cast<uint32_t>(whole));
    return NewNode(DescriptionNode::kInteger, static_cast<int32_t>(bits));
  }
  ++mCursor;
  float f = static_cast<float>(whole);
  float scale = 0.1f;
  while (mCursor < mEnd && IsDigit(*mCursor)) {
    f += static_cast<float>(*mCursor++ - '0') * scale;
    scale *= 0.1f;
  }
  if (negative) f = -f;
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return NewNode(DescriptionNode::kFloat, static_cast<intptr_t>(bits));
}

bool DescriptionParser::ReadQuotedChar(char quote, unsigned char* c) {
  if (mCursor >= mEnd || *mCursor == '\0') SyntaxError();
  char ch = *mCursor++;
  if (ch == quote) return false;
  if (ch == '\\') {
    if (mCursor >= mEnd) SyntaxError();
    const char e = *mCursor++;
    switch (e) {
      case '\'': ch = '\''; break;
      case '\\': ch = '\\'; break;
      case 'a': ch = 7; break;
      case 'b': ch = 8; break;
      case 'f': ch = 12; break;
      case 'n': ch = 10; break;
      case 'r': ch = 13; break;
      case 't': ch = 9; break;
      case 'v': ch = 11; break;
      default: SyntaxError();
    }
  }
  *c = static_cast<unsigned char>(ch);
  return true;
}

DescriptionNode* DescriptionParser::ParseQuoted() {
  ++mCursor;
  unsigned char chars[4];
  int count = 0;
  unsigned char c;
  while (ReadQuotedChar('\'', &c)) {
    if (count == 4) SyntaxError();
    chars[count++] = c;
  }
  if (count == 0) return NewNode(DescriptionNode::kChar, 0);
  if (count == 1) return NewNode(DescriptionNode::kChar, chars[0]);
  if (count != 4) SyntaxError();
  const uint32_t code = static_cast<uint32_t>(chars[0]) << 24 | static_cast<uint32_t>(chars[1]) << 16 |
                        static_cast<uint32_t>(chars[2]) << 8 | chars[3];
  return NewNode(DescriptionNode::kFourCC, static_cast<intptr_t>(code));
}

DescriptionNode* DescriptionParser::ParseString() {
  ++mCursor;
  unsigned char text[255];
  size_t length = 0;
  unsigned char c;
  while (ReadQuotedChar('"', &c)) {
    // A counted string holds 255 characters; a longer literal is refused
    // rather than cut short without notice.
    if (length == sizeof text) SyntaxError();
    text[length++] = c;
  }
  DescriptionNode* node = NewNode(DescriptionNode::kString, 0);
  unsigned char* s = NewString(length);
  std::memcpy(s + 1, text, length);
  node->string = s;
  return node;
}

DescriptionNode* DescriptionParser::ParseGroup(char closing) {
  // Each level recurses, so an unbounded nesting would use up the stack.
  if (mDepth >= kMaxDepth) SyntaxError();
  ++mDepth;
  bool accepted = false;
  const DescriptionNode* inner = ParseDescriptionList(closing, &accepted);
  --mDepth;
  if (!accepted) SyntaxError();
  ++mCursor;
  DescriptionNode* node = NewNode(DescriptionNode::kGroup, 0);
  node->inner = inner;
  return node;
}

const DescriptionNode* DescriptionParser::ParseStringLiteral(const char* text, const char* end) {
  const char* savedCursor = mCursor;
  const char* savedEnd = mEnd;
  mCursor = text;
  mEnd = end;
  if (Peek() != '"') SyntaxError();
  const DescriptionNode* node = nullptr;
  try {
    node = ParseString();
  } catch (...) {
    mCursor = savedCursor;
    mEnd = savedEnd;
    throw;
  }
  mCursor = savedCursor;
  mEnd = savedEnd;
  return node;
}

bool DescriptionParser::ParseViewDescription() {
  mTop = nullptr;
  mNextGroup = nullptr;
  if (!mItem) return false;
  mCursor = mItem->text.data();
  mEnd = mCursor + mItem->text.size();
  mDepth = 0;
  const DescriptionNode* top = nullptr;
  try {
    bool accepted = false;
    top = ParseDescriptionList('\0', &accepted);
    if (!accepted) return false;
    ExpandDescriptionMacros(top);
  } catch (...) {
    return false;
  }
  // "!", a kind, one bracketed group of groups, nothing after.
  const DescriptionNode* bang = top;
  if (!bang || bang->kind != DescriptionNode::kBang) return false;
  const DescriptionNode* kind = bang->next;
  if (!kind || kind->kind != DescriptionNode::kClass) return false;
  const DescriptionNode* body = kind->next;
  if (!body || body->kind != DescriptionNode::kGroup || body->next) return false;
  if (!body->inner) return false;
  for (const DescriptionNode* n = body->inner; n; n = n->next) {
    if (n->kind != DescriptionNode::kGroup) return false;
  }
  mTop = top;
  mNextGroup = body->inner;
  return true;
}

const DescriptionNode* DescriptionParser::GetClassNode() const { return mTop ? mTop->next : nullptr; }

const DescriptionNode* DescriptionParser::TakeGroup() {
  if (!mNextGroup) throw CDAEError(-7053);
  const DescriptionNode* group = mNextGroup;
  mNextGroup = group->next;
  return group->inner;
}
