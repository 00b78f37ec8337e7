// Sends command strings to the waveaudio device and shows what each one returned.
//
//   mcisend "open new type waveaudio alias rec" "record rec" "wait 2000" "save rec /tmp/a.wav"
//
// Commands come from the arguments, or one per line of standard input when there are none.
// "wait MS" pauses for MS milliseconds. The exit status is 1 when any command failed (a take
// that ended early makes its "status" and "save" fail). Ctrl+C, SIGTERM and SIGHUP end the
// program between two commands: every take not yet saved is kept in the spool folder and its
// place is printed; the exit status is then 128 + the signal's number.

#include "platform/mci/waveaudio_command_device.h"
#include "platform/spool/spool_messages.h"
#include "tools/mcisend/script_lines.h"

#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <csignal>
#include <poll.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

constexpr std::size_t ReplySize = 1024;

// The signals that end the program, taken from a descriptor between commands.
class StopSignals {
public:
    StopSignals() {
        sigemptyset(&m_set);
        for (const int s : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&m_set, s);
        // Before any thread starts, so that no thread takes them the ordinary way.
        pthread_sigmask(SIG_BLOCK, &m_set, nullptr);
        m_fd = signalfd(-1, &m_set, SFD_CLOEXEC);
    }
    ~StopSignals() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int fd() const { return m_fd; }
    // The signal waiting on the descriptor, if any.
    std::optional<int> take() {
        signalfd_siginfo info{};
        pollfd p{m_fd, POLLIN, 0};
        if (m_fd < 0 || ::poll(&p, 1, 0) <= 0 ||
            ::read(m_fd, &info, sizeof info) != static_cast<ssize_t>(sizeof info))
            return std::nullopt;
        return static_cast<int>(info.ssi_signo);
    }

private:
    sigset_t m_set;
    int m_fd = -1;
};

// Sleeps `ms`, or until a stop signal arrives. Returns the signal, if one came.
std::optional<int> pause(StopSignals& signals, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            return std::nullopt;
        pollfd p{signals.fd(), POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) > 0)
            return signals.take();
    }
}

// Lines of standard input, read so that a stop signal is noticed while waiting for the next.
class InputLines {
public:
    enum class Result { Line, End, Signal };

    Result next(StopSignals& signals, std::string& line, int& signal) {
        for (;;) {
            if (takeScriptLine(m_buffer, m_ended, line))
                return Result::Line;
            if (m_ended)
                return Result::End;
            pollfd p[2] = {{STDIN_FILENO, POLLIN, 0}, {signals.fd(), POLLIN, 0}};
            if (::poll(p, 2, -1) < 0)
                continue;
            if (p[1].revents & POLLIN) {
                if (const auto s = signals.take()) {
                    signal = *s;
                    return Result::Signal;
                }
            }
            if (p[0].revents & (POLLIN | POLLHUP | POLLERR)) {
                char chunk[4096];
                const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
                if (n <= 0)
                    m_ended = true;
                else
                    m_buffer.append(chunk, static_cast<std::size_t>(n));
            }
        }
    }

private:
    std::string m_buffer;
    bool m_ended = false;
};

// Runs one line; false when the command failed. A stop signal during a wait is handed back.
bool run(CommandDevice& device, StopSignals& signals, const std::string& line,
         std::optional<int>& signal) {
    if (line.empty())
        return true;
    if (const std::optional<int> ms = waitLine(line)) {
        signal = pause(signals, *ms);
        if (!signal)
            std::cout << line << '\n' << std::flush;
        return true;
    }
    std::string reply;
    const int code = device.sendString(line, &reply, ReplySize);
    std::cout << line << "\n  -> " << code << " \"" << reply << "\" " << device.errorString(code)
              << '\n'
              << std::flush;
    return code == 0;
}

int interrupted(WaveAudioCommandDevice& device, int signal) {
    for (const auto& kept : device.keepOpenTakes()) {
        std::cout << kept.alias << ": interrupted; the recording ("
                  << takeDurationText(kept.seconds) << ") is kept at " << kept.path << '\n';
    }
    std::cout << std::flush;
    return 128 + signal;
}

} // namespace

int main(int argc, char** argv) {
    StopSignals signals;
    WaveAudioCommandDevice device;
    bool allGood = true;
    std::optional<int> signal;
    if (argc > 1) {
        for (int i = 1; i < argc && !signal; ++i) {
            allGood = run(device, signals, argv[i], signal) && allGood;
            if (!signal)
                signal = signals.take();
        }
    } else {
        InputLines input;
        std::string line;
        int s = 0;
        for (;;) {
            const InputLines::Result r = input.next(signals, line, s);
            if (r == InputLines::Result::End)
                break;
            if (r == InputLines::Result::Signal) {
                signal = s;
                break;
            }
            allGood = run(device, signals, line, signal) && allGood;
            if (signal || (signal = signals.take()))
                break;
        }
    }
    if (signal)
        return interrupted(device, *signal);
    return allGood ? 0 : 1;
}
