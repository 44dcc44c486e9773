#include "platform/windowserver/Backend.h"

#include "platform/windowserver/HeadlessBackend.h"

namespace platform {

namespace {

// Never destroyed: windows that outlive static destruction still tell it
// they go.
std::unique_ptr<WindowServerBackend>& Installed() {
  static auto* backend = new std::unique_ptr<WindowServerBackend>;
  return *backend;
}

}  // namespace

WindowServerBackend& Backend() {
  auto& backend = Installed();
  if (!backend) backend = std::make_unique<HeadlessBackend>();
  return *backend;
}

void InstallBackend(std::unique_ptr<WindowServerBackend> backend) { Installed() = std::move(backend); }

HeadlessBackend* Headless() { return dynamic_cast<HeadlessBackend*>(&Backend()); }

}  // namespace platform
