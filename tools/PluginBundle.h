#pragma once

// The plug-in bundle this program was built with (build/Plug-Ins/Brimlow.dpm),
// made known by its identifier so the editor finds its images there,
// wherever the program is run from. Kept for the life of the process;
// false when the folder is missing, and the editor then draws without images.
bool RegisterPluginBundle();
