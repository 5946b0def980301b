#include "tests/e2e/SoundServer.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <signal.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/qt/WaveData.h"

namespace e2e {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// ---- The server ------------------------------------------------------------

SoundServer::~SoundServer() { stop(); }

bool SoundServer::start(const fs::path& folder, std::string& error) {
    const std::string pulseaudio = findOnPath("pulseaudio");
    if (pulseaudio.empty()) {
        error = "pulseaudio is not installed (package pulseaudio); the end-to-end tests need it";
        return false;
    }
    std::error_code ec;
    fs::create_directories(folder / "home", ec);
    // Open to every account: the program may run as the player.
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::replace, ec);
    socket_ = folder / "native";
    writeFile(folder / "server.pa",
              "load-module module-native-protocol-unix socket=" + socket_.string() +
                  " auth-anonymous=1\n"
                  "load-module module-null-sink sink_name=cues rate=44100 channels=1\n"
                  "set-default-sink cues\n");
    const fs::path home = folder / "home";
    const Environment env = {
        {"HOME", home.string()},
        {"XDG_RUNTIME_DIR", home.string()},
        {"XDG_CONFIG_HOME", (home / ".config").string()},
        {"PULSE_SERVER", ""},
        {"DISPLAY", ""},
        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus"},
    };
    if (!server_.start({pulseaudio, "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                        "--disallow-exit", "--log-target=stderr", "-F", (folder / "server.pa").string()},
                       env, folder, folder / "server.out", folder / "server.err")) {
        error = "could not start pulseaudio";
        return false;
    }
    // Ready once the socket answers.
    const bool up = waitUntil(
        [&] {
            if (!server_.running()) return true;
            if (!fs::exists(socket_)) return false;
            RunResult r = run({"pactl", "info"}, {{"PULSE_SERVER", address()}}, 5s);
            return r.finished && r.exitCode == 0;
        },
        10s, 30ms);
    if (!up || !server_.running()) {
        error = "pulseaudio did not start: " + readFile(folder / "server.err");
        return false;
    }
    return true;
}

double SoundServer::sinkLatencyMs() {
    const RunResult r = run({"pactl", "list", "sinks"}, {{"PULSE_SERVER", address()}}, 5s);
    const auto at = r.out.find("configured ");
    if (!r.finished || at == std::string::npos) return -1;
    return std::strtod(r.out.c_str() + at + 11, nullptr) / 1000.0;
}

void SoundServer::stop() {
    server_.signal(SIGTERM);
    if (!server_.wait(3s)) server_.kill();
}

// ---- The recorder ----------------------------------------------------------

SoundRecorder::~SoundRecorder() { stop(); }

bool SoundRecorder::start(const std::string& serverAddress, std::string& error) {
    pa_sample_spec format{};
    format.format = PA_SAMPLE_S16LE;
    format.rate = kRecordRate;
    format.channels = 1;
    int err = 0;
    // The silence first: its arrival makes the idle sink give up the two
    // seconds it rendered ahead, so the recording starts at once.
    pa_buffer_attr keeperAttr{};
    keeperAttr.maxlength = static_cast<std::uint32_t>(-1);
    keeperAttr.tlength = static_cast<std::uint32_t>(kRecordRate / 100 * 2);   // 10 ms
    keeperAttr.prebuf = static_cast<std::uint32_t>(-1);
    keeperAttr.minreq = static_cast<std::uint32_t>(-1);
    pa_simple* keeper = pa_simple_new(serverAddress.c_str(), "e2e clock", PA_STREAM_PLAYBACK, "cues",
                                      "silence", &format, nullptr, &keeperAttr, &err);
    if (keeper == nullptr) {
        error = std::string("cannot play silence on the sound server: ") + pa_strerror(err);
        return false;
    }
    stopping_ = false;
    keeper_ = std::thread([this, keeper] { keepTime(keeper); });
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(kRecordRate / 200 * 2);   // 5 ms blocks
    pa_simple* s = pa_simple_new(serverAddress.c_str(), "e2e recorder", PA_STREAM_RECORD, "cues.monitor",
                                 "monitor", &format, nullptr, &attr, &err);
    if (s == nullptr) {
        error = std::string("cannot record the sound server: ") + pa_strerror(err);
        stop();
        return false;
    }
    thread_ = std::thread([this, s] { loop(s); });
    if (!waitUntil([this] { return sampleCount() > 0; }, 5s, 5ms)) {
        error = "the sound server's sink records nothing";
        stop();
        return false;
    }
    return true;
}

void SoundRecorder::keepTime(void* stream) {
    auto* s = static_cast<pa_simple*>(stream);
    const std::int16_t silence[kRecordRate / 200] = {};
    while (!stopping_) {
        int err = 0;
        if (pa_simple_write(s, silence, sizeof silence, &err) < 0) break;
    }
    pa_simple_free(s);
}

void SoundRecorder::loop(void* stream) {
    auto* s = static_cast<pa_simple*>(stream);
    std::int16_t block[kRecordRate / 200];
    while (!stopping_) {
        int err = 0;
        if (pa_simple_read(s, block, sizeof block, &err) < 0) break;
        const auto now = Clock::now();
        std::lock_guard<std::mutex> lock(mutex_);
        samples_.insert(samples_.end(), std::begin(block), std::end(block));
        // The block's last sample was recorded no later than its arrival.
        const auto candidate =
            now - std::chrono::duration_cast<Clock::duration>(
                      std::chrono::duration<double>(static_cast<double>(samples_.size()) / kRecordRate));
        if (!haveOrigin_ || candidate < origin_) origin_ = candidate;
        haveOrigin_ = true;
    }
    pa_simple_free(s);
}

void SoundRecorder::stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    if (keeper_.joinable()) keeper_.join();
}

