#pragma once

#include <optional>
#include <string>
#include <vector>

// What `brimlow-host` is asked to do. The stand-in host plays the part of
// the plug-in's host: every request reaches the plug-in through its bundle's
// exports and the selectors they give.
struct HostOptions {
  std::string bundle;                 // the plug-in bundle folder; the build's own when empty
  std::optional<std::string> layout;  // "1-1" or "2-2"; from the input's channels without one
  std::optional<int> rate;            // the host's rate; the input's (else 44100) without one
  int quantum = 512;                  // the host's largest block, in frames
  bool linked = false;                // the audio engine allows its link
  std::optional<std::string> input, output;
  std::vector<std::string> controls;  // "NAME=TEXT" or "NUMBER=TEXT"
  bool bypass = false;
  std::optional<std::string> chunkIn, chunkOut;
  std::optional<std::string> editor;  // the editor's picture, PNG
  bool listControls = false;
  bool help = false;
};

// args: everything after the program name. Throws CommandError (exit code
// kUsage) naming the first thing that cannot be used.
HostOptions ParseHostOptions(const std::vector<std::string>& args);

const char* HostHelpText();
