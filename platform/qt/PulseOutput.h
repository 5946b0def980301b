// One-shot playback of decoded waves on a PulseAudio server (or PipeWire's
// PulseAudio service) through libpulse's threaded main loop. Every play gets
// a fresh stream, so a replay is as clean as the first play, and a new play
// drops the stream in progress, so cues never overlap and never queue.
#pragma once

#include <functional>
#include <string>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace platform::qt {

struct WaveData;

class PulseOutput {
public:
    // unplayable: called, on the sound thread, for a wave that could not be
    // handed to a server (none running, the connection or the stream failed).
    PulseOutput(std::string applicationName, std::function<void()> unplayable);
    ~PulseOutput();
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    // Starts connecting to the server in the background; returns at once.
    void connect();

    // Stops the wave playing and starts this one, which must outlive the
    // player. Returns at once; a wave asked for while connecting plays once
    // the connection stands. Connects again after a lost server.
    void play(const WaveData& wave);

private:
    static void onContextState(pa_context* c, void* self);
    static void onStreamState(pa_stream* s, void* self);
    static void onDrained(pa_stream* s, int success, void* self);
    // These run with the main loop locked.
    bool startLoop();
    void openContext();
    void startStream(const WaveData& wave);
    void dropStream();
    void fail();

    std::string name_;
    std::function<void()> unplayable_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;           // the wave playing, if any
    const WaveData* streamWave_ = nullptr;  // its samples, written once it is ready
    const WaveData* pending_ = nullptr;     // asked for while connecting
};

}  // namespace platform::qt
