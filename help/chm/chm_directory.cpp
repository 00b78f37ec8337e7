#include "help/chm/chm_directory.h"

#include "help/chm/file_bytes.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

DirectoryRepair repairFirstListingChunk(const std::string& path, std::string& error) {
    FileBytes f(path, true);
    if (!f.isOpen()) {
        error = "cannot be opened for writing";
        return DirectoryRepair::Failed;
    }
    if (!f.hasSignature(0, "ITSF")) {
        error = "is not a compiled help file";
        return DirectoryRepair::Failed;
    }
    bool ok = true;
    const std::uint64_t directory = f.u64(0x48, ok);
    if (!ok || !f.hasSignature(directory, "ITSP")) {
        error = "has no directory header";
        return DirectoryRepair::Failed;
    }
    const std::uint32_t headerLength = f.u32(directory + 0x08, ok);
    const std::uint32_t chunkSize = f.u32(directory + 0x10, ok);
    const std::uint32_t firstListing = f.u32(directory + 0x20, ok);
    const std::uint32_t chunks = f.u32(directory + 0x2C, ok);
    if (!ok || chunkSize < 0x14 || chunks == 0) {
        error = "has a damaged directory header";
        return DirectoryRepair::Failed;
    }
    const std::uint64_t firstChunk = directory + headerLength;
    for (std::uint32_t i = 0; i < chunks; ++i) {
        const std::uint64_t at = firstChunk + static_cast<std::uint64_t>(i) * chunkSize;
        if (!f.hasSignature(at, "PMGL"))
            continue;
        bool chunkOk = true;
        const std::uint32_t previous = f.u32(at + 0x0C, chunkOk);
        if (!chunkOk || previous != 0xFFFFFFFFu)
            continue;
        if (i == firstListing)
            return DirectoryRepair::AlreadyRight;
        const unsigned char value[4] = {
            static_cast<unsigned char>(i), static_cast<unsigned char>(i >> 8),
            static_cast<unsigned char>(i >> 16), static_cast<unsigned char>(i >> 24)};
        if (!f.write(directory + 0x20, value, 4)) {
            error = "cannot be written";
            return DirectoryRepair::Failed;
        }
        return DirectoryRepair::Repaired;
    }
    error = "has no listing chunk";
    return DirectoryRepair::Failed;
}

DirectoryRepair repairSecondIdentifier(const std::string& path, std::string& error) {
    FileBytes f(path, true);
    if (!f.isOpen()) {
        error = "cannot be opened for writing";
        return DirectoryRepair::Failed;
    }
    unsigned char ids[32] = {};
    if (!f.hasSignature(0, "ITSF") || !f.read(0x18, ids, sizeof ids)) {
        error = "is not a compiled help file";
        return DirectoryRepair::Failed;
    }
    if (ids[0] != 0x10 || std::memcmp(ids, ids + 16, 16) != 0)
        return DirectoryRepair::AlreadyRight;
    const unsigned char right = 0x11;
    if (!f.write(0x28, &right, 1)) {
        error = "cannot be written";
        return DirectoryRepair::Failed;
    }
    return DirectoryRepair::Repaired;
}

namespace {

// The largest directory chunk libmspack reads.
constexpr std::uint32_t kMaxChunkSize = 0x2000;

// The directory's chunks. The listing goes from the first listing chunk by each chunk's "next"
// number; a look-up goes from the index root down through index chunks to a listing chunk. A
// damaged file's numbers can lead round in circles, or past a chunk's end: these walks go every
// way a reader could go, each chunk once, and a file whose walks do not all end is damaged.
class DirectoryWalk {
public:
    DirectoryWalk(const FileBytes& f, std::uint64_t firstChunk, std::uint32_t chunkSize,
                  std::uint32_t chunks)
        : m_file(f), m_firstChunk(firstChunk), m_chunkSize(chunkSize), m_chunks(chunks),
          m_state(chunks, State::New), m_kept(chunks, false) {}

    // The archive's own files ("::" paths) in the listing chunks the walks met.
    std::vector<ChmNamedUnit>& units() { return m_units; }

