#include "rtas/library/CProcessGroupInterface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include "GroupSlotProbe.h"
#include "rtas/library/GroupInterfaceSlotTable.h"
#include "rtas/library/DAEFunctions.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "rtas/library/PString.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

enum Kind { kAnswer, kCustom, kPure };
// Pointer-sized writes: the host's words that may carry pointers.
constexpr int kWord = static_cast<int>(sizeof(HostWord));

struct Write {
  int arg;
  int32_t value;
  int width;
};

struct ExpectedDefault {
  int slot;
  int selector;
  Kind kind;
  int32_t result;
  std::vector<Write> writes;
};

// The host library's table of the 174 operations: selector and default of
// each (slots 172 and 173 are the destructor). Custom defaults are checked
// one by one below.
const ExpectedDefault kExpected[] = {
    {0, -1, kAnswer, 0, {}},
    {1, -1, kCustom, 0, {}},
    {2, -1, kAnswer, 1, {}},
    {3, -1, kAnswer, 0, {}},
    {4, 0, kAnswer, 0, {}},
    {5, 1, kAnswer, 0, {}},
    {6, 2, kAnswer, 0, {}},
    {7, 3, kAnswer, 0, {}},
    {8, 4, kAnswer, 0, {}},
    {9, 47, kAnswer, 0, {}},
    {10, 48, kAnswer, 0, {}},
    {11, 12, kCustom, 0, {}},
    {12, 25, kAnswer, 0, {{2, 0, 4}}},
    {13, 5, kAnswer, 0, {{3, 0, 1}}},
    {14, 6, kPure, 0, {}},
    {15, 7, kCustom, 0, {}},
    {16, 125, kAnswer, 0, {}},
    {17, 111, kCustom, 0, {}},
    {18, -1, kAnswer, 0, {}},
    {19, 8, kAnswer, 0, {}},
    {20, 9, kAnswer, 0, {}},
    {21, 10, kAnswer, 0, {{3, 0, 2}}},
    {22, 137, kCustom, -7110, {}},
    {23, 14, kCustom, 0, {}},
    {24, 15, kAnswer, 0, {}},
    {25, 16, kAnswer, 0, {}},
    {26, 17, kAnswer, 0, {{3, 0, 2}}},
    {27, 18, kAnswer, 0, {}},
    {28, 19, kAnswer, 0, {}},
    {29, 20, kAnswer, 0, {}},
    {30, 144, kAnswer, 0, {}},
    {31, -1, kAnswer, 0, {}},
    {32, 22, kAnswer, 0, {{1, 0, 2}}},
    {33, 23, kAnswer, 0, {}},
    {34, 24, kAnswer, 0, {}},
    {35, 79, kAnswer, 0, {{2, 0, 2}}},
    {36, -1, kAnswer, 0, {{7, 0, 1}}},
    {37, -1, kAnswer, -7102, {}},
    {38, 27, kAnswer, 0, {{4, 0, 1}}},
    {39, 28, kAnswer, 0, {{4, 1, 1}}},
    {40, 29, kAnswer, 0, {{4, 0, 1}}},
    {41, 30, kAnswer, 0, {}},
    {42, 31, kAnswer, 0, {}},
    {43, 32, kAnswer, 0, {}},
    {44, 33, kAnswer, 0, {}},
    {45, -1, kAnswer, 0, {}},
    {46, 35, kAnswer, 0, {{1, 0, 4}}},
    {47, 136, kCustom, 0, {}},
    {48, 36, kAnswer, 0, {{1, 0, kWord}, {2, 0, kWord}}},
    {49, 37, kAnswer, 0, {{1, 0, kWord}, {2, 0, kWord}}},
    {50, -1, kCustom, 0, {}},
    {51, -1, kCustom, 0, {}},
    {52, -1, kCustom, 0, {}},
    {53, -1, kCustom, 0, {}},
    {54, -1, kCustom, 0, {}},
    {55, -1, kCustom, 0, {}},
    {56, 40, kAnswer, 0, {{3, 0, 2}}},
    {57, 132, kAnswer, 0, {{3, 0, 4}}},
    {58, 41, kAnswer, 0, {{4, 0, 2}}},
    {59, 42, kAnswer, 0, {{4, 0, 4}}},
    {60, 44, kAnswer, 0, {{4, 0, 1}}},
    {61, 131, kAnswer, 0, {{4, 0, 1}}},
    {62, 45, kAnswer, 0, {{4, 0, 4}}},
    {63, 46, kAnswer, 0, {}},
    {64, 49, kAnswer, 0, {}},
    {65, 73, kAnswer, 0, {}},
    {66, 74, kAnswer, 0, {}},
    {67, 120, kAnswer, 0, {}},
    {68, 121, kAnswer, 0, {}},
    {69, 129, kAnswer, 0, {}},
    {70, 166, kAnswer, -7000, {}},
    {71, 167, kAnswer, -7000, {}},
    {72, 75, kAnswer, 0, {}},
    {73, 39, kAnswer, 0, {}},
    {74, 51, kAnswer, 0, {{4, 0, 1}}},
    {75, 50, kAnswer, 0, {}},
    {76, 52, kAnswer, 0, {{4, 0, 1}}},
    {77, 133, kAnswer, 0, {}},
    {78, 134, kAnswer, 0, {}},
    {79, 135, kAnswer, 0, {}},
    {80, 53, kAnswer, 0, {{3, 0, 4}}},
    {81, 54, kAnswer, 0, {{4, 0, 4}}},
    {82, 55, kAnswer, 0, {}},
    {83, 146, kAnswer, 0, {{4, 0, 1}}},
    {84, 147, kAnswer, 0, {{4, 0, 4}}},
    {85, 148, kAnswer, 0, {{5, 0, 4}}},
    {86, 149, kAnswer, 0, {{3, 0, 1}}},
    {87, 150, kAnswer, 0, {}},
    {88, 160, kAnswer, 0, {}},
    {89, 161, kAnswer, 0, {}},
    {90, 162, kAnswer, 0, {}},
    {91, 163, kAnswer, 0, {}},
    {92, 164, kAnswer, 0, {}},
    {93, 62, kAnswer, 0, {}},
    {94, 63, kAnswer, 0, {}},
    {95, 64, kAnswer, 0, {}},
    {96, 65, kAnswer, 0, {}},
    {97, 66, kAnswer, 0, {}},
    {98, 67, kAnswer, 0, {}},
    {99, 128, kAnswer, -9007, {{4, 0, 1}}},
    {100, 165, kAnswer, 0, {}},
    {101, 171, kAnswer, 0, {}},
    {102, 110, kAnswer, 0, {}},
    {103, 68, kAnswer, -7055, {}},
    {104, 138, kAnswer, -7055, {}},
    {105, 69, kAnswer, 0, {}},
    {106, 71, kAnswer, 0, {}},
    {107, 70, kAnswer, 0, {}},
    {108, 72, kAnswer, 0, {}},
    {109, -1, kCustom, 0, {}},
    {110, -1, kAnswer, -7000, {}},
    {111, 80, kAnswer, 0, {{3, 0, 2}}},
    {112, 145, kAnswer, 0, {{3, 0, 4}}},
    {113, 91, kAnswer, -7000, {}},
    {114, 92, kAnswer, -7000, {}},
    {115, 93, kAnswer, -7000, {}},
    {116, 108, kAnswer, -7000, {}},
    {117, 94, kAnswer, -7000, {}},
    {118, -1, kAnswer, -7000, {}},
    {119, 96, kAnswer, -7000, {}},
    {120, 97, kAnswer, -7000, {}},
    {121, 101, kAnswer, -7000, {}},
    {122, 102, kAnswer, -7000, {}},
    {123, 103, kAnswer, -7000, {}},
    {124, 104, kAnswer, -7000, {}},
    {125, 105, kAnswer, -7000, {}},
    {126, 81, kAnswer, 0, {}},
    {127, 82, kAnswer, 0, {{4, 0, 4}}},
    {128, 85, kAnswer, 0, {{3, 0, kWord}}},
    {129, 86, kAnswer, 0, {{4, 0, kWord}}},
    {130, 88, kAnswer, 0, {{4, 1, 4}}},
    {131, 89, kAnswer, 0, {{4, 0, 4}}},
    {132, 90, kAnswer, 0, {{5, 0, 1}}},
    {133, 175, kAnswer, -9007, {{5, 0, 4}}},
    {134, 126, kAnswer, 0, {{4, 0, 2}, {5, 0, 2}}},
    {135, -1, kAnswer, 0, {}},
    {136, 99, kAnswer, 0, {}},
    {137, 100, kAnswer, 0, {}},
    {138, 87, kAnswer, 0, {}},
    {139, 109, kAnswer, 0, {{4, 0, 4}}},
    {140, 156, kAnswer, -7304, {}},
    {141, 59, kAnswer, 0, {}},
    {142, 122, kCustom, 0, {}},
    {143, 123, kAnswer, 0, {}},
    {144, 124, kAnswer, 0, {}},
    {145, 130, kAnswer, 0, {}},
    {146, -1, kAnswer, 0, {}},
    {147, -1, kAnswer, 0, {}},
    {148, -1, kAnswer, 0, {}},
    {149, -1, kCustom, 0, {}},
    {150, -1, kCustom, 0, {}},
    {151, 139, kAnswer, 0, {}},
    {152, 140, kAnswer, 0, {}},
    {153, 141, kAnswer, 0, {}},
    {154, 142, kAnswer, 0, {}},
    {155, 143, kAnswer, 0, {}},
    {156, 151, kAnswer, 0, {}},
    {157, 152, kAnswer, 0, {}},
    {158, 153, kAnswer, 0, {}},
    {159, 154, kAnswer, 0, {}},
    {160, 155, kAnswer, 0, {}},
    {161, 157, kAnswer, 0, {}},
    {162, 158, kAnswer, -7000, {}},
    {163, 159, kAnswer, -7000, {}},
    {164, 168, kAnswer, -7000, {}},
    {165, 169, kAnswer, -7000, {}},
    {166, 170, kAnswer, -7000, {}},
    {167, 173, kAnswer, -7000, {}},
    {168, 172, kAnswer, 0, {{3, 0, kWord}}},
    {169, -1, kCustom, 0, {}},
    {170, -1, kCustom, 0, {}},
    {171, -1, kCustom, 0, {}},
};

