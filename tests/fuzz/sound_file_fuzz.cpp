// Opens any bytes as a sound file and decodes them the way the player does.
#include "platform/multimedia/sound_file_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SoundFileReader reader;
    if (!reader.openMemory(std::as_bytes(std::span(data, size))))
        return 0;
    // What the player relies on once a file is open.
    if (reader.channels() < 1 || reader.channels() > SoundFileReader::kMaxChannels ||
        reader.sampleRate() < 1 || reader.sampleRate() > SoundFileReader::kMaxRate ||
        reader.frames() < 1 || reader.lengthMs() < 0)
        std::abort();

    std::vector<float> block(SoundFileReader::kBlockFrames *
                             static_cast<std::size_t>(reader.channels()));
    for (int pass = 0; pass < 2; ++pass) {
        while (const std::size_t got = reader.read(block)) {
            if (got > SoundFileReader::kBlockFrames)
                std::abort();
        }
        // Stop rewinds and Play decodes again from the start.
        reader.rewind();
    }
    return 0;
}
