// The sound side of the end-to-end desktop: a private PulseAudio server with
// one null sink, a recorder of that sink's monitor, and the means to find the
// program's cues in the recording.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/Harness.h"

namespace e2e {

// The recording's format: mono, 16 bit, at this rate.
inline constexpr int kRecordRate = 44100;

// pulseaudio -n with a script that loads the native protocol on a socket in
// its own folder (anonymous, so that the player account may use it too) and
// one null sink, "cues", the default.
class SoundServer {
public:
    SoundServer() = default;
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // Starts the server in `folder` (created, readable by everyone) and waits
    // until it answers.
    bool start(const fs::path& folder, std::string& error);
    void stop();
    bool running() { return server_.running(); }
    // The latency the sink is configured for now, in milliseconds: how long
    // a sample the sink has rendered (and its monitor recorded) takes to be
    // played on a device; -1 when unknown.
    double sinkLatencyMs();
    // The value for PULSE_SERVER.
    std::string address() const { return "unix:" + socket_.string(); }

private:
    Process server_;
    fs::path socket_;
};

// Records the null sink's monitor on a thread of its own, from start to stop.
// A null sink with nothing to play renders two seconds at a time, so a
// second thread plays silence into it in short blocks: the sink then keeps
// time with the clock, as a sound card does.
class SoundRecorder {
public:
    SoundRecorder() = default;
    ~SoundRecorder();
    SoundRecorder(const SoundRecorder&) = delete;
    SoundRecorder& operator=(const SoundRecorder&) = delete;

    bool start(const std::string& serverAddress, std::string& error);
    void stop();

    // Everything recorded so far, as samples in [-1, 1].
    std::vector<float> samples() const;
    std::size_t sampleCount() const;
    // Writes the recording as a wave file, for looking at a failed test.
    void save(const fs::path& wavePath) const;
    // The steady-clock time at which a sample was recorded (estimated from
    // the arrival times of the blocks; never later than the truth).
    std::chrono::steady_clock::time_point timeOf(std::size_t index) const;
    // The index of the sample recorded at that time (clamped at 0).
    std::size_t indexAt(std::chrono::steady_clock::time_point t) const;

private:
    void loop(void* stream);
    void keepTime(void* stream);
    std::thread thread_;
    std::thread keeper_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::int16_t> samples_;
    std::chrono::steady_clock::time_point origin_{};   // the time of sample 0
    bool haveOrigin_ = false;
};

// ---- Finding sounds in a recording -----------------------------------------

// A stretch of audible sound: from the first to the last sample above the
// threshold, no quieter stretch inside lasting `gap` or longer.
struct Sound {
    std::size_t start = 0;   // sample index
    std::size_t end = 0;     // one past the last audible sample
    double seconds() const { return static_cast<double>(end - start) / kRecordRate; }
};

// Audible means an amplitude above this (about -48 dBFS).
inline constexpr float kAudible = 0.004f;

std::vector<Sound> soundsIn(const std::vector<float>& samples, std::chrono::milliseconds gap,
                            std::size_t from = 0);

// A cue's wave from resources/waves, as mono samples at kRecordRate.
std::vector<float> cueWave(int resource);

// The stored wave's audible length, measured as soundsIn measures a recording.
double cueSeconds(int resource, std::chrono::milliseconds gap);

// How well the recording at `at` matches the start of the cue's wave: the
// normalised correlation of the first 90 ms from its first audible sample
// (long enough to tell a cue from the later notes of the same sound),
// at the best alignment within 15 ms of `at`; 1 is a perfect match.
double cueMatch(const std::vector<float>& samples, std::size_t at, int resource);

// Where the cue starts in the recording from `from` on, also where the next
// cue cuts it off: the places that match its start at least this well, 50 ms
// apart at least.
std::vector<std::size_t> findCue(const std::vector<float>& samples, int resource, std::size_t from = 0,
                                 double threshold = 0.8);

// Waits until the recording holds `count` whole sounds after `from`; returns
// the sounds found then (fewer on timeout).
std::vector<Sound> waitForSounds(const SoundRecorder& recorder, std::size_t from, std::size_t count,
                                 std::chrono::milliseconds gap, std::chrono::milliseconds timeout);

// Waits until a whole sound after `from` ends after the sample `after`
// (one that was still going on then, or came later); returns the whole
// sounds found then (none on timeout).
std::vector<Sound> waitForSoundEndingAfter(const SoundRecorder& recorder, std::size_t from, std::size_t after,
                                           std::chrono::milliseconds gap, std::chrono::milliseconds timeout);

// Plays a cue's wave into the server's default sink with paplay, as another
// program on the desktop would; false when paplay fails.
bool playCue(const std::string& serverAddress, int resource);

}  // namespace e2e
