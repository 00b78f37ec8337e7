#pragma once

// What a recording needs of playback: to end it before the input is taken.
class PlaybackStopper {
public:
    virtual ~PlaybackStopper() = default;
    // Ends playback and its position timer; a status that says something plays becomes "STOP".
    virtual void stopForRecording() = 0;
};
