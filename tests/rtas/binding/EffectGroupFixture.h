#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/corefoundation/CFBundleStandIn.h"
#include "tests/rtas/binding/EffectTestSupport.h"
#include "tests/rtas/library/StandInFrameworks.h"

// The test group with a plain (non-effect) type after its effect types,
// over the framework stand-ins and a bundle whose resource map opens.
class MixedEffectGroup : public TestEffectGroup {
 public:
  static constexpr uint32_t kPlainType = FourCC("PLAI");
  void CreateEffectTypes() override {
    TestEffectGroup::CreateEffectTypes();
    AddProcessType(std::make_unique<TestProcessType>(kPlainType, &mScript));
  }
  SProcessScript mScript;
};

class EffectGroupFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    bundle = platform::CreateSymbolBundle("com.kestrelbay.rtas.EffectTest", nullptr, 0);
    CProcessGroup::SetBundleRef(bundle);
    group = std::make_unique<MixedEffectGroup>();
    CProcessGroupInterface::SetGroupReference(group.get());
    ASSERT_EQ(group->InitProcessGroup(), 0);
    // The host enables the host-based kind; the plain type stays first.
    ASSERT_EQ(group->EnableProcessTypes(CEffectTypeRTAS::kKindCode), 0);
  }
  void TearDown() override {
    group.reset();
    CProcessGroupInterface::SetGroupReference(nullptr);
    CProcessGroup::SetBundleRef(nullptr);
    CFRelease(bundle);
  }

  CEffectTypeRTAS& Type(uint32_t id) { return dynamic_cast<CEffectTypeRTAS&>(*group->GetProcessType(id)); }
  TestEffectProcess& Instance(uint32_t id, int32_t n) {
    return dynamic_cast<TestEffectProcess&>(*Type(id).GetProcessByNumber(n));
  }

  StandInFrameworks frameworks;
  CFBundleRef bundle = nullptr;
  std::unique_ptr<MixedEffectGroup> group;
};

inline int32_t CodeOf(const std::function<int32_t()>& call) {
  try {
    return call();
  } catch (const CDAEError& error) {
    return error.Code();
  }
}
