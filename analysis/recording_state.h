#pragma once

// Whether a take is running, being saved or being recovered. The live capture asks before it
// opens a stream and opens none while one is. A stream it already has stays connected through
// the take, so both streams take the input then; the spectrum holds still until the take is
// saved, because the take runs inside the capture loop's wait.
class RecordingState {
public:
    virtual ~RecordingState() = default;
    virtual bool isRecording() const = 0;
};
