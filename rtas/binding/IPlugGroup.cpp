#include "rtas/binding/IPlugGroup.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/protools/HostCallbacks.h"
#include "rtas/binding/CEffectType.h"
#include "rtas/binding/IPlugDigiView.h"
#include "rtas/binding/IPlugProcessRTAS.h"
#include "rtas/library/CProcessGroup.h"
#include "rtas/library/FourCC.h"
#include "rtas/library/HostCallback.h"
#include "rtas/views/CViewGroupServices.h"
#include "rtas/views/ViewRegistry.h"

namespace {

constexpr int32_t kGroupFeature = 14;
constexpr int32_t kTypeWord = 6;
constexpr int32_t kTypeFeatures[] = {8, 48, 55};
constexpr uint32_t kTypeIDs[] = {FourCC("EFN1"), FourCC("EFN2")};

// What the views need of the group: the bundle's resources, the lock's
// yield around their tracking loops and the host callback.
class GroupViewServices : public CViewGroupServices {
 public:
  int16_t UseResourceFile() override { return CProcessGroup::UseResourceFile(); }
  void RestoreResourceFile(int16_t previous) override { CProcessGroup::RestoreResourceFile(previous); }
  void YieldGroupLock() override {}
  bool CallHostCallback(int16_t selector) override {
    HostCallbackProc host = GetHostCallbackProcedure();
    if (!host) return false;
    host(selector, nullptr, nullptr);
    return true;
  }
};

GroupViewServices gViewServices;

}  // namespace

IPlugGroup::IPlugGroup() {
  SetManufacturer("Kestrelbay", kManufacturerID);
  SetProduct("Brimlow", kProductNumber);
  AddGroupFeature(kGroupFeature);
}

IPlugGroup::~IPlugGroup() {
  if (GetViewGroupServices() == &gViewServices) SetViewGroupServices(nullptr);
}

int32_t IPlugGroup::InitProcessGroup() {
  const int32_t result = CEffectGroup::InitProcessGroup();
  RegisterViewClass(IPlugDigiView::kClassName, CreateDigiView);
  SetViewGroupServices(&gViewServices);
  return result;
}

int32_t IPlugGroup::CategoryValue(const char* name) {
  static const struct {
    const char* name;
    int32_t value;
  } kCategories[] = {{"None", 0},        {"EQ", 1},         {"Dynamics", 2},  {"PitchShift", 4},
                     {"Reverb", 8},      {"Delay", 16},     {"Modulation", 32}, {"Harmonic", 64},
                     {"NoiseReduction", 128}, {"Dither", 256}, {"SoundField", 512}};
  for (const auto& category : kCategories) {
    if (std::strcmp(name, category.name) == 0) return category.value;
  }
  return 8192;
}

int32_t IPlugGroup::StemFormat(int channels) {
  static const int32_t kStems[] = {-1, 0, 1, 2, 3, 5, 6, 8, 12};
  return channels >= 0 && channels < 9 ? kStems[channels] : -1;
}

void IPlugGroup::CreateEffectTypes() {
  const int32_t category = CategoryValue("EQ");
  const char* place = kChannelLayouts;
  size_t position = 0;
  for (;;) {
    int inputs = 0, outputs = 0;
    if (std::sscanf(place, "%d-%d", &inputs, &outputs) == 2 && position < std::size(kTypeIDs)) {
      auto type = std::make_unique<CEffectTypeRTAS>(kTypeIDs[position], kUniqueID, category);
      type->SetTypeName("Brimlow");
      type->SetTypeWord(kTypeWord);
      type->SetStemFormats(StemFormat(inputs), StemFormat(outputs), 0);
      for (int32_t feature : kTypeFeatures) type->AddTypeFeature(feature);
      type->SetProcessCreator(CreateProcess);
      AddEffectType(std::move(type));
      ++position;
    }
    const char* space = std::strchr(place, ' ');
    if (!space) break;
    place = space + 1;
  }
}

CProcess* CreateProcess() { return new IPlugProcessRTAS(IPlugGroup::kUniqueID); }

CProcessGroupInterface* CreateGroup() { return new IPlugGroup; }
