#include "platform/qt/PulseOutput.h"

#include "platform/qt/PulseLibrary.h"
#include "platform/qt/WaveData.h"

namespace platform::qt {

namespace {

// Only reached once startLoop found the library.
const PulseLibrary& pa() { return *pulseLibrary(); }

// The stream asks the server for a short buffer: a cue should sound within a
// few tens of milliseconds of the click that causes it.
constexpr pa_usec_t kTargetLatencyUsec = 25000;

class Locked {
public:
    explicit Locked(pa_threaded_mainloop* loop) : loop_(loop) { pa().pa_threaded_mainloop_lock(loop_); }
    ~Locked() { pa().pa_threaded_mainloop_unlock(loop_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    pa_threaded_mainloop* loop_;
};

pa_sample_spec sampleFormat(const WaveData& wave) {
    pa_sample_spec format{};
    format.format = wave.bitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    format.rate = static_cast<std::uint32_t>(wave.sampleRate);
    format.channels = static_cast<std::uint8_t>(wave.channels);
    return format;
}

}  // namespace

PulseOutput::PulseOutput(std::string applicationName, std::function<void()> unplayable)
    : name_(std::move(applicationName)), unplayable_(std::move(unplayable)) {}

PulseOutput::~PulseOutput() {
    if (loop_ == nullptr) return;
    {
        Locked lock(loop_);
        dropStream();
        pending_ = nullptr;
        if (context_ != nullptr) {
            pa().pa_context_set_state_callback(context_, nullptr, nullptr);
            pa().pa_context_disconnect(context_);
            pa().pa_context_unref(context_);
            context_ = nullptr;
        }
    }
    pa().pa_threaded_mainloop_stop(loop_);
    pa().pa_threaded_mainloop_free(loop_);
}

bool PulseOutput::startLoop() {
    if (loop_ != nullptr) return true;
    if (pulseLibrary() == nullptr) return false;
    loop_ = pa().pa_threaded_mainloop_new();
    if (loop_ == nullptr) return false;
    pa().pa_threaded_mainloop_set_name(loop_, "tarvik-sound");
    if (pa().pa_threaded_mainloop_start(loop_) < 0) {
        pa().pa_threaded_mainloop_free(loop_);
        loop_ = nullptr;
        return false;
    }
    return true;
}

void PulseOutput::connect() {
    if (!startLoop()) return;
    Locked lock(loop_);
    if (context_ == nullptr) openContext();
}

void PulseOutput::openContext() {
    pa_proplist* props = pa().pa_proplist_new();
    pa().pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, name_.c_str());
    pa().pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "game");
    context_ = pa().pa_context_new_with_proplist(pa().pa_threaded_mainloop_get_api(loop_), name_.c_str(), props);
    pa().pa_proplist_free(props);
    if (context_ == nullptr) return;
    pa().pa_context_set_state_callback(context_, &PulseOutput::onContextState, this);
    // A game never starts a sound server of its own.
    if (pa().pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        pa().pa_context_set_state_callback(context_, nullptr, nullptr);
        pa().pa_context_unref(context_);
        context_ = nullptr;
    }
}

void PulseOutput::play(const WaveData& wave) {
    if (!startLoop()) {
        unplayable_();
        return;
    }
    Locked lock(loop_);
    dropStream();
    pending_ = nullptr;
    if (context_ != nullptr) {
        const pa_context_state_t state = pa().pa_context_get_state(context_);
        if (state == PA_CONTEXT_READY) {
            startStream(wave);
            return;
        }
        if (PA_CONTEXT_IS_GOOD(state)) {   // still connecting
            pending_ = &wave;
            return;
        }
        // The server went away: forget it and try again.
        pa().pa_context_set_state_callback(context_, nullptr, nullptr);
        pa().pa_context_unref(context_);
        context_ = nullptr;
    }
    openContext();
    if (context_ == nullptr) {
        unplayable_();
        return;
    }
    pending_ = &wave;
}

void PulseOutput::startStream(const WaveData& wave) {
    const pa_sample_spec format = sampleFormat(wave);
    pa_stream* s = pa().pa_stream_new(context_, "cue", &format, nullptr);
    if (s == nullptr) {
        unplayable_();
        return;
    }
    stream_ = s;
    streamWave_ = &wave;
    pa().pa_stream_set_state_callback(s, &PulseOutput::onStreamState, this);
    pa_buffer_attr attr;
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(pa().pa_usec_to_bytes(kTargetLatencyUsec, &format));
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    if (pa().pa_stream_connect_playback(s, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0) {
        dropStream();
        unplayable_();
    }
}

void PulseOutput::dropStream() {
    if (stream_ == nullptr) return;
    pa().pa_stream_set_state_callback(stream_, nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa().pa_stream_get_state(stream_))) pa().pa_stream_disconnect(stream_);
    pa().pa_stream_unref(stream_);
    stream_ = nullptr;
    streamWave_ = nullptr;
}

void PulseOutput::fail() {
    dropStream();
    unplayable_();
}

void PulseOutput::onContextState(pa_context* c, void* self) {
    auto* out = static_cast<PulseOutput*>(self);
    if (c != out->context_) return;
    const pa_context_state_t state = pa().pa_context_get_state(c);
    if (state == PA_CONTEXT_READY) {
        if (const WaveData* wave = out->pending_) {
            out->pending_ = nullptr;
            out->startStream(*wave);
        }
    } else if (!PA_CONTEXT_IS_GOOD(state)) {
        // Whatever was asked for and is not playing yet falls back.
        if (out->pending_ != nullptr || out->stream_ != nullptr) {
            const bool waiting = out->pending_ != nullptr ||
                                 pa().pa_stream_get_state(out->stream_) != PA_STREAM_READY;
            out->pending_ = nullptr;
            out->dropStream();
            if (waiting) out->unplayable_();
        }
    }
}

void PulseOutput::onStreamState(pa_stream* s, void* self) {
    auto* out = static_cast<PulseOutput*>(self);
    if (s != out->stream_) return;
    const pa_stream_state_t state = pa().pa_stream_get_state(s);
    if (state == PA_STREAM_READY) {
        const WaveData& wave = *out->streamWave_;
        // The whole wave at once: the server keeps it and plays it out; a
        // wave shorter than the start threshold is started by the trigger.
        if (pa().pa_stream_write(s, wave.samples.data(), wave.samples.size(), nullptr, 0, PA_SEEK_RELATIVE) < 0) {
            out->fail();
            return;
        }
        pa_operation* op = pa().pa_stream_trigger(s, nullptr, nullptr);
        if (op != nullptr) pa().pa_operation_unref(op);
        op = pa().pa_stream_drain(s, &PulseOutput::onDrained, out);
        if (op != nullptr) pa().pa_operation_unref(op);
    } else if (!PA_STREAM_IS_GOOD(state)) {
        out->fail();
    }
}

void PulseOutput::onDrained(pa_stream* s, int, void* self) {
    // Played out: let the server close the stream, unless a newer one is on.
    auto* out = static_cast<PulseOutput*>(self);
    if (s == out->stream_) out->dropStream();
}

}  // namespace platform::qt
