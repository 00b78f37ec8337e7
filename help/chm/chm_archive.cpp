#include "help/chm/chm_archive.h"

#include "help/chm/chm_compression.h"
#include "help/chm/file_bytes.h"

#include <mspack.h>

#include <cstdlib>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The two identifiers of a help file's header, at 0x18 and 0x28. One help compiler writes the
// first twice; libmspack then takes the file for something else. The byte that differs is read
// as it should be, by every handle libmspack opens on the file; the file itself is not changed.
constexpr unsigned char kFirstId[16] = {0x10, 0xFD, 0x01, 0x7C, 0xAA, 0x7B, 0xD0, 0x11,
                                        0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
constexpr std::uint64_t kSecondIdAt = 0x28;
constexpr unsigned char kSecondIdFirstByte = 0x11;

constexpr const char* kContent = "::DataSpace/Storage/MSCompressed/Content";
constexpr const char* kControlData = "::DataSpace/Storage/MSCompressed/ControlData";
constexpr const char* kSpanInfo = "::DataSpace/Storage/MSCompressed/SpanInfo";
constexpr const char* kResetTable = "::DataSpace/Storage/MSCompressed/Transform/"
                                    "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"
                                    "ResetTable";

bool hasWrongSecondId(const FileBytes& f) {
    unsigned char ids[32];
    return f.read(0x18, ids, sizeof ids) && std::memcmp(ids, kFirstId, 16) == 0 &&
           std::memcmp(ids + 16, kFirstId, 16) == 0;
}

std::string folded(const std::string& path) {
    std::string out = path;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    }
    return out;
}

// What libmspack reads and writes through. Every handle is one of these; libmspack only passes
// them back.
struct Handle {
    // Reading the help file.
    int fd = -1;
    std::uint64_t size = 0;
    std::uint64_t at = 0;
    bool fixSecondId = false;
    // Writing an unpacked file into memory.
    std::string* sink = nullptr;
};

// libmspack's view of the system: the help file, a memory sink for what it unpacks, and memory
// that starts zeroed, so that no answer depends on what the heap held before.
struct System : mspack_system {
    bool fixSecondId = false;
    std::string* sink = nullptr;
};

Handle* handleOf(mspack_file* file) {
    return reinterpret_cast<Handle*>(file);
}

mspack_file* openFile(mspack_system* self, const char* filename, int mode) {
    auto* system = static_cast<System*>(self);
    auto handle = std::make_unique<Handle>();
    if (mode == MSPACK_SYS_OPEN_WRITE) {
        if (!system->sink)
            return nullptr;
        handle->sink = system->sink;
    } else if (mode == MSPACK_SYS_OPEN_READ) {
        handle->fd = ::open(filename, O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (handle->fd < 0)
            return nullptr;
        if (::fstat(handle->fd, &st) != 0) {
            ::close(handle->fd);
            return nullptr;
        }
        handle->size = static_cast<std::uint64_t>(st.st_size);
        handle->fixSecondId = system->fixSecondId;
    } else {
        return nullptr;
    }
    return reinterpret_cast<mspack_file*>(handle.release());
}

void closeFile(mspack_file* file) {
    Handle* handle = handleOf(file);
    if (handle && handle->fd >= 0)
        ::close(handle->fd);
    delete handle;
}

int readFile(mspack_file* file, void* buffer, int bytes) {
    Handle* handle = handleOf(file);
    if (!handle || handle->fd < 0 || bytes < 0)
        return -1;
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < static_cast<std::size_t>(bytes) && handle->at + done < handle->size) {
        const ssize_t got = ::pread(handle->fd, out + done, static_cast<std::size_t>(bytes) - done,
                                    static_cast<off_t>(handle->at + done));
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    if (handle->fixSecondId && handle->at <= kSecondIdAt && kSecondIdAt < handle->at + done)
        out[kSecondIdAt - handle->at] = kSecondIdFirstByte;
    handle->at += done;
    return static_cast<int>(done);
}

int writeFile(mspack_file* file, void* buffer, int bytes) {
    Handle* handle = handleOf(file);
    if (!handle || !handle->sink || bytes < 0)
        return -1;
    handle->sink->append(static_cast<const char*>(buffer), static_cast<std::size_t>(bytes));
    return bytes;
}

int seekFile(mspack_file* file, off_t offset, int mode) {
    Handle* handle = handleOf(file);
    if (!handle || handle->fd < 0)
        return -1;
    const auto base = static_cast<off_t>(mode == MSPACK_SYS_SEEK_START ? 0
                                         : mode == MSPACK_SYS_SEEK_CUR ? handle->at
                                                                       : handle->size);
    if (mode < MSPACK_SYS_SEEK_START || mode > MSPACK_SYS_SEEK_END ||
        (offset > 0 && base > std::numeric_limits<off_t>::max() - offset))
        return -1;
    const off_t to = base + offset;
    if (to < 0 || static_cast<std::uint64_t>(to) > handle->size)
        return -1;
    handle->at = static_cast<std::uint64_t>(to);
    return 0;
}

off_t tellFile(mspack_file* file) {
    Handle* handle = handleOf(file);
    return handle ? static_cast<off_t>(handle->at) : -1;
}

// libmspack's warnings about a file it can still read: what cannot be read shows as damage.
void ignoreMessage(mspack_file*, const char*, ...) {}

void* allocate(mspack_system*, std::size_t bytes) {
    return std::calloc(1, bytes ? bytes : 1);
}

void release(void* memory) {
    std::free(memory);
}

void copyBytes(void* from, void* to, std::size_t bytes) {
    std::memmove(to, from, bytes);
}

} // namespace

