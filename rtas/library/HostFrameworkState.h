#pragma once

// Everything this part of the library keeps per process, back to how the
// bundle finds it when it is loaded: the three frameworks released, the
// cached registry, connection interface and host services forgotten, the
// DSI accessor flag and the host callback cleared. A host never needs it
// (unloading the bundle does it); tests start from it.
void ResetHostFrameworkState();
