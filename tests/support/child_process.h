#pragma once

#include <map>
#include <string>
#include <vector>

#include <sys/types.h>

// A helper program run by a test: its standard input and output on pipes, its environment that
// of the test with some variables set. The child is killed (SIGKILL) if still running when this
// goes.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv,
                 const std::map<std::string, std::string>& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }

    void writeLine(const std::string& line);
    void closeInput();
    // Reads until the output holds `text` after `from` (an offset into output()), or the time
    // runs out; the offset just past it, or std::string::npos.
    std::size_t readUntil(const std::string& text, int timeoutMs, std::size_t from = 0);
    // Everything it wrote so far.
    const std::string& output() const { return m_output; }

    void signal(int signo);
    // Reads the rest of its output and waits for it to end; the wait status.
    int wait(int timeoutMs = 10000);

private:
    bool readSome(int timeoutMs);

    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    std::string m_output;
    bool m_reaped = false;
};
