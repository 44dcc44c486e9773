#pragma once

#include <string>
#include <vector>

#include "framework/containers/ChunkBuffer.h"
#include "plugin/controller/Brimlow.h"
#include "tests/plugin/controller/PlugHost.h"
#include "tests/plugin/controller/ScopedDataHome.h"

// The equaliser itself, for the state-chunk target and its seeds: made
// with its data folders under a temporary XDG_DATA_HOME, which goes again
// with the object.
class FuzzStatePlug {
 public:
  FuzzStatePlug() {
    mPlug = MakePlug();
    mPlug->SetSampleRate(48000.0);
    mPlug->SetBlockSize(64);
    mPlug->Reset();
  }
  ~FuzzStatePlug() { delete mPlug; }
  FuzzStatePlug(const FuzzStatePlug&) = delete;
  FuzzStatePlug& operator=(const FuzzStatePlug&) = delete;

  Brimlow& Plug() { return *mPlug; }

  // What the host stores, as the host asks for it.
  std::vector<unsigned char> Save() { return PlugHost::SaveState(*mPlug); }
  int Restore(const unsigned char* data, size_t size) { return PlugHost::RestoreState(*mPlug, data, size); }
  // A host's automation of one parameter (value plain).
  void SetParam(int idx, double value) { PlugHost::SetParam(*mPlug, idx, value, false); }

 private:
  // Made before the plug-in and gone after it.
  ScopedDataHome mHome;
  Brimlow* mPlug = nullptr;
};
