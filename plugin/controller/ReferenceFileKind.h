#pragma once

// What the reference-load command does with a chosen file, by its
// extension: the text from the last "." after the last "/", compared
// exactly. ".ref" is read at once; ".wav" and ".aiff" are measured on a
// later editor tick; anything else (".WAV", ".aif", ".aifc", no extension)
// is ignored.
enum ReferenceFileKind {
  kReferenceFileIgnored,
  kReferenceFileCapture,
  kReferenceFileAudio,
};

ReferenceFileKind GetReferenceFileKind(const char* path);
