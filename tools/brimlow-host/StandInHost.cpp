#include "tools/brimlow-host/StandInHost.h"

#include <algorithm>
#include <cstring>

#include "platform/protools/HostWords.h"
#include "rtas/library/FourCC.h"
#include "tools/CommandError.h"

namespace {

// The host is one per process, as the callback has no context.
StandInHost* gHost = nullptr;

constexpr int32_t kEnableHostBased = 3;
constexpr size_t kTextBytes = 256;
constexpr int32_t kValueTextLength = 63;

std::string FromPascal(const char* text) {
  const unsigned char length = static_cast<unsigned char>(text[0]);
  return std::string(text + 1, text + 1 + length);
}

uint32_t TokenWord(const uint8_t* token, size_t offset) {
  uint32_t word = 0;
  std::memcpy(&word, token + offset, sizeof(word));
  return word;
}

[[noreturn]] void Fail(const std::string& what, int32_t code) {
  throw CommandError(what + " failed (" + std::to_string(code) + ")");
}

}  // namespace

std::string StandInHost::DefaultBundle() { return BRIMLOW_DEFAULT_PLUGIN_BUNDLE; }

StandInHost::StandInHost(const std::string& bundleFolder, int quantum, bool linked)
    : mLinked(linked), mQuantum(quantum) {
  if (gHost) throw CommandError("one host per process");
  mFrameworks = std::make_unique<HostFrameworkSetup>(quantum, linked);
  mBundle = std::make_unique<PlugInBundle>(bundleFolder);
  gHost = this;
  const int16_t opened = mBundle->Open();
  if (opened != 0) {
    Close();
    gHost = nullptr;
    Fail("NewMachOPlugIn", opened);
  }
  // Before anything is made: the plug-in's objects register through it.
  const int32_t callback = Call<HostCallbackProc>(14, &StandInHost::HostCallback);
  if (callback != 0) {
    Close();
    gHost = nullptr;
    Fail("giving the host callback", callback);
  }
}

StandInHost::~StandInHost() {
  try {
    Close();
  } catch (...) {
  }
  if (gHost == this) gHost = nullptr;
}

int16_t StandInHost::HostCallback(int16_t selector, ComponentRecord*, char** parameters) {
  if (selector == kHostCallbackStructureRegistry) {
    if (!gHost || !parameters) return -1;
    *reinterpret_cast<SStructureRegistry**>(parameters) = gHost->mRegistry.Interface();
  }
  return 0;
}

void StandInHost::Start(int32_t sampleRateHz) {
  if (const int32_t result = Call<int32_t>(7, sampleRateHz)) Fail("setting the rate", result);
  if (const int32_t result = Call<int32_t>(91, kEnableHostBased)) Fail("enabling the types", result);
}

int16_t StandInHost::CountTypes() const {
  int16_t count = -1;
  Call<int16_t*>(22, &count);
  return count;
}

int32_t StandInHost::TypeIDs(int32_t index, uint32_t* manufacturerID, uint32_t* uniqueID, uint32_t* typeID) const {
  return Call<int32_t, uint32_t*, uint32_t*, uint32_t*>(6, index, manufacturerID, uniqueID, typeID);
}

int32_t StandInHost::CreateInstance(uint32_t typeID) {
  int32_t number = 0;
  const int32_t result = Call<uint32_t, int32_t*>(19, typeID, &number);
  if (result != 0) Fail("creating an instance", result);
  mInstances.emplace_back(typeID, number);
  return number;
}

int32_t StandInHost::RemoveInstance(uint32_t typeID, int32_t instance) {
  auto it = std::find(mInstances.begin(), mInstances.end(), std::make_pair(typeID, instance));
  if (it != mInstances.end()) mInstances.erase(it);
  Call<uint32_t, int32_t>(144, typeID, instance);
  return Call<uint32_t, int32_t>(20, typeID, instance);
}