class BareGroup : public CProcessGroupInterface {
 public:
  int32_t GetTypeIDs(int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
  int mSystemPasses = 0;

 protected:
  void LetSystemRun() override { ++mSystemPasses; }
};

bool Untouched(const unsigned char* buffer, int from) {
  for (int i = from; i < GroupSlotProbe::kBufferBytes; ++i) {
    if (buffer[i] != GroupSlotProbe::kSentinel) return false;
  }
  return true;
}

}  // namespace

TEST(CProcessGroupInterface, EveryPlainDefaultAnswersAndWritesAsTheHostLibraryDid) {
  BareGroup group;
  const std::map<int, GroupSlotInvoker> invokers = GroupSlotInvokers();
  ASSERT_EQ(invokers.size(), 172u);
  for (const ExpectedDefault& row : kExpected) {
    if (row.kind != kAnswer) continue;
    GroupSlotProbe probe;
    ASSERT_EQ(invokers.count(row.slot), 1u) << row.slot;
    EXPECT_EQ(invokers.at(row.slot)(group, probe), row.result) << "slot " << row.slot;
    for (int k = 1; k <= 7; ++k) {
      const unsigned char* buffer = probe.Buffer(k);
      int width = 0;
      for (const Write& write : row.writes) {
        if (write.arg != k) continue;
        width = write.width;
        const int64_t value = write.value;
        EXPECT_EQ(std::memcmp(buffer, &value, width), 0) << "slot " << row.slot << " argument " << k;
      }
      EXPECT_TRUE(Untouched(buffer, width)) << "slot " << row.slot << " argument " << k;
    }
  }
}