std::vector<float> SoundRecorder::samples() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<float> out(samples_.size());
    std::transform(samples_.begin(), samples_.end(), out.begin(),
                   [](std::int16_t v) { return static_cast<float>(v) / 32768.0f; });
    return out;
}

std::size_t SoundRecorder::sampleCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return samples_.size();
}

void SoundRecorder::save(const fs::path& wavePath) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto dataBytes = static_cast<std::uint32_t>(samples_.size() * 2);
    auto le = [](std::uint32_t v, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        return out;
    };
    std::string header = "RIFF" + le(36 + dataBytes, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
                         le(kRecordRate, 4) + le(kRecordRate * 2, 4) + le(2, 2) + le(16, 2) + "data" +
                         le(dataBytes, 4);
    header.append(reinterpret_cast<const char*>(samples_.data()), dataBytes);
    writeFile(wavePath, header);
}

Clock::time_point SoundRecorder::timeOf(std::size_t index) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return origin_ + std::chrono::duration_cast<Clock::duration>(
                         std::chrono::duration<double>(static_cast<double>(index) / kRecordRate));
}

std::size_t SoundRecorder::indexAt(Clock::time_point t) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (t <= origin_) return 0;
    return static_cast<std::size_t>(std::chrono::duration<double>(t - origin_).count() * kRecordRate);
}

// ---- Finding sounds --------------------------------------------------------

std::vector<Sound> soundsIn(const std::vector<float>& samples, std::chrono::milliseconds gap,
                            std::size_t from) {
    const std::size_t gapSamples = static_cast<std::size_t>(gap.count()) * kRecordRate / 1000;
    std::vector<Sound> out;
    bool open = false;
    Sound current;
    for (std::size_t i = from; i < samples.size(); ++i) {
        if (std::fabs(samples[i]) <= kAudible) continue;
        if (open && i - current.end >= gapSamples) {
            out.push_back(current);
            open = false;
        }
        if (!open) {
            current.start = i;
            open = true;
        }
        current.end = i + 1;
    }
    // A sound still going on at the end of the recording is not yet whole.
    if (open && samples.size() - current.end >= gapSamples) out.push_back(current);
    return out;
}

std::vector<float> cueWave(int resource) {
    const std::string bytes = readFile(fs::path(TARVIK_SOURCE_DIR) / "resources/waves" /
                                       (std::to_string(resource) + ".wav"));
    const auto wave = platform::qt::decodeWave(bytes);
    std::vector<float> out;
    if (!wave || wave->channels != 1) return out;
    std::vector<float> source;
    if (wave->bitsPerSample == 8) {
        for (std::uint8_t v : wave->samples) source.push_back((static_cast<float>(v) - 128.0f) / 128.0f);
    } else {
        for (std::size_t i = 0; i + 1 < wave->samples.size(); i += 2) {
            const auto v = static_cast<std::int16_t>(wave->samples[i] | wave->samples[i + 1] << 8);
            source.push_back(static_cast<float>(v) / 32768.0f);
        }
    }
    // Linear interpolation up to the recording's rate.
    const double step = static_cast<double>(wave->sampleRate) / kRecordRate;
    const auto n = static_cast<std::size_t>(static_cast<double>(source.size()) / step);
    out.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) * step;
        const auto k = static_cast<std::size_t>(x);
        const double f = x - static_cast<double>(k);
        const float next = k + 1 < source.size() ? source[k + 1] : source[k];
        out[i] = static_cast<float>(source[k] * (1.0 - f) + next * f);
    }
    return out;
}

