#pragma once

// Shown while the window waits for a take to be saved, which may take a while (a slow disk, a
// copy to another file system, the stream's last second). Called on the window's thread.
class SaveProgress {
public:
    virtual ~SaveProgress() = default;
    // The save has run for `elapsedMs` so far; called again and again while it runs.
    virtual void saving(int elapsedMs) = 0;
    // The save is over, however it ended.
    virtual void saved() = 0;
};