    // The chunk that starts the listing: from `first` back along the "previous" numbers to the
    // listing chunk that has none; `first` itself when that way leads anywhere else.
    std::int32_t listingStart(std::int32_t first) {
        std::vector<bool> seen(m_chunks, false);
        for (std::int32_t n = first;;) {
            if (!isChunk(n) || seen[static_cast<std::size_t>(n)] || !read(n) ||
                !hasSignature("PMGL"))
                return first;
            seen[static_cast<std::size_t>(n)] = true;
            const auto previous = static_cast<std::int32_t>(u32(0x0C));
            if (previous == -1)
                return n;
            n = previous;
        }
    }

    // From the first listing chunk along the "next" numbers, each a listing chunk whose entries
    // lie inside it, to the end (-1) or to a chunk of another kind. The entries met on the way,
    // but the archive's own, go to `entries`.
    bool listingEnds(std::int32_t first, std::vector<ChmNamedUnit>& entries) {
        std::vector<bool> seen(m_chunks, false);
        for (std::int32_t n = first; n != -1;) {
            if (!isChunk(n) || seen[static_cast<std::size_t>(n)])
                return false;
            seen[static_cast<std::size_t>(n)] = true;
            if (!read(n))
                return false;
            if (!hasSignature("PMGL"))
                return true;
            if (!listingEntriesFit(n, &entries))
                return false;
            n = static_cast<std::int32_t>(u32(0x10));
        }
        return true;
    }

    // From the root down every way a look-up could go, without coming back to a chunk on the
    // way: index chunks lead on to the chunks their entries name.
    bool indexEnds(std::int32_t root) {
        if (!isChunk(root))
            return false;
        std::vector<Step> path;
        if (!enter(root, path))
            return false;
        while (!path.empty()) {
            Step& step = path.back();
            if (step.next == step.children.size()) {
                m_state[static_cast<std::size_t>(step.chunk)] = State::Done;
                path.pop_back();
                continue;
            }
            const std::int32_t child = step.children[step.next++];
            if (child == -1)
                continue;
            if (!isChunk(child))
                return false;
            const State state = m_state[static_cast<std::size_t>(child)];
            if (state == State::OnPath)
                return false;
            if (state == State::New && !enter(child, path))
                return false;
        }
        return true;
    }

private:
    enum class State : std::uint8_t { New, OnPath, Done };
    struct Step {
        std::int32_t chunk;
        std::vector<std::int32_t> children;
        std::size_t next = 0;
    };

    bool isChunk(std::int32_t n) const {
        return n >= 0 && static_cast<std::uint32_t>(n) < m_chunks;
    }

    bool read(std::int32_t n) {
        m_chunk.resize(m_chunkSize);
        return m_file.read(m_firstChunk + static_cast<std::uint64_t>(n) * m_chunkSize,
                           m_chunk.data(), m_chunkSize);
    }

    bool hasSignature(const char* signature) const {
        return std::memcmp(m_chunk.data(), signature, 4) == 0;
    }

    std::uint32_t u32(std::size_t at) const {
        const auto* b = reinterpret_cast<const unsigned char*>(m_chunk.data() + at);
        return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }

    // A number of the entries: seven bits a byte, high bit set on all but the last.
    bool number(std::size_t& at, std::uint64_t& value) const {
        value = 0;
        while (at < m_chunk.size()) {
            const auto byte = static_cast<unsigned char>(m_chunk[at++]);
            value = (value << 7) + (byte & 0x7F);
            if (byte < 0x80)
                return true;
        }
        return false;
    }

    // The entries' area, from the header to the free space at the end; nothing when the free
    // space is more than the chunk holds.
    bool entryArea(std::size_t header, std::size_t& end) const {
        const std::uint32_t freeSpace = u32(4);
        if (freeSpace > m_chunkSize - header)
            return false;
        end = m_chunkSize - freeSpace;
        return true;
    }

