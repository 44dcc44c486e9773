#include "rtas/views/DescriptionParser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "rtas/library/CDAEError.h"

namespace {

ViewItem ItemOf(const std::string& text) {
  ViewItem item;
  item.text = text;
  return item;
}

// Parses the text as one list and returns the parser's verdict and nodes.
struct Parsed {
  explicit Parsed(const std::string& text) : item(ItemOf(text)), parser(&item) {}
  bool Description() { return parser.ParseViewDescription(); }
  ViewItem item;
  DescriptionParser parser;
};

int Count(const DescriptionNode* n) {
  int count = 0;
  for (; n; n = n->next) ++count;
  return count;
}

uint32_t Code(const char (&s)[5]) {
  return static_cast<uint32_t>(static_cast<unsigned char>(s[0])) << 24 | static_cast<unsigned char>(s[1]) << 16 |
         static_cast<unsigned char>(s[2]) << 8 | static_cast<unsigned char>(s[3]);
}

// The one element of the first group of the description's body.
const DescriptionNode* FirstElement(Parsed& p) {
  EXPECT_TRUE(p.Description()) << p.item.text;
  return p.parser.TakeGroup();
}

}  // namespace

TEST(DescriptionParser, AcceptsTheEditorsDescription) {
  Parsed p("!Background[('NoID')]");
  ASSERT_TRUE(p.Description());
  const DescriptionNode* top = p.parser.GetTopList();
  ASSERT_EQ(Count(top), 3);
  EXPECT_EQ(top->kind, DescriptionNode::kBang);
  EXPECT_EQ(top->next->kind, DescriptionNode::kClass);
  EXPECT_NE(top->next->Creator(), nullptr);
  const DescriptionNode* common = p.parser.TakeGroup();
  ASSERT_NE(common, nullptr);
  EXPECT_EQ(common->kind, DescriptionNode::kFourCC);
  EXPECT_EQ(common->FourCC(), Code("NoID"));
  EXPECT_FALSE(p.parser.HasGroup());
  EXPECT_THROW(p.parser.TakeGroup(), CDAEError);
}

// What each kind of element reads as, alone in a group.
struct ElementCase {
  const char* element;
  uint16_t kind;
  int64_t value;  // integer, code, keyword number; unused for floats and strings
  const char* text;
};

class DescriptionElement : public ::testing::TestWithParam<ElementCase> {};

