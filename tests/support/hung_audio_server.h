#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Sets an environment variable (or unsets it, for nothing) for the life of the object and puts
// back what was there.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

// A stand-in for an audio server that hangs: a UNIX socket in a folder of its own that accepts
// every connection and never answers. Made with the address of a real server, it first relays
// every byte both ways and goes silent only on mute(), like a server that stops answering in
// the middle of a session. While it lives, PULSE_SERVER points at it (and, for a relay, the
// client library is told not to hand the server shared memory, which a byte relay cannot pass).
class HungAudioServer {
public:
    // `upstream`: a real server's socket path; empty for a server silent from the start.
    explicit HungAudioServer(const std::string& upstream = {});
    ~HungAudioServer();
    HungAudioServer(const HungAudioServer&) = delete;
    HungAudioServer& operator=(const HungAudioServer&) = delete;

    bool listening() const { return m_listener >= 0; }
    // Connections accepted so far.
    int accepted() const { return m_accepted.load(); }
    // From now on nothing more passes in either direction; the connections stay open.
    void mute() { m_muted = true; }

    // The socket path of the server the current environment points at ("" if none is named).
    static std::string currentServerPath();

private:
    struct Link {
        int client = -1;
        int server = -1; // -1 when silent from the start
    };
    void run();
    void relay(Link& link);

    std::string m_dir;
    std::string m_upstream;
    int m_listener = -1;
    std::vector<Link> m_links;
    std::atomic<int> m_accepted{0};
    std::atomic<bool> m_muted{false};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::vector<std::unique_ptr<ScopedEnvironment>> m_environment;
};
