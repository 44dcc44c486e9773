#pragma once

#include <cstdint>

#include "rtas/binding/CEffectGroup.h"

class CProcess;
class CProcessGroupInterface;

// The plug-in file's one process group: who made the plug-in and what it
// is, one effect type per channel layout of "1-1 2-2", the process each
// type makes, and the editor's view class. Everything else comes from the
// effect group and the library's group classes.
class IPlugGroup : public CEffectGroup {
 public:
  static constexpr uint32_t kManufacturerID = 0x4b425958;  // 'KBYX'
  static constexpr uint32_t kUniqueID = 0x4b423330;        // 'KB30'
  static constexpr int32_t kProductNumber = 3;
  static constexpr const char* kChannelLayouts = "1-1 2-2";

  IPlugGroup();
  ~IPlugGroup() override;

  // The library group's initialisation, then the editor's view class.
  int32_t InitProcessGroup() override;

  // A category name's host bits; 8192 for a name the host does not know.
  static int32_t CategoryValue(const char* name);
  // The host's stem format for a channel count; -1 outside 1 to 8.
  static int32_t StemFormat(int channels);

 protected:
  void CreateEffectTypes() override;
};

// The process creator every type is given.
CProcess* CreateProcess();
