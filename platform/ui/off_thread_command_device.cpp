#include "platform/ui/off_thread_command_device.h"

#include "platform/ui/save_progress.h"

#include <cctype>
#include <functional>
#include <string_view>

namespace {

bool isSave(const std::string& command) {
    std::size_t i = 0;
    while (i < command.size() && std::isspace(static_cast<unsigned char>(command[i])))
        ++i;
    static constexpr char kSave[] = "save";
    for (const char c : std::string_view(kSave)) {
        if (i >= command.size() || std::tolower(static_cast<unsigned char>(command[i])) != c)
            return false;
        ++i;
    }
    return i == command.size() || std::isspace(static_cast<unsigned char>(command[i]));
}

struct Answer {
    int code = 0;
    std::string reply;
    std::string text;
};

} // namespace

OffThreadCommandDevice::OffThreadCommandDevice(CommandDevice& device, EventPump& pump,
                                               SaveProgress* saves)
    : m_device(device), m_saves(saves), m_calls(pump) {}

int OffThreadCommandDevice::sendString(const std::string& command, std::string* reply,
                                       std::size_t replySize) {
    const bool shown = m_saves && isSave(command);
    std::function<void(int)> waiting;
    if (shown)
        waiting = [this](int elapsedMs) { m_saves->saving(elapsedMs); };
    const Answer answer = m_calls.call(
        [&] {
            Answer a;
            a.code = m_device.sendString(command, reply ? &a.reply : nullptr, replySize);
            // The device words the last failure only until the next one: ask at once.
            if (a.code != 0)
                a.text = m_device.errorString(a.code);
            return a;
        },
        waiting);
    if (shown)
        m_saves->saved();
    if (reply)
        *reply = answer.reply;
    if (answer.code != 0) {
        m_lastCode = answer.code;
        m_lastText = answer.text;
    }
    return answer.code;
}

std::string OffThreadCommandDevice::errorString(int code) const {
    if (code != 0 && code == m_lastCode)
        return m_lastText;
    return m_calls.call([&] { return m_device.errorString(code); });
}