    // Each entry: a name (its length, then its bytes) and `count` numbers, all inside the
    // chunk; each entry is handed to `each`. A name longer than any path a help file holds ends
    // the entries.
    template <typename Each> bool entriesFit(std::size_t header, int count, Each&& each) const {
        std::size_t end = 0;
        if (!entryArea(header, end))
            return false;
        std::size_t at = header;
        std::uint64_t numbers[3] = {};
        while (at < end) {
            std::uint64_t length = 0;
            if (!number(at, length))
                return false;
            if (length > kMaxPathLength)
                return true;
            if (length > m_chunk.size() - at)
                return false;
            const std::string_view name(m_chunk.data() + at, static_cast<std::size_t>(length));
            at += static_cast<std::size_t>(length);
            for (int k = 0; k < count; ++k) {
                if (!number(at, numbers[k]))
                    return false;
            }
            each(name, numbers);
        }
        return true;
    }

    // A listing chunk's entries; those of the archive's own files ("::" paths) are kept, once,
    // and the others go to `entries` when given, their paths up to a NUL.
    bool listingEntriesFit(std::int32_t n, std::vector<ChmNamedUnit>* entries = nullptr) {
        const bool keep = !m_kept[static_cast<std::size_t>(n)];
        m_kept[static_cast<std::size_t>(n)] = true;
        return entriesFit(0x14, 3, [&](std::string_view name, const std::uint64_t* numbers) {
            if (name.starts_with("::")) {
                if (keep)
                    m_units.push_back({std::string(name), {numbers[0], numbers[1], numbers[2]}});
            } else if (entries) {
                entries->push_back({std::string(name.substr(0, name.find('\0'))),
                                    {numbers[0], numbers[1], numbers[2]}});
            }
        });
    }

    bool enter(std::int32_t n, std::vector<Step>& path) {
        if (!read(n))
            return false;
        Step step{n, {}, 0};
        if (hasSignature("PMGL")) {
            if (!listingEntriesFit(n))
                return false;
        } else if (hasSignature("PMGI")) {
            // A chunk number is read as its low 32 bits, as a signed number.
            const bool fit =
                entriesFit(0x08, 1, [&](std::string_view, const std::uint64_t* numbers) {
                    step.children.push_back(
                        static_cast<std::int32_t>(static_cast<std::uint32_t>(numbers[0])));
                });
            if (!fit)
                return false;
        }
        m_state[static_cast<std::size_t>(n)] = State::OnPath;
        path.push_back(std::move(step));
        return true;
    }

    static constexpr std::uint64_t kMaxPathLength = 512;

    const FileBytes& m_file;
    std::uint64_t m_firstChunk;
    std::uint32_t m_chunkSize;
    std::uint32_t m_chunks;
    std::vector<State> m_state;
    std::vector<bool> m_kept;
    std::vector<ChmNamedUnit> m_units;
    std::string m_chunk;
};

} // namespace

bool directoryIsSound(const std::string& path, ChmListing& listing, std::string& error) {
    const FileBytes f(path);
    bool ok = f.isOpen() && f.hasSignature(0, "ITSF");
    const std::uint64_t directory = f.u64(0x48, ok);
    ok = ok && f.hasSignature(directory, "ITSP");
    const std::uint32_t headerLength = f.u32(directory + 0x08, ok);
    const std::uint32_t chunkSize = f.u32(directory + 0x10, ok);
    const auto indexRoot = static_cast<std::int32_t>(f.u32(directory + 0x1C, ok));
    const auto firstListing = static_cast<std::int32_t>(f.u32(directory + 0x20, ok));
    const std::uint32_t lastListing = f.u32(directory + 0x24, ok);
    const std::uint32_t chunks = f.u32(directory + 0x2C, ok);
    ok = ok && chunkSize >= 0x100 && chunkSize <= kMaxChunkSize && chunks > 0 &&
         firstListing >= 0 && static_cast<std::uint32_t>(firstListing) < chunks &&
         lastListing < chunks &&
         directory + headerLength + static_cast<std::uint64_t>(chunks) * chunkSize <= f.size();
    if (ok) {
        DirectoryWalk walk(f, directory + headerLength, chunkSize, chunks);
        // The listing is read from its real start, whatever chunk the header names.
        std::vector<ChmNamedUnit> entries;
        ok = walk.listingEnds(walk.listingStart(firstListing), entries) &&
             walk.indexEnds(indexRoot <= -1 ? firstListing : indexRoot);
        listing.units = std::move(walk.units());
        listing.entries = std::move(entries);
    }
    if (!ok) {
        error = "is damaged: its directory cannot be read";
        return false;
    }
    return true;
}
