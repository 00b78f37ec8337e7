// Sends command strings to the waveaudio device and shows what each one returned.
//
//   mcisend "open new type waveaudio alias rec" "record rec" "wait 2000" "save rec /tmp/a.wav"
//
// Commands come from the arguments, or one per line of standard input when there are none.
// "wait MS" pauses for MS milliseconds. The exit status is 1 when any command failed.

#include "platform/mci/waveaudio_command_device.h"

#include <charconv>
#include <chrono>
#include <iostream>
#include <string>
#include <thread>

namespace {

constexpr std::size_t ReplySize = 1024;

// Returns true for a "wait MS" line, after waiting.
bool runWait(const std::string& line) {
    const std::string prefix = "wait ";
    if (line.rfind(prefix, 0) != 0)
        return false;
    const std::string number = line.substr(prefix.size());
    int ms = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), ms);
    if (ec != std::errc() || end != number.data() + number.size() || ms < 0)
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    std::cout << line << '\n' << std::flush;
    return true;
}

bool send(CommandDevice& device, const std::string& command) {
    if (command.empty() || runWait(command))
        return true;
    std::string reply;
    const int code = device.sendString(command, &reply, ReplySize);
    std::cout << command << "\n  -> " << code << " \"" << reply << "\" " << device.errorString(code)
              << '\n'
              << std::flush;
    return code == 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<CommandDevice> device = makeWaveAudioCommandDevice();
    bool allGood = true;
    if (argc > 1) {
        for (int i = 1; i < argc; ++i)
            allGood = send(*device, argv[i]) && allGood;
    } else {
        std::string line;
        while (std::getline(std::cin, line))
            allGood = send(*device, line) && allGood;
    }
    return allGood ? 0 : 1;
}
