#pragma once

#include <cstddef>

// What a sink made of the bytes a record stream offered it.
enum class SinkAnswer {
    Kept,    // all of them
    NoRoom,  // none: it is full for now; offer them again later
    Refused, // none, and no more will be taken
};

// Where a record stream puts what it receives. Called on the stream's own thread, one call at a
// time; it must return at once, without waiting for a disk or a lock.
class RecordSink {
public:
    virtual ~RecordSink() = default;

    // The stream's bytes, as the server delivered them.
    virtual SinkAnswer append(const void* data, std::size_t bytes) = 0;
    // `bytes` of silence, for a gap the server reports in the stream.
    virtual SinkAnswer appendSilence(std::size_t bytes) = 0;
};
