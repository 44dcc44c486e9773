#include "platform/hitoolbox/CarbonEvents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/corefoundation/RunLoop.h"
#include "platform/hitoolbox/MacWindows.h"

namespace {

struct Recorder {
  std::string name;
  OSStatus answer;
  bool callNext;
  std::vector<std::string>* log;
};

OSStatus Record(EventHandlerCallRef call, EventRef event, void* data) {
  auto* r = static_cast<Recorder*>(data);
  r->log->push_back(r->name);
  if (r->callNext) {
    const OSStatus next = CallNextEventHandler(call, event);
    r->log->push_back(r->name + " after " + std::to_string(next));
  }
  return r->answer;
}

class CarbonEventDispatch : public ::testing::Test {
 protected:
  CarbonEventDispatch() {
    window = platform::NewStandInWindow(100, 100);
    platform::ClearHostEvents();
  }
  ~CarbonEventDispatch() override { platform::DisposeStandInWindow(window); }

  EventHandlerRef Install(EventTargetRef target, Recorder* r, uint32_t kind = kEventMouseDown) {
    const EventTypeSpec spec{kEventClassMouse, kind};
    EventHandlerRef ref = nullptr;
    InstallEventHandler(target, Record, 1, &spec, r, &ref);
    return ref;
  }
  OSStatus Send(EventTargetRef target, uint32_t kind = kEventMouseDown) {
    EventRef event = platform::MakeEvent(kEventClassMouse, kind);
    const OSStatus result = SendEventToEventTarget(event, target);
    ReleaseEvent(event);
    return result;
  }

  WindowRef window;
  std::vector<std::string> log;
};

TEST_F(CarbonEventDispatch, TheNewestHandlerComesFirstAndAnUnhandledEventReachesTheHost) {
  Recorder host{"host", eventNotHandledErr, false, &log};
  Recorder view{"view", eventNotHandledErr, false, &log};
  Install(GetWindowEventTarget(window), &host);
  Install(GetWindowEventTarget(window), &view);
  EXPECT_EQ(Send(GetWindowEventTarget(window)), eventNotHandledErr);
  EXPECT_EQ(log, (std::vector<std::string>{"view", "host"}));
  ASSERT_EQ(platform::HostEvents().size(), 1u);
  EXPECT_EQ(platform::HostEvents()[0].kind, kEventMouseDown);

  // A handler for another kind is not asked.
  log.clear();
  EXPECT_EQ(Send(GetWindowEventTarget(window), kEventMouseUp), eventNotHandledErr);
  EXPECT_TRUE(log.empty());
}

TEST_F(CarbonEventDispatch, CallNextRunsTheRestOnceAndItsAnswerIsTheHandlers) {
  Recorder host{"host", noErr, false, &log};
  Recorder view{"view", eventNotHandledErr, true, &log};
  Install(GetWindowEventTarget(window), &host);
  Install(GetWindowEventTarget(window), &view);
  EXPECT_EQ(Send(GetWindowEventTarget(window)), eventNotHandledErr);
  EXPECT_EQ(log, (std::vector<std::string>{"view", "host", "view after 0"}));
  EXPECT_TRUE(platform::HostEvents().empty());
}

TEST_F(CarbonEventDispatch, AControlsEventsGoOnToItsParentAndItsStandardHandler) {
  int dummy = 0;
  ControlRef control = reinterpret_cast<ControlRef>(&dummy);
  Recorder atWindow{"window", noErr, false, &log};
  Install(GetWindowEventTarget(window), &atWindow);
  platform::SetStandardEventHandler(GetControlEventTarget(control), [this](EventRef) {
    log.push_back("standard");
    return static_cast<OSStatus>(eventNotHandledErr);
  });
  platform::SetEventTargetParent(GetControlEventTarget(control), GetWindowEventTarget(window));
  EXPECT_EQ(Send(GetControlEventTarget(control)), noErr);
  EXPECT_EQ(log, (std::vector<std::string>{"standard", "window"}));
  platform::DisposeEventTargetOf(control);
}

OSStatus RemoveBoth(EventHandlerCallRef, EventRef, void* data) {
  auto* refs = static_cast<EventHandlerRef*>(data);
  RemoveEventHandler(refs[0]);
  RemoveEventHandler(refs[1]);
  return eventNotHandledErr;
}

TEST_F(CarbonEventDispatch, AHandlerMayRemoveHandlersDuringDispatch) {
  Recorder older{"older", noErr, false, &log};
  EventHandlerRef refs[2] = {};
  refs[1] = Install(GetWindowEventTarget(window), &older);
  const EventTypeSpec spec{kEventClassMouse, kEventMouseDown};
  InstallEventHandler(GetWindowEventTarget(window), RemoveBoth, 1, &spec, refs, &refs[0]);
  EXPECT_EQ(Send(GetWindowEventTarget(window)), eventNotHandledErr);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(platform::InstalledHandlerCount(GetWindowEventTarget(window)), 0);
}

TEST(CarbonEventParameters, AreTypedAndCopiedByValue) {
  EventRef event = platform::MakeEvent(kEventClassMouse, kEventMouseMoved);
  const HIPoint where{10.5, 20.25};
  platform::SetParam(event, kEventParamWindowMouseLocation, typeHIPoint, where);
  HIPoint out{0, 0};
  EventParamType actual = 0;
  ByteCount size = 0;
  EXPECT_EQ(GetEventParameter(event, kEventParamWindowMouseLocation, typeHIPoint, &actual, sizeof out, &size, &out),
            noErr);
  EXPECT_EQ(out.x, 10.5);
  EXPECT_EQ(actual, typeHIPoint);
  EXPECT_EQ(size, sizeof(HIPoint));
  EXPECT_EQ(GetEventParameter(event, kEventParamWindowMouseLocation, typeUInt32, nullptr, 4, nullptr, &out),
            errAECoercionFail);
  EXPECT_EQ(GetEventParameter(event, kEventParamWindowMouseLocation, typeWildCard, nullptr, sizeof out, nullptr, &out),
            noErr);
  EXPECT_EQ(GetEventParameter(event, kEventParamKeyCode, typeUInt32, nullptr, 4, nullptr, &out),
            eventParameterNotFoundErr);
  ReleaseEvent(event);
}

void CountTick(EventLoopTimerRef, void* data) { ++*static_cast<int*>(data); }

TEST(CarbonEventLoopTimers, FireOnTheRunLoopUntilRemoved) {
  platform::ResetRunLoop();
  int ticks = 0;
  EventLoopTimerRef timer = nullptr;
  ASSERT_EQ(InstallEventLoopTimer(GetMainEventLoop(), 0.0, 0.1, CountTick, &ticks, &timer), noErr);
  platform::AdvanceRunLoop(0.35);
  EXPECT_EQ(ticks, 4);  // at 0, 0.1, 0.2 and 0.3
  RemoveEventLoopTimer(timer);
  platform::AdvanceRunLoop(1.0);
  EXPECT_EQ(ticks, 4);
}

}  // namespace
