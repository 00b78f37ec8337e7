#include "recorder/record_formats.h"

#include <cstdlib>

namespace record_commands {

std::string setFormat(const std::string& bitsPerSample, const std::string& samplesPerSec) {
    // The bits are read as a whole number and written back, the rate goes as stored.
    const long bits = std::strtol(bitsPerSample.c_str(), nullptr, 10);
    return "set recsound time format ms bitspersample " + std::to_string(bits) + " channels " +
           std::to_string(kRecordChannels) + " bytespersec 22500  samplespersec " + samplesPerSec;
}

std::string save(const std::string& path) {
    if (path.find(' ') != std::string::npos)
        return "save recsound \"" + path + "\"";
    return "save recsound " + path;
}

} // namespace record_commands
