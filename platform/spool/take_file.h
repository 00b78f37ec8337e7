#pragma once

#include "platform/audio/wave_format.h"
#include "platform/spool/save_place.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

class CopyProgress;

// One take: a WAV file in the spool folder that a recording streams into. While its owner has
// it open the file is locked (flock), so nothing mistakes a live take for a leftover; the lock
// goes with the process however it ends. The header follows the data at least once a second
// and the data is synced to disk at the same time, so a crash or a power loss costs at most the
// last second, and the header is repaired to the data on disk when the take is adopted again.
//
// Destroying a TakeFile releases it and leaves the file where it is: only discard() removes a
// take. While a TakeWriter has it, `write` and `syncIfDue` run on the writer's thread and
// `dataBytes` and `writeError` may be read on any other; everything else belongs to the owner's
// thread and must not overlap with them.
class TakeFile {
public:
    // A new take in `folder` (which must exist), named after its start, or the errno it could
    // not be created with.
    static SpoolResult<std::unique_ptr<TakeFile>> create(const std::string& folder,
                                                         const WaveFormat& format);

    // Why a file was not adopted.
    enum class NotAdopted { Live, NotATake, Empty };
    // Takes over a take that no process holds any more and repairs its header to the whole
    // frames on disk. A live take is left alone; an empty one is removed. A take whose header
    // is damaged is adopted all the same, its data read in the format its name gives, else
    // that of a "fmt " chunk that survived, else kDefaultTakeFormat (see headerWasDamaged);
    // its file is left as it is until it is saved, so that every start sees the damage.
    static Result<std::unique_ptr<TakeFile>, NotAdopted> adopt(const std::string& path);

    ~TakeFile();
    TakeFile(const TakeFile&) = delete;
    TakeFile& operator=(const TakeFile&) = delete;

    // Writes at the end of the data and syncs when a second has gathered since the last sync;
    // false, with writeError() set, when not all of it could be written.
    bool append(const void* data, std::size_t bytes);
    // The two halves of append(): the write, and the sync once a second.
    bool write(const void* data, std::size_t bytes);
    void syncIfDue();

    // PCM bytes written so far (whole frames once the take is finished).
    std::uint64_t dataBytes() const { return m_dataBytes.load(std::memory_order_relaxed); }
    double seconds() const;
    // The errno of the first write that failed (the take keeps what came before), 0 if none.
    int writeError() const { return m_writeError.load(); }

    // Ends the take: drops a partial last frame, brings the header up to date and syncs.
    void finish();
    // Makes a finished take, or one whose last write failed, ready to grow again.
    void resume();

    // Finishes the take and puts it at `target` after checkSavePlace: renamed into place on the
    // same file system (the time does not grow with the take), else copied beside the target,
    // synced and renamed over it, reporting to `progress`. An existing target is replaced whole
    // or not at all, and a failed save leaves nothing behind. Afterwards the take is that file
    // and no longer in the spool; a later save copies it from there.
    SpoolResult<void> saveTo(const std::string& target, CopyProgress* progress);

    // Removes the take from the spool. False when it is no longer there to remove.
    bool discard();

    const std::string& path() const { return m_path; }
    const WaveFormat& format() const { return m_format; }
    // When the take started, from its name.
    std::time_t started() const { return m_started; }
    bool inSpool() const { return m_inSpool; }
    // Adopted with a header that was damaged: its format may be a guess.
    bool headerWasDamaged() const { return m_headerWasDamaged; }

private:
    TakeFile(int fd, std::string path, const WaveFormat& format, std::time_t started);
    bool writeHeader();
    void syncNow();
    SpoolResult<void> moveInto(const std::string& target);
    SpoolResult<void> copyInto(const std::string& target, CopyProgress* progress);
    void closeFile();

    int m_fd;
    std::string m_path;
    // Where the take was recorded; a copy notes its hidden file there while it runs.
    std::string m_spoolFolder;
    WaveFormat m_format;
    std::time_t m_started;
    bool m_inSpool = true;
    bool m_headerWasDamaged = false;
    bool m_finished = false;
    // Adopted with a damaged header: nothing is written to it before it is saved.
    bool m_leaveAsFound = false;
    std::atomic<std::uint64_t> m_dataBytes{0};
    std::atomic<int> m_writeError{0};
    std::uint64_t m_bytesSinceSync = 0;
};

// The format a take is read in when its header is damaged and nothing else tells: the one the
// window records in unless told otherwise.
inline constexpr WaveFormat kDefaultTakeFormat{44100, 16, 2};

// "take-20261210-140312-44100hz-16bit-2ch-XXXXXX.wav": the local time a take started, its
// format, and a unique end.
std::string takeFileName(std::time_t started, const WaveFormat& format, const std::string& unique);
// The start time in a take's file name; nothing when the name is not a take's.
std::optional<std::time_t> takeStartFromName(const std::string& name);
// The format in a take's file name; nothing for names without one (older takes).
std::optional<WaveFormat> takeFormatFromName(const std::string& name);
