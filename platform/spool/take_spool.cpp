#include "platform/spool/take_spool.h"

#include "platform/spool/copy_record.h"
#include "platform/spool/take_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

TakeSpool::TakeSpool(std::string folder) : m_folder(std::move(folder)) {}

std::string TakeSpool::stateFolder() {
    // Only an absolute XDG_STATE_HOME counts; a relative one is to be ignored.
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/sorvinta";
    // Never a shared folder such as /tmp, where others could see or plant takes.
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/state/sorvinta";
    return {};
}

std::string TakeSpool::defaultFolder() {
    const std::string state = stateFolder();
    return state.empty() ? state : state + "/takes";
}

SpoolResult<std::unique_ptr<TakeFile>> TakeSpool::newTake(const WaveFormat& format) const {
    if (m_folder.empty())
        return placeFailure(ENOENT);
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    if (ec)
        return placeFailure(ec.value());
    // Takes are private recordings.
    ::chmod(m_folder.c_str(), 0700);
    return TakeFile::create(m_folder, format);
}

std::vector<std::unique_ptr<TakeFile>> TakeSpool::leftovers() const {
    // First what copies cut short by a crash left beside their targets.
    CopyRecord::cleanUp(m_folder);
    std::vector<std::unique_ptr<TakeFile>> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder, ec)) {
        const std::string name = entry.path().filename().string();
        // A take is made under ".new-take-…" and then given its name; one left by a crash at
        // that moment holds no data and goes like any other empty take.
        const bool starting = name.rfind(".new-take-", 0) == 0;
        if (!starting && (!takeStartFromName(name) || entry.path().extension() != ".wav"))
            continue;
        if (auto take = TakeFile::adopt(entry.path().string()))
            found.push_back(std::move(take).value());
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a->started() != b->started() ? a->started() < b->started() : a->path() < b->path();
    });
    return found;
}
