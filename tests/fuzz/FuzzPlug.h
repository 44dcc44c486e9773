#pragma once

#include "framework/IPlugBase.h"
#include "tests/framework/TestParams.h"
#include "tests/framework/TestPlug.h"
#include "tests/fuzz/FuzzCheck.h"

// The plug-in the payload and preset targets read into: few parameters, so
// that a mutated document reaches every kind quickly, but every case the
// XML reader resolves differently: names, two nameless parameters (matched
// by position, one of them unflagged), and unflagged ones that a
// flagged-only read must leave alone. Names are unique, as in the
// equaliser's table: a second parameter of the same name could never be
// found by it again.
class FuzzPlug : public TestPlug {
 public:
  static constexpr int kParams = 8;

  explicit FuzzPlug(bool xml) : TestPlug(kParams, "1-1", 0, kAPIRTAS, 1) {
    InitBool(0, "Bypass", false);
    GetParam(1)->InitDouble("Gain", 0.0, -24.0, 24.0, 0.1);
    GetParam(2)->InitEnum("Mode", 1, 4);
    GetParam(3)->InitDouble("", 0.5, 0.0, 1.0, 0.01);
    InitInt(4, "Count", 3, 16, false);
    InitBool(5, "", false);
    GetParam(6)->InitDouble("Mix", 0.25, 0.0, 1.0, 0.01);
    GetParam(7)->InitDouble("Freq", 1000.0, 20.0, 20000.0, 1.0);
    if (xml) UseXML(*this);
  }

  // No parameter may hold NaN or a value outside its range, whatever the
  // input: the audio path and the controls trust both.
  bool ValuesInRange() const {
    for (int i = 0; i < NParams(); ++i) {
      const IParam* p = GetParam(i);
      if (!(p->Value() >= p->GetMin() && p->Value() <= p->GetMax())) return false;
    }
    return true;
  }

 private:
  void InitBool(int idx, const char* name, bool flagged) {
    GetParam(idx)->SetType(IParam::kTypeBool);
    GetParam(idx)->InitEnum(name, 0, 2);
    GetParam(idx)->SetFlagged(flagged);
  }
  void InitInt(int idx, const char* name, int defaultValue, int count, bool flagged) {
    GetParam(idx)->SetType(IParam::kTypeInt);
    GetParam(idx)->InitEnum(name, defaultValue, count);
    GetParam(idx)->SetFlagged(flagged);
  }
};
