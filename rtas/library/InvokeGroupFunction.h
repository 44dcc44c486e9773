#pragma once

#include <cstdint>

// One host call packaged for the common call path: a group operation and
// its arguments behind one virtual call. Functors live on the entry
// function's stack and are never deleted through this base.
class SGenFuncRetLong {
 public:
  virtual int32_t operator()() = 0;

 protected:
  ~SGenFuncRetLong() = default;
};

// Runs the functor and turns whatever it throws into a host code, so no
// exception ever reaches the host: lack of memory -9006, a CDAEError its
// own code, anything else (a plain code included) -7401.
int32_t InvokeGroupFunction(SGenFuncRetLong& functor);
