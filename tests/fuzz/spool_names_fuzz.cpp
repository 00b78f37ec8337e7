// What the spool folder's names and notes say, read back: a take's start and format from its
// file name, and the note a save by copy leaves behind, which names the half-made copy to
// remove after a crash. The input is the name, and the note's text.
#include "platform/spool/copy_record.h"
#include "platform/spool/take_file.h"
#include "run_folder.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

const std::string& spoolFolder() {
    static const std::string folder = makeRunFolder("fuzz-spool");
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    takeStartFromName(text);
    takeFormatFromName(text);

    // A note nobody holds: cleaning up reads it and removes what it names, when that is one of
    // the program's hidden copies.
    const std::string note = spoolFolder() + "/.copy-fuzz00";
    if (FILE* f = std::fopen(note.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
        CopyRecord::cleanUp(spoolFolder());
    }
    ::unlink(note.c_str());
    return 0;
}
