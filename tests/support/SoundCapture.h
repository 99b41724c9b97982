#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A 440 Hz mono tone as a 16-bit PCM wave at 22050 Hz, half a second unless told otherwise.
void writeTone(const std::string& path, size_t sampleCount = 22050 / 2);

// OpenAL reads its configuration once per process, so what a sound sounds like is captured in
// a child: this test program again, running only the tests `childFilter` picks, in `folder`
// (named to it as $QUILLORB_CAPTURE_DIR), with OpenAL's wave backend writing 16-bit samples to
// folder/out.wav. Returns those samples (channels interleaved), empty when the child failed or
// the backend wrote nothing.
std::vector<int16_t> captureChild(const std::string& folder, const std::string& childFilter);
