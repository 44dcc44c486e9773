#pragma once

#include <cstdint>

// Tells the audio engine that a process no longer takes MIDI directly; the
// plug-in's process destructor calls it. The engine's status, or the
// wrapper's when the engine is missing.
int16_t UnregisterDirectMIDIClient(void* process);
