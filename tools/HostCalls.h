#pragma once

#include <cstdint>
#include <string>
#include <vector>

class IPlugBase;

// The calls a host binding makes on a plug-in object, each as the binding
// makes it (locks included), against the base object alone so that any
// plug-in, the equaliser or a test's, can be driven. Failures throw
// CommandError with a message for the user.

// Before the first block: connects the leading `channels` inputs and
// outputs and disconnects the rest, sets the rate and block size, resets.
// Throws for a channel count the plug-in does not have.
void HostStart(IPlugBase& plug, double sampleRate, int blockSize, int channels);

// A parameter change from the host: under the plug mutex the value is
// stored (clamped), shown on the editor's controls when there is an
// editor, and announced through OnParamChange.
void HostSetParameter(IPlugBase& plug, int paramIdx, double value);

// The preset list's names in index order.
std::vector<std::string> HostPresetNames(const IPlugBase& plug);
// A preset, from the list or from a file, sets the parameters flagged for
// presets and no other, as the editor's preset bar applies one: Solo and
// the display, analyser, meter and output settings stay as they were.
//
// A preset chosen by index. A record that holds no settings is refused:
// restoring it would capture the state instead.
void HostRestorePreset(IPlugBase& plug, int presetIdx);
// An XML preset file: read into a record of its own (flagged parameters
// the file leaves out take their defaults), which is then restored.
void HostLoadPresetFile(IPlugBase& plug, const std::string& path);

// The plug-in's state bytes as SerializeState writes them, and their
// restore through UnserializeStateAll. what names the bytes' file.
std::vector<uint8_t> HostSaveState(IPlugBase& plug);
void HostRestoreState(IPlugBase& plug, const std::vector<uint8_t>& bytes, const std::string& what);

// One block through the float block frame under the plug mutex: the
// leading `channels` inputs and outputs, processed or, when bypassed,
// passed through the plug-in's latency delay.
void HostProcessBlock(IPlugBase& plug, int channels, bool bypass, float** inputs, float** outputs, int nFrames);
