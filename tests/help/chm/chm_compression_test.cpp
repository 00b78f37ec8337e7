// The compressed section is unpacked by numbers taken from the file as they stand. Those that
// leave nothing in it readable refuse the file at once; those the unpacking does not use leave
// every page readable.
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

TEST(ChmCompression, NumbersThatLeaveNothingReadableRefuseTheFile) {
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
        bool refused;
    } cases[] = {
        // A window the decompressor cannot have.
        {"window-of-nothing.chm", setU32(sound.control + 0x10, 0), true},
        {"window-too-large.chm",
         [&](QByteArray& b) {
             setU32(sound.control + 0x0C, 0x400)(b);
             setU32(sound.control + 0x10, 0x400)(b);
         },
         true},
        {"not-lzx.chm", setU32(sound.control + 0x04, 0x41414141), true},
        // No packed bytes to unpack.
        {"no-content.chm",
         [](QByteArray& b) {
             const qsizetype at = b.indexOf("::DataSpace/Storage/MSCompressed/Content");
             ASSERT_GT(at, 0);
             b[at + 2] = 'X';
         },
         true},
        // A reset table of frames that are not 32 KB.
        {"huge-blocks.chm", setU64(sound.resetTable + 0x20, 0x7FFFFFFF), true},
        {"blocks-of-nothing.chm", setU64(sound.resetTable + 0x20, 0), true},
        // Numbers the unpacking does not use.
        {"no-windows-per-reset.chm", setU32(sound.control + 0x14, 0), false},
        {"long-block.chm", setU64(sound.resetTable + 0x18, 0x100000), false},
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
        const auto archive = ChmArchive::open(path.toStdString(), error);
        if (c.refused) {
            EXPECT_FALSE(archive) << c.name;
            EXPECT_EQ(error, "is damaged: its compressed section cannot be read") << c.name;
            continue;
        }
        ASSERT_TRUE(archive) << c.name << " " << error;
        for (const std::string& p : archive->files())
            EXPECT_TRUE(archive->read(p)) << c.name << p;
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
