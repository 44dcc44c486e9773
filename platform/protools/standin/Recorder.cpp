#include "platform/protools/standin/Recorder.h"

#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/corefoundation/CFBundleStandIn.h"

namespace standin {

namespace {

struct Recorder {
  std::mutex mMutex;
  std::vector<SStandInCall> mCalls;
  std::set<std::string> mHidden;
  std::map<std::string, int32_t> mFailures;
  void (*mResetFramework)() = nullptr;
};

Recorder& TheRecorder() {
  static Recorder* recorder = new Recorder;  // calls may come during exit
  return *recorder;
}

void Reset() {
  Recorder& r = TheRecorder();
  {
    std::lock_guard<std::mutex> lock(r.mMutex);
    r.mCalls.clear();
    r.mHidden.clear();
    r.mFailures.clear();
  }
  if (r.mResetFramework) r.mResetFramework();
}

void HideName(const char* name) {
  std::lock_guard<std::mutex> lock(TheRecorder().mMutex);
  if (name) TheRecorder().mHidden.insert(name);
}

void FailFunction(const char* name, int32_t status) {
  std::lock_guard<std::mutex> lock(TheRecorder().mMutex);
  if (name) TheRecorder().mFailures[name] = status;
}

int32_t CountCalls(const char* name) {
  std::lock_guard<std::mutex> lock(TheRecorder().mMutex);
  int32_t count = 0;
  for (const SStandInCall& call : TheRecorder().mCalls) count += !name || std::strcmp(call.mName, name) == 0;
  return count;
}

Boolean GetCall(int32_t index, SStandInCall* call) {
  std::lock_guard<std::mutex> lock(TheRecorder().mMutex);
  const auto& calls = TheRecorder().mCalls;
  if (index < 0 || static_cast<size_t>(index) >= calls.size() || !call) return false;
  *call = calls[static_cast<size_t>(index)];
  return true;
}

void ClearCalls() {
  std::lock_guard<std::mutex> lock(TheRecorder().mMutex);
  TheRecorder().mCalls.clear();
}

}  // namespace

std::optional<int32_t> EnterWords(const char* name, std::initializer_list<intptr_t> args) {
  Recorder& r = TheRecorder();
  std::lock_guard<std::mutex> lock(r.mMutex);
  SStandInCall call{};
  std::strncpy(call.mName, name, sizeof call.mName - 1);
  for (intptr_t arg : args) {
    if (call.mArgCount == 7) break;
    call.mArgs[call.mArgCount++] = arg;
  }
  r.mCalls.push_back(call);
  auto failure = r.mFailures.find(name);
  if (failure == r.mFailures.end()) return std::nullopt;
  return failure->second;
}

SStandInCommon CommonControl(void (*resetFramework)()) {
  TheRecorder().mResetFramework = resetFramework;
  return SStandInCommon{Reset, HideName, FailFunction, CountCalls, GetCall, ClearCalls};
}

}  // namespace standin

// Asked by the bundle stand-in before it resolves a name.
extern "C" int CFStandInBundleHidesSymbol(const char* name) {
  standin::Recorder& r = standin::TheRecorder();
  std::lock_guard<std::mutex> lock(r.mMutex);
  return name && r.mHidden.count(name) ? 1 : 0;
}

// Checks the hook against the shape the bundle stand-in calls it with.
static_assert(std::is_same_v<decltype(&CFStandInBundleHidesSymbol), platform::BundleHidesSymbolProc>);
