#pragma once

// Bundle identifiers of the host's frameworks: a reverse-domain prefix of
// our own (the host vendor's is not ours to use) followed by the endings the
// library looks for. The build writes the same texts into the stand-ins'
// Info.plist files.
#define BRIMLOW_HOST_FRAMEWORK_PREFIX "com.kestrelbay.host"

namespace hostframeworks {

constexpr const char* kDAEIdentifier = BRIMLOW_HOST_FRAMEWORK_PREFIX ".framework.DAE";
constexpr const char* kDSIIdentifier = BRIMLOW_HOST_FRAMEWORK_PREFIX ".framework.DSI";
constexpr const char* kDSPManagerIdentifier = BRIMLOW_HOST_FRAMEWORK_PREFIX ".framework.DSPManager";
constexpr const char* kStreamManagerIdentifier = BRIMLOW_HOST_FRAMEWORK_PREFIX ".framework.StreamManager";

}  // namespace hostframeworks