TEST(CProcessGroupInterface, TableRowsCarryTheHostsSelectorsAndDefaults) {
  ASSERT_EQ(sizeof(kExpected) / sizeof(kExpected[0]), kGroupInterfaceSlotCount);
  for (const ExpectedDefault& row : kExpected) {
    const SGroupInterfaceSlot& slot = kGroupInterfaceSlots[row.slot];
    EXPECT_EQ(slot.mSelector, row.selector) << row.slot;
    EXPECT_EQ(static_cast<int>(slot.mDefault), static_cast<int>(row.kind)) << row.slot;
    if (row.kind == kAnswer) {
      EXPECT_EQ(slot.mResult, row.result) << row.slot;
    }
  }
}

TEST(CProcessGroupInterface, NullOutputsAreLeftAlone) {
  BareGroup group;
  EXPECT_EQ(group.GetTypeInputCount(1, 1, nullptr), 0);
  EXPECT_EQ(group.GetProcessObjects(nullptr, nullptr, 1, 1, 0), 0);
  EXPECT_EQ(group.CompareProcessChunk(1, 1, nullptr, nullptr), -9007);
  EXPECT_EQ(group.GetStemFormats(1, 1, nullptr), -7110);
  EXPECT_EQ(group.SetGroupTimeCodeInfo(nullptr), 0);
  EXPECT_EQ(group.GetGroupTimeCodeCode(), 5);
  EXPECT_EQ(group.GetManufacturerName(31, nullptr), 0);
}