struct ChmArchive::Unpacker {
    ~Unpacker() {
        if (header)
            decompressor->close(decompressor, header);
        if (decompressor)
            mspack_destroy_chm_decompressor(decompressor);
    }

    std::string path; // libmspack keeps a pointer to it
    System system;
    mschm_decompressor* decompressor = nullptr;
    mschmd_header* header = nullptr;
    // The files that say how the compressed section is laid out, as the directory lists them.
    // libmspack takes them from here rather than looking them up in the directory itself; one
    // the directory lacks has no bytes, which libmspack takes for missing.
    mschmd_file content{}, control{}, spanInfo{}, resetTable{};
};

std::unique_ptr<ChmArchive> ChmArchive::open(const std::string& path, std::string& error) {
    const FileBytes f(path);
    if (!f.isOpen()) {
        error = "cannot be opened";
        return nullptr;
    }
    if (!f.hasSignature(0, "ITSF")) {
        error = "is not a compiled help file";
        return nullptr;
    }
    ChmListing listing;
    if (!directoryIsSound(path, listing, error))
        return nullptr;

    std::unique_ptr<ChmArchive> archive(new ChmArchive);
    archive->m_unpacker = std::make_unique<Unpacker>();
    Unpacker& u = *archive->m_unpacker;
    u.path = path;
    u.system = {};
    u.system.open = openFile;
    u.system.close = closeFile;
    u.system.read = readFile;
    u.system.write = writeFile;
    u.system.seek = seekFile;
    u.system.tell = tellFile;
    u.system.message = ignoreMessage;
    u.system.alloc = allocate;
    u.system.free = release;
    u.system.copy = copyBytes;
    u.system.null_ptr = nullptr;
    u.system.fixSecondId = hasWrongSecondId(f);
    u.decompressor = mspack_create_chm_decompressor(&u.system);
    if (u.decompressor)
        u.header = u.decompressor->fast_open(u.decompressor, u.path.c_str());
    if (!u.header) {
        error = "is damaged: its archive cannot be read";
        return nullptr;
    }

    const auto unitFile = [&](const char* name, mschmd_file& file) {
        file.section = &u.header->sec0.base;
        file.filename = const_cast<char*>(name);
        for (const ChmNamedUnit& n : listing.units) {
            if (n.path != name || n.unit.space > 1 || n.unit.start > f.size() ||
                n.unit.length > f.size())
                continue;
            file.section = n.unit.space == 0 ? &u.header->sec0.base : &u.header->sec1.base;
            file.offset = static_cast<off_t>(n.unit.start);
            file.length = static_cast<off_t>(n.unit.length);
            break;
        }
        return &file;
    };
    u.header->sec1.content = unitFile(kContent, u.content);
    u.header->sec1.control = unitFile(kControlData, u.control);
    u.header->sec1.spaninfo = unitFile(kSpanInfo, u.spanInfo);
    u.header->sec1.rtable = unitFile(kResetTable, u.resetTable);

    // A file that keeps anything in the compressed section needs a section that can be unpacked.
    bool compressed = false;
    for (const ChmNamedUnit& e : listing.entries)
        compressed = compressed || (e.unit.space == 1 && e.unit.length > 0);
    if (compressed) {
        CompressedSection section;
        if (!readCompressedSection(f, static_cast<std::uint64_t>(u.header->sec0.offset),
                                   listing.units, section, error))
            return nullptr;
        archive->m_compressedLength = section.length;
    }

    archive->m_entries = std::move(listing.entries);
    for (std::size_t i = 0; i < archive->m_entries.size(); ++i) {
        const std::string& p = archive->m_entries[i].path;
        archive->m_byFoldedPath.emplace(folded(p), i);
        if (p.size() > 1 && p[0] == '/' && p[1] != '#' && p[1] != '$' && p.back() != '/')
            archive->m_files.push_back(p);
    }
    return archive;
}

