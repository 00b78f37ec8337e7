// Writes takes as the program records them, as seeds of the take fuzzing:
//   take_seeds FOLDER
// an 8-bit mono take, a 16-bit stereo one, one whose header a crash left behind the data, and
// one cut in the middle of a frame.
#include "platform/spool/take_header.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

void writeTake(const std::string& path, const WaveFormat& format, std::size_t frames,
               std::uint64_t declared, std::size_t extraBytes) {
    const TakeHeaderBytes header = takeHeader(format, declared);
    std::vector<unsigned char> bytes(header.begin(), header.end());
    const std::size_t data = frames * static_cast<std::size_t>(format.bytesPerFrame()) + extraBytes;
    for (std::size_t i = 0; i < data; ++i)
        bytes.push_back(static_cast<unsigned char>((i * 37) ^ (i >> 3)));
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const std::string folder = argv[1];
    const WaveFormat mono8{8000, 8, 1};
    const WaveFormat stereo16{44100, 16, 2};
    writeTake(folder + "/mono8.wav", mono8, 800, 800, 0);
    writeTake(folder + "/stereo16.wav", stereo16, 441, 441 * 4, 0);
    writeTake(folder + "/header-behind.wav", stereo16, 441, 100 * 4, 0);
    writeTake(folder + "/cut-frame.wav", stereo16, 300, 300 * 4, 3);
    return 0;
}