TEST(CProcessGroupInterface, SelectorSupport) {
  BareGroup group;
  struct Row {
    uint16_t selector;
    int32_t supported;
  };
  const Row rows[] = {{0, 1}, {175, 1}, {176, 0}, {1000, 0}, {65529, 0}, {65530, 1}, {65535, 1}};
  for (const Row& row : rows) EXPECT_EQ(group.IsSelectorSupported(row.selector), row.supported) << row.selector;
}

TEST(CProcessGroupInterface, ManufacturerNameIsOtherWithinTheMaximum) {
  BareGroup group;
  unsigned char text[256];
  for (int32_t maxLength : {31, 5, 3, 0}) {
    std::memset(text, 'x', sizeof(text));
    text[0] = 9;
    EXPECT_EQ(group.GetManufacturerName(maxLength, reinterpret_cast<char*>(text)), 0);
    EXPECT_EQ(PStringToString(text), std::string("Other").substr(0, maxLength)) << maxLength;
  }
}

TEST(CProcessGroupInterface, GroupValuesAreStoredAndReadBack) {
  BareGroup group;
  EXPECT_EQ(group.GetGroupSampleRate(), 44100);
  EXPECT_EQ(group.GetGroupTimeCodeCode(), 5);
  EXPECT_EQ(group.GetGroupTimeCodeValue(), 0);
  EXPECT_EQ(group.SetGroupSampleRate(96000), 0);
  EXPECT_EQ(group.GetGroupSampleRate(), 96000);
  SFicTimeCodeInfo info;
  info.mCode = -3;
  info.mPad = 0x77;
  info.mValue = 123456;
  EXPECT_EQ(group.SetGroupTimeCodeInfo(&info), 0);
  EXPECT_EQ(group.GetGroupTimeCodeCode(), -3);  // the code byte, sign-extended
  EXPECT_EQ(group.GetGroupTimeCodeValue(), 123456);
  EXPECT_EQ(group.SetSharedPair(1, 2), 0);
  EXPECT_EQ(group.GetSharedPairValue(), 2);
  int context = 0;
  EXPECT_EQ(group.SetHostContext(&context), 0);
  EXPECT_EQ(group.GetHostContext(), &context);
  EXPECT_EQ(*group.GetHostContextAddress(), &context);
}

TEST(CProcessGroupInterface, TimeCodeRecordIsTheHostsSixBytes) {
  SFicTimeCodeInfo info;
  unsigned char bytes[6];
  info.mCode = 7;
  info.mValue = 0x11223344;
  std::memcpy(bytes, &info, 6);
  EXPECT_EQ(bytes[0], 7);
  int32_t value = 0;
  std::memcpy(&value, bytes + 2, 4);
  EXPECT_EQ(value, 0x11223344);
}

TEST(CProcessGroupInterface, StemFormatsAreMinusOneHundredEach) {
  BareGroup group;
  SFicPlugInStemFormats formats = {{1, 2, 3}};
  EXPECT_EQ(group.GetStemFormats(1, 1, &formats), -7110);
  for (int32_t format : formats.mFormat) EXPECT_EQ(format, -100);
}

