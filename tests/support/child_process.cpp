#include "support/child_process.h"

#include <chrono>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::map<std::string, std::string>& environment) {
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0)
        return;
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]);
        ::close(in[1]);
        return;
    }
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (environment.count(name) == 0)
            env.push_back(entry);
    }
    for (const auto& [name, value] : environment)
        env.push_back(name + "=" + value);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    // The child starts with the usual signal handling, whatever the test runner blocked.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK);
    if (::posix_spawn(&m_pid, args[0], &actions, &attr, args.data(), envp.data()) != 0)
        m_pid = -1;
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    m_in = in[1];
    m_out = out[0];
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !m_reaped) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    if (m_in >= 0)
        ::close(m_in);
    if (m_out >= 0)
        ::close(m_out);
}

void ChildProcess::writeLine(const std::string& line) {
    const std::string text = line + "\n";
    if (m_in >= 0) [[maybe_unused]]
        const ssize_t n = ::write(m_in, text.data(), text.size());
}

void ChildProcess::closeInput() {
    if (m_in >= 0)
        ::close(m_in);
    m_in = -1;
}

bool ChildProcess::readSome(int timeoutMs) {
    if (m_out < 0)
        return false;
    pollfd p{m_out, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return false;
    char buffer[4096];
    const ssize_t n = ::read(m_out, buffer, sizeof buffer);
    if (n <= 0) {
        ::close(m_out);
        m_out = -1;
        return false;
    }
    m_output.append(buffer, static_cast<std::size_t>(n));
    return true;
}

std::size_t ChildProcess::readUntil(const std::string& text, int timeoutMs, std::size_t from) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::size_t at = m_output.find(text, from);
        if (at != std::string::npos)
            return at + text.size();
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0 || m_out < 0)
            return std::string::npos;
        readSome(static_cast<int>(left));
    }
}

void ChildProcess::signal(int signo) {
    if (m_pid > 0 && !m_reaped)
        ::kill(m_pid, signo);
}

int ChildProcess::wait(int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (m_out >= 0 && std::chrono::steady_clock::now() < end)
        readSome(100);
    if (m_pid <= 0 || m_reaped)
        return -1;
    if (m_out >= 0) // still writing after the time ran out
        ::kill(m_pid, SIGKILL);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_reaped = true;
    return status;
}
