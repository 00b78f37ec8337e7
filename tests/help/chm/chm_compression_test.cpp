// chmlib decompresses by numbers it takes from the file as they stand. Damaged ones used to
// crash the program: a division by zero while chmlib opened the file or read a page, gigabytes
// allocated for each block, a block read past the end of chmlib's buffer.
#include "help/chm/chm_archive.h"
#include "help/chm/chm_compression.h"
#include "help/chm/chm_directory.h"

#include "help_files.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <functional>

namespace {

// A help file's bytes, with the places of its compression control data and reset table.
struct Compressed {
    QByteArray bytes;
    qsizetype control = 0;
    qsizetype resetTable = 0;
};

Compressed readCompressed(const std::string& path) {
    Compressed c;
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return c;
    c.bytes = f.readAll();
    ChmListing listing;
    std::string error;
    if (!directoryIsSound(path, listing, error))
        return c;
    const auto data =
        static_cast<qsizetype>(qFromLittleEndian<quint64>(c.bytes.constData() + 0x58));
    for (const ChmNamedUnit& u : listing.units) {
        if (u.path == "::DataSpace/Storage/MSCompressed/ControlData")
            c.control = data + static_cast<qsizetype>(u.unit.start);
        else if (u.path.ends_with("/InstanceData/ResetTable"))
            c.resetTable = data + static_cast<qsizetype>(u.unit.start);
    }
    return c;
}

} // namespace

TEST(ChmCompression, NumbersThatWouldCrashChmlibAreRefused) {
    const Compressed sound = readCompressed(testHelpFile("sample.chm"));
    ASSERT_NE(sound.control, 0);
    ASSERT_NE(sound.resetTable, 0);
    const auto setU32 = [](qsizetype at, quint32 value) {
        return [at, value](QByteArray& b) { qToLittleEndian<quint32>(value, b.data() + at); };
    };
    const auto setU64 = [](qsizetype at, quint64 value) {
        return [at, value](QByteArray& b) { qToLittleEndian<quint64>(value, b.data() + at); };
    };
    const struct {
        const char* name;
        std::function<void(QByteArray&)> damage;
    } cases[] = {
        // chmlib divides by half the window while it opens the file.
        {"window-of-nothing.chm", setU32(sound.control + 0x10, 0)},
        // No block between restarts: a division by zero at the first page read.
        {"no-windows-per-reset.chm", setU32(sound.control + 0x14, 0)},
        // Blocks of 2 GB: each read allocates that much.
        {"huge-blocks.chm", setU64(sound.resetTable + 0x20, 0x7FFFFFFF)},
        {"blocks-of-nothing.chm", setU64(sound.resetTable + 0x20, 0)},
        // A window (and restart interval) the decompressor cannot have: it gets no state.
        {"window-too-large.chm",
         [&](QByteArray& b) {
             setU32(sound.control + 0x0C, 0x400)(b);
             setU32(sound.control + 0x10, 0x400)(b);
         }},
        // A block's compressed bytes longer than chmlib's buffer for them.
        {"long-block.chm", setU64(sound.resetTable + 0x18, 0x100000)},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        QByteArray bytes = sound.bytes;
        c.damage(bytes);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        std::string error;
        EXPECT_FALSE(ChmArchive::open(path.toStdString(), error)) << c.name;
        EXPECT_EQ(error, "is damaged: its compressed section cannot be read") << c.name;
    }
}

TEST(ChmCompression, SoundFilesKeepTheirPages) {
    for (const char* name : {"sample.chm", "many.chm"}) {
        std::string error;
        const auto archive = ChmArchive::open(testHelpFile(name), error);
        ASSERT_TRUE(archive) << name << " " << error;
        for (const std::string& path : archive->files())
            EXPECT_TRUE(archive->read(path)) << name << path;
    }
}
