#pragma once

#include <cstddef>

// Where a record stream puts what it receives. Called on the stream's own thread, one call at a
// time; a false return stops the stream from handing over more.
class RecordSink {
public:
    virtual ~RecordSink() = default;

    // The stream's bytes, as the server delivered them.
    virtual bool append(const void* data, std::size_t bytes) = 0;
    // `bytes` of silence, for a gap the server reports in the stream.
    virtual bool appendSilence(std::size_t bytes) = 0;
};
