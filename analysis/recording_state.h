#pragma once

// Whether a recording holds the input. The live capture asks before it opens the input, so a
// take never shares the input with the spectrum.
class RecordingState {
public:
    virtual ~RecordingState() = default;
    virtual bool isRecording() const = 0;
};
