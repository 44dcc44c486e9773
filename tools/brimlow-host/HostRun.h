#pragma once

#include <cstdio>

struct HostOptions;

// The stand-in host's whole session, in the host's order: frameworks,
// bundle, callback, rate and types, one instance of the layout, the chunk
// restored and compared, the controls set, the editor opened, the audio
// rendered with the editor's timer and the idle call between blocks, the
// chunk saved, then every instance removed and the plug-in closed. Prints
// its report to `out`; every output file is written whole at the end or
// not at all. Failures throw CommandError.
int RunStandInHost(const HostOptions& options, FILE* out);
