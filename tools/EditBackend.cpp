#include "tools/EditBackend.h"

#include <unistd.h>

#include <cctype>

EditBackend::EditBackend(std::unique_ptr<platform::X11Backend> x11, FILE* in, FILE* out)
    : mX11(std::move(x11)), mIn(in), mOut(out), mInteractive(in && isatty(fileno(in))) {}

bool EditBackend::ReadLine(std::string* line) {
  line->clear();
  if (!mInteractive) return false;
  std::fflush(mOut);
  int c = 0;
  while ((c = std::fgetc(mIn)) != EOF && c != '\n') line->push_back(static_cast<char>(c));
  return c != EOF || !line->empty();
}

platform::AlertResponse EditBackend::RunAlert(const platform::AlertRequest& request) {
  std::fprintf(mOut, "%s: %s\n", request.header.c_str(), request.message.c_str());
  const std::string first = request.defaultButton.empty() ? "OK" : request.defaultButton;
  if (request.alternateButton.empty() && request.otherButton.empty()) return platform::kAlertDefault;
  // Several buttons: the user picks one by its first letter.
  const std::string* buttons[] = {&first, &request.alternateButton, &request.otherButton};
  for (;;) {
    std::fprintf(mOut, "  [%s]", first.c_str());
    for (int i = 1; i < 3; ++i) {
      if (!buttons[i]->empty()) std::fprintf(mOut, " %s", buttons[i]->c_str());
    }
    std::fprintf(mOut, " (first letter, Return for the first): ");
    std::string line;
    if (!ReadLine(&line) || line.empty()) return platform::kAlertDefault;
    const int key = std::tolower(static_cast<unsigned char>(line[0]));
    for (int i = 0; i < 3; ++i) {
      if (!buttons[i]->empty() && std::tolower(static_cast<unsigned char>((*buttons[i])[0])) == key) {
        return static_cast<platform::AlertResponse>(i);
      }
    }
  }
}

bool EditBackend::RunPanel(const platform::PanelRequest& request, std::string* path) {
  std::string types;
  for (const std::string& type : request.types) types += (types.empty() ? "" : " ") + type;
  std::fprintf(mOut, "%s a file%s%s%s in %s\n", request.save ? "save" : "open", types.empty() ? "" : " (",
               types.c_str(), types.empty() ? "" : ")", request.folder.c_str());
  if (!mInteractive) {
    std::fprintf(mOut, "  (no terminal to ask: cancelled)\n");
    return false;
  }
  std::fprintf(mOut, "  path (Return cancels)%s%s: ", request.file.empty() ? "" : ", default ",
               request.file.c_str());
  std::string line;
  if (!ReadLine(&line)) return false;
  if (line.empty()) {
    if (!request.save || request.file.empty()) return false;
    line = request.file;
  }
  // A bare name lies in the panel's folder.
  if (line[0] != '/' && !request.folder.empty()) {
    line = request.folder + (request.folder.back() == '/' ? "" : "/") + line;
  }
  *path = line;
  return true;
}

bool EditBackend::OpenURL(const std::string& url) {
  std::fprintf(mOut, "open in a browser: %s\n", url.c_str());
  return true;
}
