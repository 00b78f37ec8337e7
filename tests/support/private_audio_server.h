#pragma once

#include "support/child_process.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// An audio server of a test's own, for faults that must not touch the server the other tests
// share: its own folders, a native socket, and a 1 kHz sine as its only (so default) source.
// The source hands its first two seconds over at once; good for "was something recorded", not
// for timing. Killed when this goes.
class PrivateAudioServer {
public:
    explicit PrivateAudioServer(const std::string& folder);
    ~PrivateAudioServer();

    // True once the server answers.
    bool running() const { return m_running; }
    // What a client needs in its environment to find this server.
    std::map<std::string, std::string> clientEnvironment() const;
    // The daemon dies on the spot, as in a crash.
    void kill();
    // The daemon stops (SIGSTOP) and goes on (SIGCONT): its sockets stay open, only the data
    // stops, as with a server that hangs.
    void freeze();
    void thaw();
    // Runs pactl against this server; its standard output, or nullopt when it failed.
    std::optional<std::string> pactl(const std::vector<std::string>& args) const;

private:
    std::string m_folder;
    std::unique_ptr<ChildProcess> m_daemon;
    bool m_running = false;
};
