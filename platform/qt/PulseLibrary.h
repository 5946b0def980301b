// libpulse, opened at run time on first use rather than linked: the
// program's start-up then loads neither it nor the dozen sound-file
// libraries it pulls in, and a system without it still runs (with the beep).
#pragma once

#include <pulse/context.h>
#include <pulse/proplist.h>
#include <pulse/sample.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

namespace platform::qt {

// The functions the sound output uses, each as a pointer of its own type.
#define TARVIK_PULSE_FUNCTIONS(X)                                                                  \
    X(pa_threaded_mainloop_new) X(pa_threaded_mainloop_free) X(pa_threaded_mainloop_start)         \
    X(pa_threaded_mainloop_stop) X(pa_threaded_mainloop_lock) X(pa_threaded_mainloop_unlock)       \
    X(pa_threaded_mainloop_get_api) X(pa_threaded_mainloop_set_name)                               \
    X(pa_proplist_new) X(pa_proplist_sets) X(pa_proplist_free)                                     \
    X(pa_context_new_with_proplist) X(pa_context_set_state_callback) X(pa_context_connect)         \
    X(pa_context_get_state) X(pa_context_disconnect) X(pa_context_unref)                           \
    X(pa_stream_new) X(pa_stream_set_state_callback) X(pa_stream_connect_playback)                 \
    X(pa_stream_get_state) X(pa_stream_disconnect) X(pa_stream_unref) X(pa_stream_write)           \
    X(pa_stream_trigger) X(pa_stream_drain) X(pa_operation_unref) X(pa_usec_to_bytes)

struct PulseLibrary {
#define TARVIK_PULSE_POINTER(name) decltype(&::name) name = nullptr;
    TARVIK_PULSE_FUNCTIONS(TARVIK_PULSE_POINTER)
#undef TARVIK_PULSE_POINTER
};

// The library with every function found, or null when it cannot be opened
// or lacks one. Opened once, kept for the run.
const PulseLibrary* pulseLibrary();

}  // namespace platform::qt
