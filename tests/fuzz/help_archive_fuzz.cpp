// Whole help files, damaged any way: opened from memory as a file, then read as the viewer
// would. This program walks the archive's directory and libmspack unpacks its files; this
// program's readers do the rest.
#include "help/chm/help_file.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = memfd_create("help", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    if (write(fd, data, size) == static_cast<ssize_t>(size)) {
        std::string error;
        const auto file = HelpFile::open("/proc/self/fd/" + std::to_string(fd), error);
        if (file) {
            file->contents();
            file->keywordIndex();
            for (const auto& [id, path] : file->contextMap())
                file->topicForContext(id);
            file->defaultTopic();
            file->search("help topic");
            for (const std::string& path : file->archive().files())
                file->read(path);
        }
    }
    close(fd);
    return 0;
}
