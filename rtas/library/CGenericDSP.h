#pragma once

#include "rtas/library/CProcessDSP.h"

// The base of the chip families with a constant word of their own.
class CGenericDSP : public CProcessDSP {
 public:
  // 78, 79
  virtual HostWord GetGenericWord() const { return mGenericWord; }
  virtual void SetGenericWord(HostWord word) { mGenericWord = word; }

 private:
  HostWord mGenericWord = 0;
};
