#pragma once

#include <cstddef>
#include <string>

// The command-string interface that recording goes through: a command in, a code and a reply out.
class CommandDevice {
public:
    virtual ~CommandDevice() = default;

    // Returns 0 on success, else an error code. When `reply` is given it receives the reply,
    // cut to `replySize - 1` characters (a buffer of `replySize` with its terminating NUL).
    virtual int sendString(const std::string& command, std::string* reply,
                           std::size_t replySize) = 0;

    // A clear English sentence for an error code that sendString returned.
    virtual std::string errorString(int code) const = 0;
};
