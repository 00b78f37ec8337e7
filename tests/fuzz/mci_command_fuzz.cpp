// Scripts as mcisend reads them from standard input, and the command strings in them as the
// waveaudio device takes them: the input arrives in two reads, is split into lines, "wait MS"
// lines are read for their time and every other line is split into words and parsed.
#include "platform/mci/command_parser.h"
#include "tools/mcisend/script_lines.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // Where the first read ends: anywhere, as a pipe may cut it.
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    std::string buffer = input.substr(0, cut);
    std::string line;
    std::size_t taken = 0;
    for (int read = 0; read < 2; ++read) {
        if (read == 1)
            buffer += input.substr(cut);
        while (takeScriptLine(buffer, read == 1, line)) {
            taken += line.size();
            if (waitLine(line))
                continue;
            tokenizeCommand(line);
            parseCommand(line);
        }
    }
    // Every byte but the line ends is in some line.
    if (!buffer.empty() || taken > size)
        __builtin_trap();
    return 0;
}