ChmArchive::~ChmArchive() = default;

const ChmNamedUnit* ChmArchive::find(const std::string& objectPath) const {
    const auto it = m_byFoldedPath.find(folded(objectPath));
    return it == m_byFoldedPath.end() ? nullptr : &m_entries[it->second];
}

std::optional<std::string> ChmArchive::read(const std::string& objectPath, bool* damaged) const {
    if (damaged)
        *damaged = false;
    const ChmNamedUnit* entry = find(objectPath);
    if (!entry)
        return std::nullopt;
    // From here the object is listed: not getting its bytes means the file is damaged.
    const auto fail = [damaged] {
        if (damaged)
            *damaged = true;
        return std::nullopt;
    };
    const ChmUnit& unit = entry->unit;
    if (unit.length > kMaxObjectSize || unit.space > 1)
        return fail();
    if (unit.length == 0)
        return std::string();
    Unpacker& u = *m_unpacker;
    // Where the section says it ends, the object must end; libmspack gets only such objects.
    const std::uint64_t end = unit.space == 1 ? m_compressedLength : std::uint64_t{1} << 62;
    if (unit.start > end || unit.length > end - unit.start)
        return fail();
    mschmd_file file{};
    file.section = unit.space == 0 ? &u.header->sec0.base : &u.header->sec1.base;
    file.offset = static_cast<off_t>(unit.start);
    file.length = static_cast<off_t>(unit.length);
    file.filename = const_cast<char*>(entry->path.c_str());
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(unit.length));
    u.system.sink = &bytes;
    const int result = u.decompressor->extract(u.decompressor, &file, "");
    u.system.sink = nullptr;
    if (result != MSPACK_ERR_OK || bytes.size() != unit.length)
        return fail();
    return bytes;
}

bool ChmArchive::contains(const std::string& objectPath) const {
    return find(objectPath) != nullptr;
}

std::optional<std::string> ChmArchive::spelling(const std::string& objectPath) const {
    const ChmNamedUnit* entry = find(objectPath);
    if (!entry)
        return std::nullopt;
    return entry->path;
}

std::pair<std::uint64_t, std::uint64_t> ChmArchive::placeOf(const std::string& objectPath) const {
    const ChmNamedUnit* entry = find(objectPath);
    if (!entry)
        return {std::numeric_limits<std::uint64_t>::max(), 0};
    return {entry->unit.space, entry->unit.start};
}

const std::vector<std::string>& ChmArchive::files() const {
    return m_files;
}
