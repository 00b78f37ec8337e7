#pragma once

#include "common/result.h"

// Why a call to the audio server failed, or why a stream ended on its own. Callers say it in
// words of their own (the command device, the window).
enum class AudioCause {
    ServerUnreachable, // no server answered, or none answered in time
    StreamRefused,     // the server refused the stream, or did not make it ready in time
    ServerLost,        // the connection or the stream broke
    InputRemoved,      // the stream's input went away
    InputStalled,      // the input stopped delivering sound
    SinkRefused,       // what the stream hands over was refused (a write failed)
    DiskTooSlow,       // what the stream hands over stayed behind until its buffer was full
};

template <class T> using AudioResult = Result<T, AudioCause>;
