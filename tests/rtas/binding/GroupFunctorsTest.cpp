#include "rtas/binding/GroupFunctors.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "rtas/library/CDAEError.h"

namespace {

// A group that records its lock and what its operations were given.
class RecordingGroup : public CProcessGroupInterface {
 public:
  int32_t GetTypeIDs(int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
  int32_t EnterGroupLock() override { return ++mDepth, ++mEnters; }
  int32_t LeaveGroupLock() override { return --mDepth; }
  int32_t HostCall141(uint32_t a1, int32_t a2, SFicPlugInSpec* a3, int32_t a4, int32_t* a5) override {
    mArgs = {a1, static_cast<uint64_t>(a2), reinterpret_cast<uint64_t>(a3), static_cast<uint64_t>(a4),
             reinterpret_cast<uint64_t>(a5)};
    return 41;
  }
  int32_t GetControlValueText(uint32_t a1, int32_t a2, int32_t a3, int32_t a4, char* a5, int32_t a6) override {
    mArgs = {a1, static_cast<uint64_t>(a2), static_cast<uint64_t>(a3), static_cast<uint64_t>(a4),
             reinterpret_cast<uint64_t>(a5), static_cast<uint64_t>(a6)};
    return 42;
  }
  int32_t SetControlValue(uint32_t, int32_t, int32_t, int32_t kind) override {
    if (kind == 1) throw CDAEError(-7126);
    if (kind == 2) throw std::bad_alloc();
    if (kind == 3) throw std::string("foreign");
    return 0;
  }
  void SetVersion(int32_t version) { SetHostInterfaceVersion(version); }

  int32_t mDepth = 0;
  int32_t mEnters = 0;
  std::vector<uint64_t> mArgs;
};

class GroupFunctorsTest : public ::testing::Test {
 protected:
  void SetUp() override { CProcessGroupInterface::SetGroupReference(&group); }
  void TearDown() override {
    group.SetVersion(99);
    CProcessGroupInterface::SetGroupReference(nullptr);
  }
  RecordingGroup group;
};

}  // namespace

TEST_F(GroupFunctorsTest, FiveAndSixArgumentFunctorsPassEveryArgumentInOrder) {
  int32_t out = 0;
  auto* spec = reinterpret_cast<SFicPlugInSpec*>(&out + 1);
  S5ArgGroupFunc<uint32_t, int32_t, SFicPlugInSpec*, int32_t, int32_t*> five(&CProcessGroupInterface::HostCall141,
                                                                             7, -8, spec, 9, &out);
  EXPECT_EQ(CallGroupFunction(five, true), 41);
  EXPECT_EQ(group.mArgs, (std::vector<uint64_t>{7, static_cast<uint64_t>(-8), reinterpret_cast<uint64_t>(spec), 9,
                                                reinterpret_cast<uint64_t>(&out)}));
  char text[8];
  S6ArgGroupFunc<uint32_t, int32_t, int32_t, int32_t, char*, int32_t> six(
      &CProcessGroupInterface::GetControlValueText, 1, 2, 3, 4, text, 6);
  EXPECT_EQ(CallGroupFunction(six, false), 42);
  EXPECT_EQ(group.mArgs, (std::vector<uint64_t>{1, 2, 3, 4, reinterpret_cast<uint64_t>(text), 6}));
}

TEST_F(GroupFunctorsTest, FailuresBecomeCodesAndTheLockIsLeftEveryTime) {
  struct {
    int32_t kind;
    int32_t result;
  } const cases[] = {{0, 0}, {1, -7126}, {2, -9006}, {3, -7401}};
  for (const auto& c : cases) {
    S4ArgGroupFunc<uint32_t, int32_t, int32_t, int32_t> functor(&CProcessGroupInterface::SetControlValue, 1, 1, 1,
                                                                c.kind);
    EXPECT_EQ(CallGroupFunction(functor, true), c.result) << c.kind;
    EXPECT_EQ(group.mDepth, 0) << c.kind;
  }
  EXPECT_EQ(group.mEnters, 4);

  // Not asked for, or at version 0, the lock is never entered.
  S4ArgGroupFunc<uint32_t, int32_t, int32_t, int32_t> functor(&CProcessGroupInterface::SetControlValue, 1, 1, 1, 0);
  CallGroupFunction(functor, false);
  group.SetVersion(0);
  CallGroupFunction(functor, true);
  EXPECT_EQ(group.mEnters, 4);
}