double cueSeconds(int resource, std::chrono::milliseconds gap) {
    std::vector<float> wave = cueWave(resource);
    wave.resize(wave.size() + static_cast<std::size_t>(gap.count()) * kRecordRate / 1000 + 1, 0.0f);
    const auto sounds = soundsIn(wave, gap);
    if (sounds.empty()) return 0.0;
    return static_cast<double>(sounds.back().end - sounds.front().start) / kRecordRate;
}

namespace {

// The start of a cue's wave, from its first audible sample on.
struct CueStart {
    std::vector<float> samples;
    double energy = 0;
};

CueStart cueStart(int resource) {
    const std::vector<float> wave = cueWave(resource);
    std::size_t first = 0;
    while (first < wave.size() && std::fabs(wave[first]) <= kAudible) ++first;
    const std::size_t length = std::min<std::size_t>(kRecordRate * 90 / 1000, wave.size() - first);
    CueStart out;
    out.samples.assign(wave.begin() + static_cast<std::ptrdiff_t>(first),
                       wave.begin() + static_cast<std::ptrdiff_t>(first + length));
    for (float v : out.samples) out.energy += static_cast<double>(v) * v;
    return out;
}

double correlation(const std::vector<float>& samples, std::size_t start, const CueStart& cue) {
    if (cue.samples.empty() || start + cue.samples.size() > samples.size()) return 0.0;
    double dot = 0, energy = 0;
    for (std::size_t k = 0; k < cue.samples.size(); ++k) {
        const double v = samples[start + k];
        dot += v * cue.samples[k];
        energy += v * v;
    }
    return energy > 0 ? dot / std::sqrt(energy * cue.energy) : 0.0;
}

}  // namespace

double cueMatch(const std::vector<float>& samples, std::size_t at, int resource) {
    const CueStart cue = cueStart(resource);
    const std::size_t reach = kRecordRate * 15 / 1000;
    double best = 0;
    for (std::size_t start = at > reach ? at - reach : 0; start <= at + reach; ++start)
        best = std::max(best, correlation(samples, start, cue));
    return best;
}

std::vector<std::size_t> findCue(const std::vector<float>& samples, int resource, std::size_t from,
                                 double threshold) {
    const CueStart cue = cueStart(resource);
    const std::size_t apart = kRecordRate * 50 / 1000;
    std::vector<std::size_t> found;
    std::vector<double> scores;
    // A coarse pass every fourth sample where sound starts, then the best
    // alignment around each place that comes close.
    for (std::size_t i = from; i + cue.samples.size() <= samples.size(); i += 4) {
        if (std::fabs(samples[i]) <= kAudible && std::fabs(samples[i + 2]) <= kAudible) continue;
        if (correlation(samples, i, cue) < threshold - 0.15) continue;
        std::size_t bestAt = i;
        double best = 0;
        for (std::size_t k = i > 4 ? i - 4 : 0; k <= i + 4; ++k) {
            const double c = correlation(samples, k, cue);
            if (c > best) {
                best = c;
                bestAt = k;
            }
        }
        if (best < threshold) continue;
        if (!found.empty() && bestAt - found.back() < apart) {
            if (best > scores.back()) {
                found.back() = bestAt;
                scores.back() = best;
            }
            continue;
        }
        found.push_back(bestAt);
        scores.push_back(best);
    }
    return found;
}

std::vector<Sound> waitForSounds(const SoundRecorder& recorder, std::size_t from, std::size_t count,
                                 std::chrono::milliseconds gap, std::chrono::milliseconds timeout) {
    std::vector<Sound> sounds;
    waitUntil(
        [&] {
            sounds = soundsIn(recorder.samples(), gap, from);
            return sounds.size() >= count;
        },
        timeout, 20ms);
    return sounds;
}

std::vector<Sound> waitForSoundEndingAfter(const SoundRecorder& recorder, std::size_t from, std::size_t after,
                                           std::chrono::milliseconds gap, std::chrono::milliseconds timeout) {
    std::vector<Sound> sounds;
    const bool ended = waitUntil(
        [&] {
            sounds = soundsIn(recorder.samples(), gap, from);
            return !sounds.empty() && sounds.back().end > after;
        },
        timeout, 20ms);
    if (!ended) sounds.clear();
    return sounds;
}

bool playCue(const std::string& serverAddress, int resource) {
    const std::string wave = std::string(TARVIK_SOURCE_DIR) + "/resources/waves/" + std::to_string(resource) + ".wav";
    const RunResult r = run({"paplay", wave},
                            {{"PULSE_SERVER", serverAddress}}, std::chrono::seconds(10));
    return r.finished && r.exitCode == 0;
}

}  // namespace e2e
