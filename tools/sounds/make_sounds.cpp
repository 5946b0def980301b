// make_sounds: synthesises the nine wave cues of the game.
//
// Usage: make_sounds <output directory>
//   e.g. build/tools/sounds/make_sounds resources/waves
// Writes <number>.wav for every cue of ui::cueTable, mono PCM at the cue's
// rate and bit depth and of its length. The output is deterministic: running
// it again reproduces the committed files byte for byte.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/SoundCues.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPeak = 0.82;   // headroom below full scale
constexpr double kFade = 0.004;  // seconds of fade at both ends

using Samples = std::vector<double>;

// A small deterministic noise source (xorshift), so reruns match.
struct Noise {
    std::uint32_t s = 0x9E3779B9u;
    double next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return (s / 4294967295.0) * 2.0 - 1.0;
    }
};

// A two-pole resonator that rings at a given frequency; fed with noise and a
// sliding frequency it makes a swoosh.
struct Resonator {
    double y1 = 0, y2 = 0;
    double next(double input, double f, double r, int rate) {
        const double a1 = 2 * r * std::cos(2 * kPi * f / rate), a2 = -r * r;
        const double y = input + a1 * y1 + a2 * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

double midi(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Attack/decay envelope: linear rise over `attack`, exponential fall after.
double env(double t, double attack, double decay) {
    if (t < 0) return 0;
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

// One note of a few harmonics, added into `out` at `start` seconds.
void addNote(Samples& out, int rate, double start, double length, double freq, double gain,
             const std::vector<double>& harmonics, double attack, double decay,
             double vibrato = 0.0) {
    const int first = static_cast<int>(start * rate);
    const int count = static_cast<int>(length * rate);
    double phase = 0;
    for (int i = 0; i < count && first + i < static_cast<int>(out.size()); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double f = freq * (1.0 + vibrato * std::sin(2 * kPi * 5.5 * t) * std::min(1.0, t * 3));
        phase += 2 * kPi * f / rate;
        double v = 0;
        for (std::size_t h = 0; h < harmonics.size(); ++h) {
            if (f * (h + 1) >= rate * 0.45) break;  // stay below Nyquist
            v += harmonics[h] * std::sin(phase * (h + 1));
        }
        // A short release so that no note ends on a click.
        const double release = std::min(1.0, (length - t) / 0.02);
        out[first + i] += gain * v * env(t, attack, decay) * release;
    }
}

Samples clickCue(int rate, int n) {
    Samples s(n);
    Noise noise;
    double low = 0;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        low += 0.35 * (noise.next() - low);  // softened noise
        s[i] = (0.6 * std::sin(2 * kPi * 1800 * t) + 0.5 * low) * env(t, 0.0008, 0.006);
    }
    return s;
}

Samples minimizeCue(int rate, int n) {
    // A falling swoosh: noise through a resonator whose pitch slides down.
    Samples s(n);
    Noise noise;
    Resonator swoosh;
    const double len = static_cast<double>(n) / rate;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double f = 1900.0 * std::pow(300.0 / 1900.0, t / len);
        const double y = swoosh.next(noise.next() * 0.12, f, 0.96, rate);
        const double shape = std::sin(kPi * t / len);
        s[i] = y * shape * shape;
    }
    return s;
}

Samples hitCue(int rate, int n) {
    // A bright two-note chime.
    Samples s(n);
    const std::vector<double> bell = {1.0, 0.0, 0.35, 0.0, 0.12};
    addNote(s, rate, 0.00, 0.49, midi(84), 0.5, bell, 0.003, 0.10);
    addNote(s, rate, 0.07, 0.42, midi(91), 0.6, bell, 0.003, 0.16);
    return s;
}

Samples missCue(int rate, int n) {
    // A low, dull "bonk" that sinks in pitch.
    Samples s(n);
    double phase = 0;
    const double len = static_cast<double>(n) / rate;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double f = 170.0 * std::pow(95.0 / 170.0, t / len);
        phase += 2 * kPi * f / rate;
        const double v = std::sin(phase) + 0.45 * std::sin(2 * phase) + 0.2 * std::sin(3 * phase);
        s[i] = v * env(t, 0.004, 0.16);
    }
    return s;
}

Samples newGameCue(int rate, int n) {
    // A rising four-note jingle, C E G C.
    Samples s(n);
    const std::vector<double> tone = {1.0, 0.4, 0.2, 0.1};
    const double notes[] = {72, 76, 79, 84};
    for (int k = 0; k < 4; ++k) {
        const double start = k * 0.12;
        const double length = (k == 3 ? 0.66 - start : 0.2);
        addNote(s, rate, start, length, midi(notes[k]), 0.45, tone, 0.006, k == 3 ? 0.18 : 0.09);
    }
    return s;
}

Samples panelCue(int rate, int n) {
    // A short rising slide that ends in a soft knock.
    Samples s(n);
    Noise noise;
    Resonator slide;
    double phase = 0;
    const double len = static_cast<double>(n) / rate;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double f = 400.0 * std::pow(2200.0 / 400.0, t / len);
        const double y = slide.next(noise.next() * 0.08, f, 0.97, rate);
        phase += 2 * kPi * 220 / rate;
        const double knockT = t - 0.2;
        const double knock = knockT > 0 ? std::sin(phase) * env(knockT, 0.002, 0.02) : 0;
        s[i] = y * std::sin(kPi * std::min(1.0, t / 0.22)) * 0.8 + 1.2 * knock;
    }
    return s;
}

