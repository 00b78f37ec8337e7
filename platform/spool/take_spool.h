#pragma once

#include "platform/audio/wave_format.h"
#include "platform/spool/save_place.h"

#include <memory>
#include <string>
#include <vector>

class TakeFile;

// The folder where takes live until they are saved: $XDG_STATE_HOME/sorvinta/takes, by default
// ~/.local/state/sorvinta/takes. It is on disk and survives a reboot, unlike the temporary folder,
// which is often kept in memory. With neither variable set there is no spool folder at all.
class TakeSpool {
public:
    explicit TakeSpool(std::string folder = defaultFolder());

    // The program's state folder ($XDG_STATE_HOME/sorvinta, by default
    // ~/.local/state/sorvinta) and the spool folder in it, from the environment as it is now;
    // empty when neither XDG_STATE_HOME nor HOME is an absolute path.
    static std::string stateFolder();
    static std::string defaultFolder();

    const std::string& folder() const { return m_folder; }

    // A new take, creating the folder (readable by the user only) when needed, or the errno it
    // could not be created with (ENOENT when there is no folder).
    SpoolResult<std::unique_ptr<TakeFile>> newTake(const WaveFormat& format) const;

    // The takes that no running process holds: a recording that was killed, crashed or whose
    // save failed. Each comes back with its header repaired and held by the caller, oldest
    // first. Live takes are left alone; takes with nothing in them are removed, and so are the
    // hidden copies that saves cut short by a crash left in other folders.
    std::vector<std::unique_ptr<TakeFile>> leftovers() const;

private:
    std::string m_folder;
};
