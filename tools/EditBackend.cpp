#include "tools/EditBackend.h"

EditBackend::EditBackend(std::unique_ptr<platform::X11Backend> x11, FILE* out) : mX11(std::move(x11)), mOut(out) {}

bool EditBackend::OpenURL(const std::string& url) {
  std::fprintf(mOut, "open in a browser: %s\n", url.c_str());
  return true;
}
