// A library's version as the help class reads it: the version note inside the file, read only
// inside it whatever its headers say, else the numbers of its file name. The input is the whole
// file, and its first line is also taken for a file name.
#include "platform/versions/file_version.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = memfd_create("library", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    if (write(fd, data, size) == static_cast<ssize_t>(size))
        readFileVersion("/proc/self/fd/" + std::to_string(fd));
    close(fd);
    const std::string text(reinterpret_cast<const char*>(data), size);
    versionFromSharedLibraryName(text.substr(0, text.find('\n')));
    return 0;
}
