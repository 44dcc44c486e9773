#include "tools/EditorPicture.h"

#include <cerrno>

#include "platform/windowserver/ScreenWindow.h"
#include "tools/AtomicFile.h"
#include "tools/CommandError.h"
#include "tools/OutputFiles.h"
#include "tools/PngWriter.h"

void WriteEditorPicture(const platform::ScreenWindow& screen, AtomicFile& file, const std::string& path) {
  errno = 0;
  if (!WriteXRGBAsPNG(file.File(), screen.Pixels(), screen.PixelWidth(), screen.PixelHeight(), screen.RowBytes()) ||
      !file.Finish()) {
    throw CommandError(OutputError(path, errno != 0 ? errno : EIO));
  }
}
