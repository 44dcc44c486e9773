#pragma once

// Results of AudioFileReader::OpenAudioFile. Callers show every non-zero
// result to the user as "Error: file corrupt or unsupported!".
enum AudioFileResult {
  kAudioFileOk = 0,
  // Empty path, or the file cannot be opened for reading.
  kAudioFileCannotOpen = -1,
  // Truncated or inconsistent: a header field cut short, a required chunk
  // missing, a failed seek, zero bits or channels, or fewer sample bytes in
  // the file than the header promises.
  kAudioFileCorrupt = -2,
  // Neither a RIFF "WAVE" nor a FORM "AIFF"/"AIFC" file.
  kAudioFileUnknownFormat = -6,
  // A sample format, width, block layout, compression or sample rate that
  // is not read.
  kAudioFileUnsupported = -7,
  // The work buffer for the raw sample bytes cannot be had.
  kAudioFileNoRawBuffer = -10,
  // The float sample array cannot be had (the reader is left empty).
  kAudioFileNoSampleArray = -11,
};