Samples winCue(int rate, int n) {
    // A brass-like fanfare: ta-ta-ta-taaa, ta-ta-taaa, closing chord.
    Samples s(n);
    const std::vector<double> brass = {1.0, 0.7, 0.5, 0.35, 0.22, 0.14, 0.08};
    struct N { double at, len, note; };
    const N melody[] = {
        {0.00, 0.16, 67}, {0.17, 0.16, 67}, {0.34, 0.16, 67}, {0.51, 0.70, 72},
        {1.30, 0.16, 71}, {1.47, 0.16, 72}, {1.64, 0.16, 74}, {1.81, 0.60, 76},
        {2.45, 0.25, 74}, {2.70, 2.05, 79},
    };
    for (const N& m : melody) {
        const bool last = m.at > 2.6;
        addNote(s, rate, m.at, m.len, midi(m.note), 0.32, brass, 0.015, last ? 0.9 : 0.5,
                last ? 0.006 : 0.0);
    }
    // The closing chord under the last note.
    for (double note : {60.0, 64.0, 67.0, 72.0})
        addNote(s, rate, 2.70, 2.05, midi(note), 0.14, {1.0, 0.4, 0.2}, 0.05, 0.9);
    return s;
}

Samples lossCue(int rate, int n) {
    // Four sinking "wah" notes, the last long and wavering.
    Samples s(n);
    const std::vector<double> horn = {1.0, 0.55, 0.3, 0.18, 0.1};
    const double notes[] = {67, 66, 65, 64};
    for (int k = 0; k < 4; ++k) {
        const double start = k * 0.42;
        const bool last = k == 3;
        const double length = last ? 2.5 - start : 0.40;
        const int first = static_cast<int>(start * rate);
        const int count = static_cast<int>(length * rate);
        double phase = 0;
        for (int i = 0; i < count && first + i < n; ++i) {
            const double t = static_cast<double>(i) / rate;
            const double bend = last ? 1.0 - 0.03 * std::min(1.0, t / 1.0) : 1.0 - 0.02 * t / length;
            const double wobble = last ? 0.012 * std::sin(2 * kPi * 4.5 * t) : 0.0;
            const double f = midi(notes[k]) * 0.5 * (bend + wobble);
            phase += 2 * kPi * f / rate;
            double v = 0;
            for (std::size_t h = 0; h < horn.size(); ++h) v += horn[h] * std::sin(phase * (h + 1));
            const double shape = last ? env(t, 0.03, 0.6) : std::sin(kPi * t / length);
            const double release = std::min(1.0, (length - t) / 0.03);
            s[first + i] += 0.4 * v * shape * release;
        }
    }
    return s;
}