TEST_P(DescriptionElement, ReadsAs) {
  const ElementCase c = GetParam();
  Parsed p(std::string("!Background[(") + c.element + ")]");
  const DescriptionNode* n = FirstElement(p);
  ASSERT_NE(n, nullptr) << c.element;
  EXPECT_EQ(n->kind, c.kind) << c.element;
  EXPECT_EQ(n->next, nullptr) << c.element;
  if (c.kind == DescriptionNode::kString) {
    EXPECT_EQ(n->Text(), std::string(c.text, c.value)) << c.element;
  } else if (c.kind == DescriptionNode::kFourCC) {
    EXPECT_EQ(n->FourCC(), static_cast<uint32_t>(c.value)) << c.element;
  } else if (c.kind != DescriptionNode::kFloat) {
    EXPECT_EQ(n->value, c.value) << c.element;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Elements, DescriptionElement,
    ::testing::Values(ElementCase{"12", DescriptionNode::kInteger, 12, nullptr},
                      ElementCase{"-12", DescriptionNode::kInteger, -12, nullptr},
                      ElementCase{"- ,\t12", DescriptionNode::kInteger, -12, nullptr},
                      ElementCase{"0x1F", DescriptionNode::kInteger, 31, nullptr},
                      ElementCase{"0xFFFFFFFF", DescriptionNode::kInteger, -1, nullptr},
                      ElementCase{"-0x10", DescriptionNode::kInteger, -16, nullptr},
                      ElementCase{"4294967295", DescriptionNode::kInteger, -1, nullptr},
                      ElementCase{"''", DescriptionNode::kChar, 0, nullptr},
                      ElementCase{"'x'", DescriptionNode::kChar, 'x', nullptr},
                      ElementCase{"'\\n'", DescriptionNode::kChar, 10, nullptr},
                      ElementCase{"'\\''", DescriptionNode::kChar, '\'', nullptr},
                      ElementCase{"'ab\\tc'", DescriptionNode::kFourCC, 0x61620963, nullptr},
                      ElementCase{"'\\\\\\a\\b\\f'", DescriptionNode::kFourCC, 0x5C07080C, nullptr},
                      ElementCase{"plate", DescriptionNode::kKeyword, 8, nullptr},
                      ElementCase{"ASCII", DescriptionNode::kKeyword, 27, nullptr},
                      ElementCase{"\"\"", DescriptionNode::kString, 0, ""},
                      ElementCase{"\"a b\\r\\v\"", DescriptionNode::kString, 5, "a b\r\v"},
                      ElementCase{"\"it's\"", DescriptionNode::kString, 4, "it's"}));

TEST(DescriptionParser, NumbersWithAPointAreFloats) {
  struct Case {
    const char* text;
    float value;
  };
  for (const Case& c : {Case{"2.5", 2.5f}, Case{".25", 0.25f}, Case{"-1.5", -1.5f}, Case{"3.", 3.0f},
                        Case{"- .5", -0.5f}}) {
    Parsed p(std::string("!Background[(") + c.text + ")]");
    const DescriptionNode* n = FirstElement(p);
    ASSERT_NE(n, nullptr) << c.text;
    EXPECT_EQ(n->kind, DescriptionNode::kFloat) << c.text;
    EXPECT_FLOAT_EQ(n->Float(), c.value) << c.text;
  }
}

TEST(DescriptionParser, UnknownNamesAreSkippedAndNamesAreCaseSensitive) {
  Parsed p("!Background[(fancy 'abcd' Plate plate)]");
  const DescriptionNode* n = FirstElement(p);
  ASSERT_EQ(Count(n), 2);
  EXPECT_EQ(n->kind, DescriptionNode::kFourCC);
  EXPECT_EQ(n->next->kind, DescriptionNode::kKeyword);
  EXPECT_EQ(n->next->value, kKeywordPlate);
}

TEST(DescriptionParser, GroupsNestInBothBracketKinds) {
  Parsed p("!Background[('abcd')([1 (2 \"x\")] 3)]");
  ASSERT_TRUE(p.Description());
  p.parser.TakeGroup();
  const DescriptionNode* second = p.parser.TakeGroup();
  ASSERT_EQ(Count(second), 2);
  ASSERT_EQ(second->kind, DescriptionNode::kGroup);
  const DescriptionNode* inner = second->inner;
  ASSERT_EQ(Count(inner), 2);
  EXPECT_EQ(inner->Integer(), 1);
  ASSERT_EQ(inner->next->kind, DescriptionNode::kGroup);
  EXPECT_EQ(inner->next->inner->Integer(), 2);
  EXPECT_EQ(inner->next->inner->next->Text(), "x");
  EXPECT_EQ(second->next->Integer(), 3);
}

TEST(DescriptionParser, EmptyGroupsHoldNothing) {
  Parsed p("!Background[('abcd')()]");
  ASSERT_TRUE(p.Description());
  p.parser.TakeGroup();
  EXPECT_TRUE(p.parser.HasGroup());
  EXPECT_EQ(p.parser.TakeGroup(), nullptr);
}

TEST(DescriptionParser, RefusesWhatIsNotADescription) {
  for (const char* text : {
           "",                                // nothing
           "Background[('abcd')]",            // no "!"
           "!Nonesuch[('abcd')]",             // unregistered kind: no kind node
           "!Background",                     // no body
           "!Background[]",                   // empty body
           "!Background('abcd')",             // body holds a code, not groups
           "!Background[('abcd') 12]",        // a non-group inside the brackets
           "!Background[('abcd')]('efgh')",   // a group after the body
           "!Background[('abcd')] !",         // anything after the body
           "!Background[('ab')]",             // two-character quote
           "!Background[('abc')]",            // three characters
           "!Background[('abcde')]",          // five characters
           "!Background[('ab\\qd')]",         // unknown escape
           "!Background[('abcd)]",            // quote not closed
           "!Background[(\"open)]",           // string not closed
           "!Background[(\"\\\"\")]",         // no escape for a double quote
           "!Background[('abcd')",            // body not closed
           "!Background[('abcd'])",           // closers crossed
           "!Background[('abcd') # ]",        // an unreadable character
           "!Background[(- x)]",              // a minus without a number
           "!Background[(4294967296)]",       // an integer past 32 bits
           "!Background[(0x100000000)]",      // the same in hexadecimal
           "!Background[('abcd')])",          // a stray closer at the top
       }) {
    Parsed p(text);
    EXPECT_FALSE(p.Description()) << text;
    EXPECT_EQ(p.parser.GetTopList(), nullptr) << text;
  }
}

TEST(DescriptionParser, AStringOf255CharactersFitsAndOneMoreDoesNot) {
  const std::string longest(255, 'a');
  Parsed fits("!Background[('abcd')(\"" + longest + "\")]");
  ASSERT_TRUE(fits.Description());
  fits.parser.TakeGroup();
  EXPECT_EQ(fits.parser.TakeGroup()->Text(), longest);
  Parsed over("!Background[('abcd')(\"" + longest + "a\")]");
  EXPECT_FALSE(over.Description());
}

TEST(DescriptionParser, NestingDeeperThanTheLimitIsRefusedNotRecursedInto) {
  auto nested = [](int depth) {
    return "!Background[('abcd')" + std::string(static_cast<size_t>(depth - 1), '(') +
           std::string(static_cast<size_t>(depth - 1), ')') + "]";
  };
  Parsed deepest(nested(DescriptionParser::kMaxDepth));
  EXPECT_TRUE(deepest.Description());
  Parsed tooDeep(nested(DescriptionParser::kMaxDepth + 1));
  EXPECT_FALSE(tooDeep.Description());
  // Far past the limit: a stack-sized nesting must fail, not overflow.
  Parsed huge("!Background[" + std::string(200000, '(') + "]");
  EXPECT_FALSE(huge.Description());
}

TEST(DescriptionParser, AFullArenaRefusesTheDescription) {
  // Each node is charged 12 bytes of the 4096-byte arena; six of them go to
  // the "!", the kind, the body, the common group and its code, and the
  // group of integers.
  auto withIntegers = [](int n) {
    std::string text = "!Background[('abcd')(";
    for (int i = 0; i < n; ++i) text += "1 ";
    return text + ")]";
  };
  const int room = DescriptionParser::kArenaBytes / DescriptionParser::kNodeBytes;
  Parsed fits(withIntegers(room - 6));
  EXPECT_TRUE(fits.Description());
  Parsed full(withIntegers(room - 5));
  EXPECT_FALSE(full.Description());
}

TEST(DescriptionParser, ReadsOnlyTheItemsText) {
  // The text is not terminated: the parser must stop at its end.
  ViewItem item;
  const char bytes[] = {'!', 'B', 'a', 'c', 'k', 'g', 'r', 'o', 'u', 'n', 'd', '[', '(', '\'', 'a', 'b'};
  item.text.assign(bytes, sizeof bytes);
  DescriptionParser parser(&item);
  EXPECT_FALSE(parser.ParseViewDescription());
}

TEST(DescriptionParser, AZeroByteEndsTheText) {
  ViewItem item;
  item.text = std::string("!Background[('abcd')]\0garbage", 29);
  DescriptionParser parser(&item);
  EXPECT_TRUE(parser.ParseViewDescription());
}

TEST(DescriptionParser, MacrosOtherThanTheStringAndVersionOnesFail) {
  Parsed list("!Background[('abcd')(getList (128 1))]");
  EXPECT_FALSE(list.Description());
  // getString needs a group of two integers after it.
  for (const char* text : {"!Background[('abcd')(getString)]", "!Background[('abcd')(getString (128))]",
                           "!Background[('abcd')(getString (\"a\" 1))]", "!Background[('abcd')(getString 128 1)]"}) {
    Parsed p(text);
    EXPECT_FALSE(p.Description()) << text;
  }
}