TEST(CProcessGroupInterface, GroupAttributeTwentyOneNeedsACount) {
  BareGroup group;
  int32_t value = 5;
  uint32_t detail = 9;
  EXPECT_EQ(group.GetGroupAttribute(21, &value, 1, &detail), 0);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(detail, 27u);
  value = 5;
  detail = 9;
  EXPECT_EQ(group.GetGroupAttribute(21, &value, 0, &detail), 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(detail, 9u);
  EXPECT_EQ(group.GetGroupAttribute(4, &value, 3, &detail), 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(detail, 9u);
}

TEST(CProcessGroupInterface, HostInterfaceVersionIs99FromConstruction) {
  {
    BareGroup group;
    EXPECT_EQ(CProcessGroupInterface::GetHostInterfaceVersion(), 99);
    group.SetHostInterfaceVersion(100);
    EXPECT_EQ(CProcessGroupInterface::GetHostInterfaceVersion(), 100);
  }
  BareGroup again;
  EXPECT_EQ(CProcessGroupInterface::GetHostInterfaceVersion(), 99);
}

TEST(CProcessGroupInterface, YieldWithoutALockOnlyLetsTheSystemRun) {
  BareGroup group;
  group.YieldGroupLock();
  EXPECT_EQ(group.mSystemPasses, 1);
}

namespace {

// Records which slot an adapter reached and with what.
class AdapterGroup : public BareGroup {
 public:
  int32_t GetControlNameOfLength(uint32_t a1, int32_t a2, int32_t a3, char* a4, int32_t a5, uint32_t a6,
                                 int16_t* a7) override {
    Note("61", {BitsOf(a1), BitsOf(a2), BitsOf(a3), BitsOf(a4), BitsOf(a5), BitsOf(a6), BitsOf(a7)});
    return 61;
  }
  int32_t GetControlValueText(uint32_t a1, int32_t a2, int32_t a3, int32_t a4, char* a5, int32_t a6) override {
    Note("132", {BitsOf(a1), BitsOf(a2), BitsOf(a3), BitsOf(a4), BitsOf(a5), BitsOf(a6)});
    return 132;
  }
  int32_t ConvertControlString(uint32_t a1, int32_t a2, int32_t a3, char* a4, int32_t* a5) override {
    Note("133", {BitsOf(a1), BitsOf(a2), BitsOf(a3), BitsOf(a4), BitsOf(a5)});
    return 133;
  }
  int32_t HostCall121(uint32_t a1, int32_t a2, uint32_t a3, int16_t a4, int16_t a5, int16_t a6) override {
    Note("68", {BitsOf(a1), BitsOf(a2), BitsOf(a3), BitsOf(a4), BitsOf(a5), BitsOf(a6)});
    return 68;
  }
  int32_t MatchPlugInSpecFull(SFicPlugInSpec* a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5,
                              int32_t a6) override {
    Note("104", {BitsOf(a1), BitsOf(a2), BitsOf(a3), BitsOf(a4), BitsOf(a5), BitsOf(a6)});
    return 104;
  }
  int32_t HostCall096(uint32_t a1, int32_t a2, int16_t a3, int16_t a4, int16_t a5, int16_t* a6) override {
    Note("119", {BitsOf(a1), BitsOf(a2), BitsOf(a3), BitsOf(a4), BitsOf(a5), BitsOf(a6)});
    return 119;
  }
  int32_t HostCall097(uint32_t a1, int32_t a2, int16_t a3, int16_t a4, int16_t a5, int16_t a6, char* a7) override {
    Note("120", {BitsOf(a1), BitsOf(a2), BitsOf(a3), BitsOf(a4), BitsOf(a5), BitsOf(a6), BitsOf(a7)});
    return 120;
  }
  SFicTDMAutoElem** HostCall073(uint32_t, int32_t, int32_t a3) override {
    return reinterpret_cast<SFicTDMAutoElem**>(static_cast<uintptr_t>(a3) * 16);
  }
  void* HostCall074(uint32_t, int32_t, int32_t a3) override {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(a3) * 32);
  }

  std::string mSlot;
  std::vector<uint64_t> mArgs;

 private:
  void Note(const char* slot, std::vector<uint64_t> args) {
    mSlot = slot;
    mArgs = std::move(args);
  }
};

std::vector<uint64_t> Bits(std::initializer_list<uint64_t> bits) { return bits; }

}  // namespace

TEST(CProcessGroupInterface, AdaptersUnpackTheHostsRecordsInOrder) {
  AdapterGroup group;
  char text[8];
  int16_t out16 = 0;
  int32_t out32 = 0;
  const uint64_t textBits = BitsOf(&text[0]);

  const CProcessGroupInterface::SControlSpecifier control = {0x4B423330, 2, 7};
  EXPECT_EQ(group.UnpackControlSpecifier(&control, text, 31, 0x50635443, &out16), 61);
  EXPECT_EQ(group.mArgs, Bits({0x4B423330, 2, 7, textBits, 31, 0x50635443, BitsOf(&out16)}));
  EXPECT_EQ(group.UnpackControlSpecifierLongText(&control, -5, text, 99), 132);
  EXPECT_EQ(group.mArgs, Bits({0x4B423330, 2, 7, BitsOf(-5), textBits, 99}));
  EXPECT_EQ(group.UnpackControlSpecifierText(&control, text, &out32), 133);
  EXPECT_EQ(group.mArgs, Bits({0x4B423330, 2, 7, textBits, BitsOf(&out32)}));

  const CProcessGroupInterface::SProcessSpecifier process = {0x4B423330, 3};
  EXPECT_EQ(group.UnpackProcessSpecifier(&process, 9, 10, 11, 12), 68);
  EXPECT_EQ(group.mArgs, Bits({0x4B423330, 3, 9, 10, 11, 12}));

  const CProcessGroupInterface::SParamSpecifier param = {0x4B423330, 4, -1, 2, 3};
  EXPECT_EQ(group.UnpackParamSpecifier(&param, &out16), 119);
  EXPECT_EQ(group.mArgs, Bits({0x4B423330, 4, BitsOf(-1), 2, 3, BitsOf(&out16)}));
  EXPECT_EQ(group.UnpackParamSpecifierWithText(&param, 77, text), 120);
  EXPECT_EQ(group.mArgs, Bits({0x4B423330, 4, BitsOf(-1), 2, 3, 77, textBits}));

  // The host packs its four longs a, b, c, d as the records (c, a) and
  // (d, b); the slot takes the second words, then the first.
  const CProcessGroupInterface::SStemSpecifier first = {30, 10}, second = {40, 20};
  EXPECT_EQ(group.UnpackStemSpecifiers(nullptr, 5, &first, &second), 104);
  EXPECT_EQ(group.mArgs, Bits({0, 5, 10, 20, 30, 40}));

  SFicTDMAutoElem** elements = nullptr;
  EXPECT_EQ(group.StoreTDMAutoElemResult(1, 1, 3, &elements), 0);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(elements), 48u);
  void* pointer = nullptr;
  EXPECT_EQ(group.StorePointerResult(1, 1, 3, &pointer), 0);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(pointer), 96u);
  EXPECT_EQ(group.UnpackControlSpecifier(nullptr, text, 31, 0, &out16), -7053);
}

