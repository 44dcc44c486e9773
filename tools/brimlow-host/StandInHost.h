#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/brimlow-host/HostFrameworkSetup.h"
#include "tools/brimlow-host/PlugInBundle.h"
#include "tools/brimlow-host/StructureRegistry.h"

struct Rect;
struct OpaqueGrafPtr;

// The host's side of the plug-in, reached through the bundle's exports
// only. Made in the host's order: the frameworks set up, the bundle loaded
// and opened, the host callback given before anything is created; Start
// sets the rate and enables the types. While the engine link is allowed,
// a value set on a control comes back through the control update as the
// engine would send it; window-resize requests the plug-in posts are
// collected for whoever shows its editor.
//
// Failures of the host's own steps throw CommandError; the plug-in's
// answers are returned as its result codes.
class StandInHost {
 public:
  // The build's own plug-in bundle.
  static std::string DefaultBundle();

  StandInHost(const std::string& bundleFolder, int quantum, bool linked);
  ~StandInHost();
  StandInHost(const StandInHost&) = delete;
  StandInHost& operator=(const StandInHost&) = delete;

  // 7 with the rate, then 91 with 3.
  void Start(int32_t sampleRateHz);

  const PlugInBundle& Bundle() const { return *mBundle; }
  HostFrameworkSetup& Frameworks() { return *mFrameworks; }
  StructureRegistry& Registry() { return mRegistry; }
  bool IsLinked() const { return mLinked; }
  int Quantum() const { return mQuantum; }

  template <class... Args>
  int32_t Call(uint32_t selector, Args... args) const {
    return mBundle->Call<Args...>(selector, args...);
  }

  int16_t CountTypes() const;
  // Selector 6: (manufacturer, unique, type) of the 1-based type index.
  int32_t TypeIDs(int32_t index, uint32_t* manufacturerID, uint32_t* uniqueID, uint32_t* typeID) const;
  // 19; the new instance number, or the plug-in's code as a CommandError.
  int32_t CreateInstance(uint32_t typeID);
  // 144, then 20.
  int32_t RemoveInstance(uint32_t typeID, int32_t instance);

  // ---- One instance's controls --------------------------------------------------
  int32_t ControlCount(uint32_t typeID, int32_t instance) const;
  std::string ControlName(uint32_t typeID, int32_t instance, int32_t control) const;
  std::string ValueText(uint32_t typeID, int32_t instance, int32_t control, int32_t value) const;
  int32_t ControlValue(uint32_t typeID, int32_t instance, int32_t control) const;
  // 46; linked, the engine's answer then comes back through 99.
  int32_t SetControlValue(uint32_t typeID, int32_t instance, int32_t control, int32_t value);
  // 175: the control's own reading of a text; its result code.
  int32_t TextToValue(uint32_t typeID, int32_t instance, int32_t control, const std::string& text,
                      int32_t* value) const;
  // The control named so (selector 44), or 0.
  int32_t FindControl(uint32_t typeID, int32_t instance, const std::string& name) const;

  // ---- Editor requests --------------------------------------------------------------
  // Window-resize requests ('WNRS') posted since the last call.
  int TakeWindowResizeRequests();

  // Removes every instance still made, closes the plug-in and unloads it.
  // "" when the frameworks got back all the plug-in took, else what is
  // left.
  std::string Close();

 private:
  static int16_t HostCallback(int16_t selector, ComponentRecord* component, char** parameters);
  // Hands the engine's new tokens on: control values back through 99 to
  // the control they were posted for, resize requests counted.
  void DeliverTokens(uint32_t typeID, int32_t instance, int32_t control);

  std::unique_ptr<HostFrameworkSetup> mFrameworks;
  StructureRegistry mRegistry;
  std::unique_ptr<PlugInBundle> mBundle;
  bool mLinked;
  int mQuantum;
  int32_t mTokensSeen = 0;
  int mResizeRequests = 0;
  std::vector<std::pair<uint32_t, int32_t>> mInstances;
  bool mClosed = false;
};
