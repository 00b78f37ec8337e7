#pragma once

#include "analysis/recording_state.h"
#include "recorder/recording.h"

// What the live capture asks of the recording, which it cannot see from its own folder: whether
// a take holds the input.
class RecordingHoldsInput : public RecordingState {
public:
    explicit RecordingHoldsInput(const Recording& recording) : m_recording(recording) {}
    bool isRecording() const override { return m_recording.isRecording(); }

private:
    const Recording& m_recording;
};
