#include "support/private_audio_server.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>

PrivateAudioServer::PrivateAudioServer(const std::string& folder) : m_folder(folder) {
    namespace fs = std::filesystem;
    for (const char* sub : {"runtime", "home", "tmp"})
        fs::create_directories(fs::path(folder) / sub);
    ::chmod((folder + "/runtime").c_str(), 0700);
    m_daemon = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/pulseaudio", "--daemonize=no", "--system=false", "-n",
                                 "--exit-idle-time=-1", "--disallow-exit",
                                 "--log-target=file:" + folder + "/pa.log",
                                 "--load=module-native-protocol-unix auth-anonymous=1",
                                 "--load=module-sine-source source_name=sine frequency=1000"},
        std::map<std::string, std::string>{{"HOME", folder + "/home"},
                                           {"TMPDIR", folder + "/tmp"},
                                           {"XDG_RUNTIME_DIR", folder + "/runtime"}});
    if (!m_daemon->started())
        return;
    for (int i = 0; i < 100 && !m_running; ++i) {
        m_running = pactl({"info"}).has_value();
        if (!m_running)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::optional<std::string> PrivateAudioServer::pactl(const std::vector<std::string>& args) const {
    std::vector<std::string> argv{"/usr/bin/pactl"};
    argv.insert(argv.end(), args.begin(), args.end());
    ChildProcess tool(argv, clientEnvironment());
    const int status = tool.wait(5000);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return tool.output();
}

void PrivateAudioServer::freeze() {
    if (m_daemon)
        m_daemon->signal(SIGSTOP);
}

void PrivateAudioServer::thaw() {
    if (m_daemon)
        m_daemon->signal(SIGCONT);
}

PrivateAudioServer::~PrivateAudioServer() {
    kill();
}

std::map<std::string, std::string> PrivateAudioServer::clientEnvironment() const {
    return {{"XDG_RUNTIME_DIR", m_folder + "/runtime"},
            {"PULSE_SERVER", "unix:" + m_folder + "/runtime/pulse/native"}};
}

void PrivateAudioServer::kill() {
    if (!m_daemon)
        return;
    m_daemon->signal(SIGKILL);
    m_daemon->wait(5000);
    m_daemon.reset();
}
