#pragma once

#include "framework/containers/WDL_TypedBuf.h"

struct ChannelIO {
  int mIn = 0;
  int mOut = 0;
};

struct InChannel {
  bool mConnected = false;
  double** mSlot = nullptr;  // this channel's entry in the input pointer array
  const float* mHostSource = nullptr;
  WDL_TypedBuf<double> mScratch{4096};
};

struct OutChannel {
  bool mConnected = false;
  double** mSlot = nullptr;
  float* mHostDestination = nullptr;
  WDL_TypedBuf<double> mScratch{4096};
};
