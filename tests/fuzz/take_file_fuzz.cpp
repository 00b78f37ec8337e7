// Whole takes as a crash or a full disk may leave them in the spool folder: the header read as
// the player and the spool read it, then the take adopted (its header repaired to the data on
// disk), as the next start does with a take nobody holds.
#include "platform/spool/take_file.h"
#include "platform/spool/take_header.h"
#include "run_folder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

// A spool folder of this run's own.
const std::string& spoolFolder() {
    static const std::string folder = makeRunFolder("fuzz-take");
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readTakeHeader(data, size);
    findFormatChunk(data, size);

    // Named as an older take, without a format: the header, or what is left of it, says it.
    const std::string path = spoolFolder() + "/take-20261210-140312-fuzz00.wav";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    const bool written = std::fwrite(data, 1, size, f) == size;
    std::fclose(f);
    if (written) {
        auto adopted = TakeFile::adopt(path);
        if (adopted && adopted.value()) {
            std::unique_ptr<TakeFile>& take = adopted.value();
            take->seconds();
            take->discard();
        }
    }
    ::unlink(path.c_str());
    return 0;
}