int32_t StandInHost::ControlCount(uint32_t typeID, int32_t instance) const {
  int16_t count = 0;
  Call<uint32_t, int32_t, int16_t*>(40, typeID, instance, &count);
  return count;
}

std::string StandInHost::ControlName(uint32_t typeID, int32_t instance, int32_t control) const {
  char text[kTextBytes] = {};
  Call<uint32_t, int32_t, int32_t, char*>(44, typeID, instance, control, text);
  return FromPascal(text);
}

std::string StandInHost::ValueText(uint32_t typeID, int32_t instance, int32_t control, int32_t value) const {
  char text[kTextBytes] = {};
  Call<uint32_t, int32_t, int32_t, int32_t, char*, int32_t>(90, typeID, instance, control, value, text,
                                                            kValueTextLength);
  text[kTextBytes - 1] = 0;
  return text;
}

int32_t StandInHost::ControlValue(uint32_t typeID, int32_t instance, int32_t control) const {
  int32_t value = 0;
  Call<uint32_t, int32_t, int32_t, int32_t*>(45, typeID, instance, control, &value);
  return value;
}

int32_t StandInHost::SetControlValue(uint32_t typeID, int32_t instance, int32_t control, int32_t value) {
  const int32_t result = Call<uint32_t, int32_t, int32_t, int32_t>(46, typeID, instance, control, value);
  DeliverTokens(typeID, instance, control);
  return result;
}

int32_t StandInHost::TextToValue(uint32_t typeID, int32_t instance, int32_t control, const std::string& text,
                                 int32_t* value) const {
  char buffer[kTextBytes] = {};
  std::strncpy(buffer, text.c_str(), kTextBytes - 1);
  return Call<uint32_t, int32_t, int32_t, char*, int32_t*>(175, typeID, instance, control, buffer, value);
}

int32_t StandInHost::FindControl(uint32_t typeID, int32_t instance, const std::string& name) const {
  const int32_t count = ControlCount(typeID, instance);
  for (int32_t n = 1; n <= count; ++n) {
    if (ControlName(typeID, instance, n) == name) return n;
  }
  return 0;
}

void StandInHost::DeliverTokens(uint32_t typeID, int32_t instance, int32_t control) {
  const SDAEControl& dae = mFrameworks->DAE();
  const int32_t count = dae.CountDispatchedTokens();
  for (; mTokensSeen < count; ++mTokensSeen) {
    uint8_t token[64] = {};
    const int32_t length = dae.GetDispatchedToken(mTokensSeen, token, sizeof(token));
    if (length < static_cast<int32_t>(hostwords::kTokenHeaderBytes)) continue;
    const uint32_t type = TokenWord(token, hostwords::kTokenType);
    const uint32_t subType = TokenWord(token, hostwords::kTokenSubType);
    if (type != FourCC("SETV")) continue;
    if (subType == FourCC("WNRS")) {
      ++mResizeRequests;
    } else if (subType == FourCC("CAVL") && control > 0 && length >= static_cast<int32_t>(hostwords::kTokenHeaderBytes + 4)) {
      // The engine sends the value back to the control it was set on.
      const int32_t value = static_cast<int32_t>(TokenWord(token, hostwords::kTokenHeaderBytes));
      Call<uint32_t, int32_t, int32_t, int32_t>(99, typeID, instance, control, value);
    }
  }
}

int StandInHost::TakeWindowResizeRequests() {
  DeliverTokens(0, 0, 0);
  const int requests = mResizeRequests;
  mResizeRequests = 0;
  return requests;
}

std::string StandInHost::Close() {
  if (mClosed || !mBundle) return "";
  mClosed = true;
  if (mBundle->IsOpen()) {
    while (!mInstances.empty()) {
      const auto [typeID, instance] = mInstances.back();
      RemoveInstance(typeID, instance);
    }
  }
  mBundle->Close();
  return mFrameworks->Leftovers();
}
