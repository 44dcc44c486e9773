#pragma once

struct AudioFileLayout;
class AudioFileStream;

// Reads a RIFF "WAVE" header; the stream stands after the "RIFF" id. Fills
// the layout (stream left at the first frame) and returns 0, or a negative
// AudioFileResult.
int ReadWavHeader(AudioFileStream& stream, AudioFileLayout* layout);
