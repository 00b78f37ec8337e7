#include "support/hung_audio_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

ScopedEnvironment::ScopedEnvironment(const char* name, const std::optional<std::string>& value)
    : m_name(name) {
    if (const char* old = std::getenv(name)) {
        m_had = true;
        m_old = old;
    }
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (m_had)
        ::setenv(m_name.c_str(), m_old.c_str(), 1);
    else
        ::unsetenv(m_name.c_str());
}

namespace {

bool fillAddress(const std::string& path, sockaddr_un& addr) {
    addr = {};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof(addr.sun_path))
        return false;
    std::copy(path.begin(), path.end(), addr.sun_path);
    return true;
}

int connectTo(const std::string& path) {
    sockaddr_un addr;
    if (!fillAddress(path, addr))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Writes all of `size` bytes; false when the peer has gone.
bool sendAll(int fd, const char* data, ssize_t size) {
    while (size > 0) {
        const ssize_t n = ::send(fd, data, static_cast<std::size_t>(size), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

std::string HungAudioServer::currentServerPath() {
    std::string server;
    if (const char* value = std::getenv("PULSE_SERVER"))
        server = value;
    else if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"))
        server = std::string(runtime) + "/pulse/native";
    if (server.starts_with("unix:"))
        server.erase(0, 5);
    return server;
}

HungAudioServer::HungAudioServer(const std::string& upstream) : m_upstream(upstream) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "sorvinta-hung-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return;
    m_dir = pattern;
    const std::string socketPath = m_dir + "/native";
    sockaddr_un addr;
    if (!fillAddress(socketPath, addr))
        return;
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listener < 0)
        return;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 ||
        ::listen(m_listener, 8) != 0) {
        ::close(m_listener);
        m_listener = -1;
        return;
    }
    m_environment.push_back(
        std::make_unique<ScopedEnvironment>("PULSE_SERVER", "unix:" + socketPath));
    if (!m_upstream.empty()) {
        const std::string config = m_dir + "/client.conf";
        std::ofstream(config) << "autospawn = no\nenable-shm = no\nenable-memfd = no\n";
        m_environment.push_back(std::make_unique<ScopedEnvironment>("PULSE_CLIENTCONFIG", config));
    }
    m_thread = std::thread([this] { run(); });
}

HungAudioServer::~HungAudioServer() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    for (const Link& link : m_links) {
        ::close(link.client);
        if (link.server >= 0)
            ::close(link.server);
    }
    if (m_listener >= 0)
        ::close(m_listener);
    m_environment.clear();
    if (!m_dir.empty())
        std::filesystem::remove_all(m_dir);
}

void HungAudioServer::run() {
    while (!m_stop) {
        std::vector<pollfd> fds{{m_listener, POLLIN, 0}};
        const bool relaying = !m_muted;
        if (relaying) {
            for (const Link& link : m_links) {
                if (link.server < 0)
                    continue;
                fds.push_back({link.client, POLLIN, 0});
                fds.push_back({link.server, POLLIN, 0});
            }
        }
        if (::poll(fds.data(), fds.size(), 20) <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) {
                ++m_accepted;
                const int server = m_upstream.empty() ? -1 : connectTo(m_upstream);
                m_links.push_back({client, server});
            }
            continue; // the list of links has changed
        }
        if (relaying)
            for (Link& link : m_links)
                relay(link);
    }
}

void HungAudioServer::relay(Link& link) {
    if (link.server < 0 || m_muted)
        return;
    std::array<char, 16384> buffer;
    for (const auto& [from, to] :
         {std::pair{link.client, link.server}, {link.server, link.client}}) {
        const ssize_t n = ::recv(from, buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (n == 0 || (n > 0 && !sendAll(to, buffer.data(), n))) {
            // One side has gone: end the other one too, as a real server would.
            ::shutdown(link.client, SHUT_RDWR);
            ::shutdown(link.server, SHUT_RDWR);
            ::close(link.server);
            link.server = -1;
            return;
        }
    }
}