Samples altLossCue(int rate, int n) {
    // A rising, shimmering sweep with little bells, for the flight.
    Samples s(n);
    const double len = static_cast<double>(n) / rate;
    const double ratios[] = {1.0, 1.003, 1.5, 2.0, 2.004, 3.0};
    const double gains[] = {0.30, 0.30, 0.18, 0.14, 0.14, 0.06};
    double phases[6] = {};
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double base = 220.0 * std::pow(4.0, t / len);
        double v = 0;
        for (int k = 0; k < 6; ++k) {
            phases[k] += 2 * kPi * base * ratios[k] / rate;
            v += gains[k] * std::sin(phases[k]);
        }
        const double swell = std::sin(kPi * t / len);
        s[i] = v * swell * (0.8 + 0.2 * std::sin(2 * kPi * 3.0 * t));
    }
    const double bells[] = {81, 84, 88, 91, 93, 96};
    for (int k = 0; k < 6; ++k)
        addNote(s, rate, 0.5 + k * 0.55, 1.2, midi(bells[k]), 0.16, {1.0, 0.0, 0.2}, 0.004, 0.3);
    return s;
}

// Peak-normalises, fades both ends and writes the samples in the cue's format.
std::vector<std::uint8_t> encode(Samples s, int rate, int bits) {
    double peak = 0;
    for (double v : s) peak = std::max(peak, std::fabs(v));
    const int fade = static_cast<int>(kFade * rate);
    const int n = static_cast<int>(s.size());
    for (int i = 0; i < n; ++i) {
        double v = peak > 0 ? s[i] / peak * kPeak : 0;
        if (i < fade) v *= static_cast<double>(i) / fade;
        if (n - 1 - i < fade) v *= static_cast<double>(n - 1 - i) / fade;
        s[i] = v;
    }
    const int bytesPerSample = bits / 8;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(n * bytesPerSample);
    std::vector<std::uint8_t> out;
    auto put = [&out](std::uint32_t value, int bytes) {
        for (int b = 0; b < bytes; ++b) out.push_back(static_cast<std::uint8_t>(value >> (8 * b)));
    };
    auto tag = [&out](const char* t) { out.insert(out.end(), t, t + 4); };
    tag("RIFF");
    put(36 + dataSize + (dataSize & 1), 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(static_cast<std::uint32_t>(rate), 4);
    put(static_cast<std::uint32_t>(rate * bytesPerSample), 4);
    put(static_cast<std::uint32_t>(bytesPerSample), 2);
    put(static_cast<std::uint32_t>(bits), 2);
    tag("data");
    put(dataSize, 4);
    for (double v : s) {
        if (bits == 8) {
            // 8-bit PCM is unsigned, silence at 128.
            const long q = std::lround(v * 127.0) + 128;
            out.push_back(static_cast<std::uint8_t>(std::clamp(q, 0L, 255L)));
        } else {
            const long q = std::clamp(std::lround(v * 32767.0), -32768L, 32767L);
            put(static_cast<std::uint32_t>(static_cast<std::int16_t>(q)) & 0xFFFFu, 2);
        }
    }
    if (dataSize & 1) out.push_back(0);  // RIFF chunks are word-aligned
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    using Synth = std::function<Samples(int, int)>;
    const std::map<ui::SoundCue, Synth> synths = {
        {ui::SoundCue::Click, clickCue},     {ui::SoundCue::Minimize, minimizeCue},
        {ui::SoundCue::Hit, hitCue},         {ui::SoundCue::Miss, missCue},
        {ui::SoundCue::NewGame, newGameCue}, {ui::SoundCue::Panel, panelCue},
        {ui::SoundCue::Win, winCue},         {ui::SoundCue::Loss, lossCue},
        {ui::SoundCue::AltLoss, altLossCue},
    };
    for (const ui::CueSpec& cue : ui::cueTable) {
        const auto synth = synths.find(cue.cue);
        if (synth == synths.end()) {
            std::fprintf(stderr, "no sound for %s\n", cue.name);
            return 1;
        }
        const int n = static_cast<int>(std::lround(cue.seconds * cue.sampleRate));
        const auto bytes = encode(synth->second(cue.sampleRate, n), cue.sampleRate, cue.bitsPerSample);
        const std::string path = std::string(argv[1]) + "/" + std::to_string(cue.resource) + ".wav";
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!file) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s  %s\n", path.c_str(), cue.name);
    }
    return 0;
}
