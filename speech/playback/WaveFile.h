// Writing RIFF WAVE files of 16-bit PCM samples (interleaved channels), as the offline
// renderer produces them and as test packs need them.
//
//   std::string bytes = EncodeWave(samples, 2, 44100);   // 44-byte header + data
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamzel::speech {

std::string EncodeWave(const std::vector<int16_t>& samples, int channels, int sampleRate);

}  // namespace tamzel::speech
