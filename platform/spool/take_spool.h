#pragma once

#include "platform/audio/wave_format.h"

#include <memory>
#include <string>
#include <vector>

class TakeFile;

// The folder where takes live until they are saved: $XDG_STATE_HOME/sorvinta/takes, by default
// ~/.local/state/sorvinta/takes. It is on disk and survives a reboot, unlike the temporary folder,
// which is often kept in memory.
class TakeSpool {
public:
    explicit TakeSpool(std::string folder = defaultFolder());

    // The folder from the environment as it is now.
    static std::string defaultFolder();

    const std::string& folder() const { return m_folder; }

    // A new take, creating the folder (readable by the user only) when needed. Nothing, with
    // `error` set to the errno, when it cannot be created.
    std::unique_ptr<TakeFile> newTake(const WaveFormat& format, int* error) const;

    // The takes that no running process holds: a recording that was killed, crashed or whose
    // save failed. Each comes back with its header repaired and held by the caller, oldest
    // first. Live takes are left alone; takes with nothing in them are removed.
    std::vector<std::unique_ptr<TakeFile>> leftovers() const;

private:
    std::string m_folder;
};
