#pragma once

#include <string>

class AtomicFile;
namespace platform {
class ScreenWindow;
}

// What the editor's window shows, written as an 8-bit RGB PNG into the
// opened file (path names it in the error). Throws CommandError.
void WriteEditorPicture(const platform::ScreenWindow& screen, AtomicFile& file, const std::string& path);