TEST(CProcessGroupInterface, ChipQueryReachesTheOneGroup) {
  CProcessGroupInterface::SetGroupReference(nullptr);
  int32_t out = 0;
  EXPECT_EQ(CProcessGroupInterface::ForwardToGroupSlot110(0, 4, &out), -7026);
  BareGroup group;
  CProcessGroupInterface::SetGroupReference(&group);
  EXPECT_EQ(CProcessGroupInterface::ForwardToGroupSlot110(0, 4, &out), -7000);
  CProcessGroupInterface::SetGroupReference(nullptr);
}

namespace {

struct HostCall {
  int16_t selector;
  ComponentRecord* component;
  std::vector<HostWord> words;
  std::vector<int16_t> shorts;  // after the words, for the DSP request
};
HostCall gLastCall;
int gHostCalls = 0;
int16_t gHostAnswer = 0;
size_t gWordsExpected = 0;

int16_t RecordingHost(int16_t selector, ComponentRecord* component, char** block) {
  ++gHostCalls;
  gLastCall.selector = selector;
  gLastCall.component = component;
  gLastCall.words.assign(reinterpret_cast<HostWord*>(*block), reinterpret_cast<HostWord*>(*block) + gWordsExpected);
  gLastCall.shorts.assign(reinterpret_cast<int16_t*>(*block + gWordsExpected * sizeof(HostWord)),
                          reinterpret_cast<int16_t*>(*block + gWordsExpected * sizeof(HostWord)) + 4);
  return gHostAnswer;
}

class HostCallbackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gHostCalls = 0;
    gHostAnswer = 0;
    group.SetHostCallback(&RecordingHost);
    group.SetHostContext(&context);
  }
  void TearDown() override { group.SetHostCallback(nullptr); }

  int32_t Call(size_t words, const std::function<int32_t()>& call) {
    gWordsExpected = words;
    return call();
  }

  BareGroup group;
  int context = 0;
};

}  // namespace

