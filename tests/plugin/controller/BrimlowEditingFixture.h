#pragma once

// A plug-in with its stand-in editor for the graph edit, view and command
// tests: every parameter has a control bound as the graphics framework binds
// it, so edits take the real path (controls, parameter, host, dispatch).

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/display/IScope.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/plugin/controller/TempDataHome.h"

// Reaches the two private entries the graph and the tagged controls call,
// so a test can read the redesign request they leave for the dispatch tail.
class BrimlowEditingTestAccess {
 public:
  using Request = Brimlow::RedesignRequest;

  // As the dispatch runs it: under the plug mutex, with nested parameter
  // changes turned into no-ops.
  static Request GraphEvent(Brimlow& plug) {
    Request request;
    WDL_MutexLock lock(plug.GetMutex());
    plug.mInParamChange = true;
    plug.OnGraphEvent(request);
    plug.mInParamChange = false;
    return request;
  }

  static Request CommandTag(Brimlow& plug, int tag) {
    Request request;
    WDL_MutexLock lock(plug.GetMutex());
    plug.mInParamChange = true;
    plug.OnCommandTag(tag, request);
    plug.mInParamChange = false;
    return request;
  }

  // Set-up: the parameter through its controls, then the mirror as the
  // dispatch stores it.
  static void SetBand(Brimlow& plug, int band, int field, double value) {
    const int idx = BandParamIndex(band, field);
    IParam* param = plug.GetParam(idx);
    plug.GetGUI()->SetParameterViaControls(idx, param->ToNormalizedParam(value), true);
    WDL_MutexLock lock(plug.GetMutex());
    plug.StoreBandMirror(band, field, param->Value());
  }

  static void SetLinkEQ(Brimlow& plug, bool on) {
    plug.GetGUI()->SetParameterViaControls(kParamLinkEQ, on ? 1.0 : 0.0, true);
    WDL_MutexLock lock(plug.GetMutex());
    plug.mMirrors.linkEQ = plug.GetParam(kParamLinkEQ)->Int();
  }

  static void SetSpectrumSlope(Brimlow& plug, double value) {
    WDL_MutexLock lock(plug.GetMutex());
    plug.SetSpectrumSlope(value);
  }
};

// Instances write their data folders under a temporary XDG_DATA_HOME.
class BrimlowEditingTest : public TempDataHomeTest {
 protected:
  using Access = BrimlowEditingTestAccess;

  void SetUp() override {
    TempDataHomeTest::SetUp();
    mPlug.reset(MakePlug());
    ASSERT_NE(mPlug, nullptr);
    mScope = mPlug->GetScope();
    ASSERT_NE(mScope, nullptr);
    mGui = mPlug->GetGUI();
    ASSERT_NE(mGui, nullptr);
  }

  void TearDown() override {
    mPlug.reset();
    TempDataHomeTest::TearDown();
  }

  // The editor's copy of the last mouse event: L as on every click.
  void SetMods(bool shift, bool control, bool option) {
    mGui->mLastMouseMod = IMouseMod(true, false, shift, control, option);
  }

  // A fresh record, as the graph fills one per action.
  GraphEventRecord& NewEvent() {
    const double dBPerPixel = mScope->mEvent.mDBPerPixel;
    const double decadesPerPixel = mScope->mEvent.mDecadesPerPixel;
    mScope->mEvent = GraphEventRecord();
    mScope->mEvent.mDBPerPixel = dBPerPixel;
    mScope->mEvent.mDecadesPerPixel = decadesPerPixel;
    return mScope->mEvent;
  }

  double Param(int idx) const { return mPlug->GetParam(idx)->Value(); }
  double BandParam(int band, int field) const { return Param(BandParamIndex(band, field)); }
  const ParamMirrors& M() const { return mPlug->Mirrors(); }

  std::unique_ptr<Brimlow> mPlug;
  IScope* mScope = nullptr;
  IGraphics* mGui = nullptr;
};
