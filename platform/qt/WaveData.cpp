#include "platform/qt/WaveData.h"

namespace platform::qt {

namespace {

std::uint32_t le32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t le16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

}  // namespace

std::optional<WaveData> decodeWave(const std::string& bytes) {
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        return std::nullopt;
    }
    WaveData wave;
    bool haveFormat = false;
    std::size_t at = 12;
    // Chunks: a four-letter id, a 32-bit size, the body padded to an even size.
    while (at + 8 <= bytes.size()) {
        const std::string id = bytes.substr(at, 4);
        const std::uint32_t size = le32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (size > bytes.size() - body) return std::nullopt;   // cut short
        if (id == "fmt ") {
            if (size < 16) return std::nullopt;
            const std::uint16_t format = le16(bytes, body);
            wave.channels = le16(bytes, body + 2);
            wave.sampleRate = static_cast<int>(le32(bytes, body + 4));
            wave.bitsPerSample = le16(bytes, body + 14);
            if (format != 1 || (wave.channels != 1 && wave.channels != 2) ||
                (wave.bitsPerSample != 8 && wave.bitsPerSample != 16) || wave.sampleRate <= 0 ||
                wave.sampleRate > 192000) {
                return std::nullopt;
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) return std::nullopt;
            const std::size_t frame = static_cast<std::size_t>(wave.channels * wave.bitsPerSample / 8);
            const std::size_t whole = size - size % frame;
            wave.samples.assign(bytes.begin() + static_cast<std::ptrdiff_t>(body),
                                bytes.begin() + static_cast<std::ptrdiff_t>(body + whole));
            return wave;
        }
        at = body + size + (size & 1u);
    }
    return std::nullopt;
}

}  // namespace platform::qt
