#include "support/small_file_system.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/mount.h>
#include <unistd.h>

SmallFileSystem::SmallFileSystem(std::size_t bytes) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/sorvinta-small-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) {
        m_why = std::strerror(errno);
        return;
    }
    m_path = name.data();
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("tmpfs", m_path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0)
        m_mounted = true;
    else
        m_why = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
}

SmallFileSystem::~SmallFileSystem() {
    if (m_mounted)
        ::umount2(m_path.c_str(), MNT_DETACH);
    if (!m_path.empty())
        ::rmdir(m_path.c_str());
}
