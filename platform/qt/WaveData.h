// A wave resource decoded once into the raw samples a sound server takes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::qt {

struct WaveData {
    int sampleRate = 0;      // Hz
    int channels = 0;        // 1 or 2
    int bitsPerSample = 0;   // 8 (unsigned) or 16 (signed, little-endian)
    std::vector<std::uint8_t> samples;

    double seconds() const {
        const int frame = channels * bitsPerSample / 8;
        return frame > 0 && sampleRate > 0 ? static_cast<double>(samples.size()) / frame / sampleRate : 0.0;
    }
};

// The PCM samples of a RIFF/WAVE file; nothing for a file that is not
// uncompressed 8- or 16-bit PCM in one or two channels, or is cut short.
std::optional<WaveData> decodeWave(const std::string& bytes);

}  // namespace platform::qt
