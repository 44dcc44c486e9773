#include "rtas/library/CUnknown.h"

#include <gtest/gtest.h>

namespace {

int gDeleted = 0;

class Counted : public DOA::CUnknown {
 public:
  ~Counted() override { ++gDeleted; }
};

// 9BCE0CA0-0000-0000-0000-000000000001, an identifier nobody answers.
constexpr DOA::SIID kOther = {{0xa0, 0x0c, 0xce, 0x9b, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}};

}  // namespace

TEST(CUnknown, AnswersTheBaseIdentifierOnlyAndCountsTheReference) {
  const int32_t liveBefore = DOA::CUnknown::GetLiveObjectCount();
  Counted* object = new Counted;
  EXPECT_EQ(DOA::CUnknown::GetLiveObjectCount(), liveBefore + 1);
  EXPECT_EQ(object->GetRefCount(), 1);
  EXPECT_EQ(object->GetControllingUnknown(), object);

  void* answer = reinterpret_cast<void*>(1);
  EXPECT_EQ(object->NonDelegatingQueryInterface(kOther, &answer), static_cast<int32_t>(0x80004002u));
  EXPECT_EQ(answer, nullptr);
  EXPECT_EQ(object->GetRefCount(), 1);

  EXPECT_EQ(object->NonDelegatingQueryInterface(DOA::kIID_IUnknown, &answer), 0);
  EXPECT_EQ(answer, static_cast<DOA::INondelegatingUnknown*>(object));
  EXPECT_EQ(object->GetRefCount(), 2);

  gDeleted = 0;
  EXPECT_EQ(object->NonDelegatingRelease(), 1);
  EXPECT_EQ(gDeleted, 0);
  EXPECT_EQ(object->NonDelegatingRelease(), 0);
  EXPECT_EQ(gDeleted, 1);
  EXPECT_EQ(DOA::CUnknown::GetLiveObjectCount(), liveBefore);
}

TEST(CUnknown, BaseIdentifierBytes) {
  const unsigned char expected[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0xc0, 0, 0, 0, 0, 0, 0, 0x46};
  EXPECT_EQ(std::memcmp(DOA::kIID_IUnknown.mBytes, expected, 16), 0);
}
