#pragma once

#include <cstdint>
#include <string>

#include "platform/corefoundation/CFBundle.h"

// The plug-in's bundle as the host reaches it: loaded by folder, opened
// with NewMachOPlugIn, and from then on asked for one entry routine per
// selector through the routine lookup that its data export
// _PI_GetRoutineDescriptor holds. Close calls CloseMachOPlugIn and unloads
// the code. Failures throw CommandError.
class PlugInBundle {
 public:
  explicit PlugInBundle(const std::string& folder);
  ~PlugInBundle();
  PlugInBundle(const PlugInBundle&) = delete;
  PlugInBundle& operator=(const PlugInBundle&) = delete;

  // NewMachOPlugIn's result (0 when the plug-in is ready).
  int16_t Open();
  void Close();
  bool IsOpen() const { return mOpen; }

  // LookupEntryRoutine: the result and the routine (null when refused).
  int32_t LookUp(uint32_t selector, void** routine) const;
  // The routine of a selector the host relies on; throws when refused.
  void* Routine(uint32_t selector) const;

  // Calls the selector's entry with exactly the argument types of its
  // row in the host's table (32-bit longs, 16-bit shorts, pointers).
  template <class... Args>
  int32_t Call(uint32_t selector, Args... args) const {
    using Entry = int32_t (*)(Args...);
    return reinterpret_cast<Entry>(Routine(selector))(args...);
  }

  CFBundleRef Bundle() const { return mBundle; }
  const std::string& Folder() const { return mFolder; }

 private:
  using NewProc = int16_t (*)(CFBundleRef);
  using CloseProc = void (*)();
  using LookupProc = int32_t (*)(uint32_t, void**);

  std::string mFolder;
  CFBundleRef mBundle = nullptr;
  NewProc mNew = nullptr;
  CloseProc mClose = nullptr;
  LookupProc mLookup = nullptr;
  bool mOpen = false;
};
