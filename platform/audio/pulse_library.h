#pragma once

#include "platform/audio/loaded_library.h"

#include <pulse/channelmap.h>
#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/operation.h>
#include <pulse/rtclock.h>
#include <pulse/sample.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

// libpulse, opened on first use from any thread (see loaded_library.h): pulse().pa_stream_new(...)
// wherever the library's own pa_stream_new would be called. Without the library every function
// is a stand-in, and the first of them, pa_threaded_mainloop_new, gives no loop: the audio
// server counts as unreachable.
#define SORVINTA_PULSE_FUNCTIONS(F)                                                                \
    F(pa_channel_map_init_extend)                                                                  \
    F(pa_context_connect)                                                                          \
    F(pa_context_disconnect)                                                                       \
    F(pa_context_get_server_info)                                                                  \
    F(pa_context_get_source_info_list)                                                             \
    F(pa_context_get_state)                                                                        \
    F(pa_context_new)                                                                              \
    F(pa_context_rttime_new)                                                                       \
    F(pa_context_rttime_restart)                                                                   \
    F(pa_context_set_state_callback)                                                               \
    F(pa_context_unref)                                                                            \
    F(pa_operation_cancel)                                                                         \
    F(pa_operation_get_state)                                                                      \
    F(pa_operation_unref)                                                                          \
    F(pa_rtclock_now)                                                                              \
    F(pa_sample_spec_valid)                                                                        \
    F(pa_stream_connect_playback)                                                                  \
    F(pa_stream_connect_record)                                                                    \
    F(pa_stream_cork)                                                                              \
    F(pa_stream_disconnect)                                                                        \
    F(pa_stream_drain)                                                                             \
    F(pa_stream_drop)                                                                              \
    F(pa_stream_flush)                                                                             \
    F(pa_stream_get_buffer_attr)                                                                   \
    F(pa_stream_get_latency)                                                                       \
    F(pa_stream_get_state)                                                                         \
    F(pa_stream_get_time)                                                                          \
    F(pa_stream_new)                                                                               \
    F(pa_stream_peek)                                                                              \
    F(pa_stream_readable_size)                                                                     \
    F(pa_stream_set_moved_callback)                                                                \
    F(pa_stream_set_read_callback)                                                                 \
    F(pa_stream_set_state_callback)                                                                \
    F(pa_stream_set_write_callback)                                                                \
    F(pa_stream_unref)                                                                             \
    F(pa_stream_write)                                                                             \
    F(pa_threaded_mainloop_free)                                                                   \
    F(pa_threaded_mainloop_get_api)                                                                \
    F(pa_threaded_mainloop_lock)                                                                   \
    F(pa_threaded_mainloop_new)                                                                    \
    F(pa_threaded_mainloop_signal)                                                                 \
    F(pa_threaded_mainloop_start)                                                                  \
    F(pa_threaded_mainloop_stop)                                                                   \
    F(pa_threaded_mainloop_unlock)                                                                 \
    F(pa_threaded_mainloop_wait)                                                                   \
    F(pa_usec_to_bytes)

struct PulseLibrary {
    SORVINTA_LIBRARY_TABLE(SORVINTA_PULSE_FUNCTIONS)
};

// The table of `soname`, opened now; stand-ins if it is missing or incomplete.
PulseLibrary loadPulseLibrary(const char* soname);
// The program's table of libpulse, opened on the first call.
const PulseLibrary& pulse();