TEST_F(HostCallbackTest, EachRequestSendsItsBlock) {
  const HostWord ctx = reinterpret_cast<HostWord>(&context);
  struct Row {
    const char* what;
    std::function<int32_t(BareGroup&)> call;
    int16_t selector;
    std::vector<HostWord> words;
  };
  const Row rows[] = {
      {"11", [](BareGroup& g) { return g.HostCallback11(1, 2); }, 11, {1, 2, ctx}},
      {"12", [](BareGroup& g) { return g.HostCallback12(1, 2, 3, 4); }, 12, {1, 2, 3, 4}},
      {"14", [](BareGroup& g) { return g.HostCallback14(5, 6); }, 14, {5, 6, 0, 0}},
      {"19", [](BareGroup& g) { return g.HostCallback19(7, 8, 9); }, 19, {7, 8, 9, 0}},
      {"20", [](BareGroup& g) { return g.HostCallback20(10, 11); }, 20, {10, 11, 0, 0}},
      {"15", [](BareGroup& g) { return g.HostCallback15(12, 13); }, 15, {12, 13}},
  };
  for (const Row& row : rows) {
    gHostAnswer = -5;
    EXPECT_EQ(Call(row.words.size(), [&] { return row.call(group); }), -5) << row.what;
    EXPECT_EQ(gLastCall.selector, row.selector) << row.what;
    EXPECT_EQ(gLastCall.component, nullptr);
    EXPECT_EQ(gLastCall.words, row.words) << row.what;
  }
  gHostAnswer = static_cast<int16_t>(0x8000);
  EXPECT_EQ(Call(2, [&] { return group.HostCallback15(1, 2); }), -32768);
}

TEST_F(HostCallbackTest, TheDSPRequestClearsItsOutputsAndUsesTheOlderFormWithoutHardware) {
  HostWord dsp = 77, chip = 88;
  EXPECT_EQ(Call(3, [&] { return group.HostCallback10or17(&dsp, &chip, 1, 2, 3, 4); }), 0);
  EXPECT_EQ(dsp, 0u);
  EXPECT_EQ(chip, 0u);
  EXPECT_EQ(gLastCall.selector, 10);
  EXPECT_EQ(gLastCall.words, (std::vector<HostWord>{reinterpret_cast<HostWord>(&dsp),
                                                    reinterpret_cast<HostWord>(&chip),
                                                    reinterpret_cast<HostWord>(&context)}));
  EXPECT_EQ(gLastCall.shorts, (std::vector<int16_t>{0, 0, 0, 0}));
}

TEST_F(HostCallbackTest, WithoutAProcedureNothingIsSent) {
  group.SetHostCallback(nullptr);
  EXPECT_EQ(CProcessGroupInterface::GetHostCallback(), nullptr);
  EXPECT_EQ(group.HostCallback11(1, 2), -7175);
  HostWord dsp = 5;
  EXPECT_EQ(group.HostCallback10or17(&dsp, nullptr, 0, 0, 0, 0), -7175);
  EXPECT_EQ(dsp, 0u);
  EXPECT_EQ(gHostCalls, 0);
}

TEST_F(HostCallbackTest, AnEngineWithHardwareGetsTheNewerDSPRequest) {
  StandInFrameworks frameworks(StandInFrameworks::kDAE);
  group.SetHostCallback(&RecordingHost);
  ASSERT_EQ(InitDAELibAccess(), 0);
  frameworks.DAE()->SetGestalt(ficgestalt::kHardware, 1);
  HostWord dsp = 1, chip = 2;
  EXPECT_EQ(Call(3, [&] { return group.HostCallback10or17(&dsp, &chip, 1, 2, 3, 4); }), 0);
  EXPECT_EQ(gLastCall.selector, 17);
  EXPECT_EQ(gLastCall.shorts, (std::vector<int16_t>{4, 3, 2, 1}));
  // Answering 'fshw' with 0 is no hardware.
  frameworks.DAE()->SetGestalt(ficgestalt::kHardware, 0);
  EXPECT_EQ(Call(3, [&] { return group.HostCallback10or17(&dsp, &chip, 1, 2, 3, 4); }), 0);
  EXPECT_EQ(gLastCall.selector, 10);
}
