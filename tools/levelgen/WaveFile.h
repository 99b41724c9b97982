#pragma once

#include <string>
#include <vector>

// Writes mono samples as a plain 16-bit PCM wave, the format the game's wave reader reads. The
// samples are scaled so that the loudest one reaches `peak` of full scale, so each sound is written
// as loud as it can be without clipping and the game sets the mix with its gains.
bool writeWave(const std::string& path, const std::vector<float>& samples, int sampleRate,
               float peak);
