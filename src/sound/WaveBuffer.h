#pragma once

// Reads a wave file (sound/WaveData) into an OpenAL buffer. A file that cannot be played
// (missing, unreadable, not a wave, truncated, without samples) leaves the buffer empty and is
// named once through the data-file report. True when the buffer holds the file's samples.
bool loadWaveBuffer(const char* path, unsigned int buffer);
