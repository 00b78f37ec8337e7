#include "help/chm/chm_archive.h"
#include "help/chm/chm_directory.h"

#include "../help_file_patch.h"
#include "help_files.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>

TEST(ChmArchive, ReadsFilesInAnyLetterCase) {
    std::string error;
    const auto archive = ChmArchive::open(testHelpFile("sample.chm"), error);
    ASSERT_TRUE(archive) << error;
    const auto page = archive->read("/PAGES/Second.HTM");
    ASSERT_TRUE(page);
    EXPECT_NE(page->find("The second part"), std::string::npos);
    EXPECT_EQ(archive->spelling("/PAGES/Second.HTM"), "/pages/second.htm");
    EXPECT_FALSE(archive->read("/pages/none.htm"));
    EXPECT_FALSE(archive->contains("/pages/none.htm"));
}

TEST(ChmArchive, ListsOrdinaryFilesOnly) {
    std::string error;
    const auto archive = ChmArchive::open(testHelpFile("sample.chm"), error);
    ASSERT_TRUE(archive);
    const std::vector<std::string> files = archive->files();
    EXPECT_NE(std::find(files.begin(), files.end(), "/intro.htm"), files.end());
    EXPECT_NE(std::find(files.begin(), files.end(), "/images/dot.png"), files.end());
    for (const std::string& f : files) {
        EXPECT_NE(f[1], '#') << f;
        EXPECT_NE(f[1], '$') << f;
        EXPECT_NE(f.back(), '/') << f;
    }
}

TEST(ChmArchive, SaysWhyAFileIsNoHelpFile) {
    QTemporaryDir dir;
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return dir.filePath(name).toStdString();
    };
    QFile sample(QString::fromStdString(testHelpFile("sample.chm")));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray whole = sample.readAll();
    // A directory chunk size of 2 GB, far beyond what help files use.
    QByteArray hugeChunks = whole;
    const auto directory =
        static_cast<qsizetype>(qFromLittleEndian<quint64>(whole.constData() + 0x48));
    qToLittleEndian<quint32>(0x7FFFFFFF, hugeChunks.data() + directory + 0x10);
    const struct {
        std::string path;
        const char* error;
    } cases[] = {
        {dir.filePath("missing.chm").toStdString(), "cannot be opened"},
        {write("text.chm", "just some text"), "is not a compiled help file"},
        {write("empty.chm", ""), "is not a compiled help file"},
        {write("header.chm", whole.left(40)), "is damaged: its directory cannot be read"},
        {write("chunks.chm", hugeChunks), "is damaged: its directory cannot be read"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ChmArchive::open(c.path, error)) << c.path;
        EXPECT_EQ(error, c.error) << c.path;
    }
}

// The help compiler names chunk 1 as the first listing chunk when the listing takes several:
// the files of chunk 0 are listed all the same, in the file as it left it and in a finished one
// patched the same way; and the finishing step repairs the header.
TEST(ChmDirectory, EveryListingChunkIsListedWhateverTheHeaderNames) {
    const auto countTopics = [](const std::string& path) {
        std::string error;
        const auto archive = ChmArchive::open(path, error);
        EXPECT_TRUE(archive) << error;
        const auto files = archive ? archive->files() : std::vector<std::string>{};
        return std::count_if(files.begin(), files.end(),
                             [](const std::string& f) { return f.rfind("/topic", 0) == 0; });
    };
    EXPECT_EQ(countTopics(testHelpFile("many.chm")), 420);
    const std::string raw = testHelpFile("many-unfinished.chm");
    HelpFilePatch rawBytes(raw);
    ASSERT_TRUE(rawBytes.isRead());
    ASSERT_NE(rawBytes.u32(rawBytes.firstListingField()), 0u)
        << "the help compiler no longer shows the fault";
    EXPECT_EQ(countTopics(raw), 420);

    QTemporaryDir dir;
    HelpFilePatch patched(testHelpFile("many.chm"));
    ASSERT_EQ(patched.u32(patched.firstListingField()), 0u);
    patched.setU32(patched.firstListingField(), 1);
    EXPECT_EQ(countTopics(patched.writeTo(dir.path(), "patched.chm")), 420);

    const std::string copy = dir.filePath("many.chm").toStdString();
    ASSERT_TRUE(QFile::copy(QString::fromStdString(raw), QString::fromStdString(copy)));
    std::string error;
    EXPECT_EQ(repairFirstListingChunk(copy, error), DirectoryRepair::Repaired);
    EXPECT_EQ(HelpFilePatch(copy).u32(rawBytes.firstListingField()), 0u);
    EXPECT_EQ(countTopics(copy), 420);
    EXPECT_EQ(repairFirstListingChunk(copy, error), DirectoryRepair::AlreadyRight);
    EXPECT_EQ(repairFirstListingChunk(testHelpFile("sample.chm"), error),
              DirectoryRepair::AlreadyRight);
}

namespace {

// A help file's directory, to damage on purpose: its chunks and what its header says of them.
class Directory {
public:
    explicit Directory(QByteArray bytes) : m_bytes(std::move(bytes)) {
        m_header = static_cast<qsizetype>(qFromLittleEndian<quint64>(m_bytes.constData() + 0x48));
        m_chunkSize = static_cast<qsizetype>(u32(m_header + 0x10));
        m_firstChunk = m_header + static_cast<qsizetype>(u32(m_header + 0x08));
    }
    QByteArray bytes() const { return m_bytes; }
    qint32 indexRoot() const { return static_cast<qint32>(u32(m_header + 0x1C)); }
    qint32 firstListing() const { return static_cast<qint32>(u32(m_header + 0x20)); }
    qsizetype chunk(qint32 n) const { return m_firstChunk + n * m_chunkSize; }
    // The listing chunk whose "next" is -1.
    qint32 lastListing() const {
        qint32 n = firstListing();
        while (static_cast<qint32>(u32(chunk(n) + 0x10)) != -1)
            n = static_cast<qint32>(u32(chunk(n) + 0x10));
        return n;
    }
    void setNextListing(qint32 n, qint32 next) {
        setU32(chunk(n) + 0x10, static_cast<quint32>(next));
    }
    // Every entry of index chunk n leads to chunk `child` (names and numbers under 128).
    void setChildren(qint32 n, char child) {
        const qsizetype end = chunk(n) + m_chunkSize - static_cast<qsizetype>(u32(chunk(n) + 4));
        for (qsizetype entry = chunk(n) + 0x08; entry < end;) {
            const qsizetype number = entry + 1 + m_bytes[entry];
            m_bytes[number] = child;
            entry = number + 1;
        }
    }
    // Entries of five bytes to the very end of listing chunk n, the last one cut short.
    void fillListingToItsEnd(qint32 n) {
        setU32(chunk(n) + 0x04, 0);
        for (qsizetype at = chunk(n) + 0x14; at < chunk(n) + m_chunkSize; ++at)
            m_bytes[at] = 1;
        m_bytes[chunk(n) + m_chunkSize - 1] = static_cast<char>(0x80);
    }

private:
    quint32 u32(qsizetype at) const { return qFromLittleEndian<quint32>(m_bytes.constData() + at); }
    void setU32(qsizetype at, quint32 value) {
        qToLittleEndian<quint32>(value, m_bytes.data() + at);
    }

    QByteArray m_bytes;
    qsizetype m_header = 0;
    qsizetype m_chunkSize = 0;
    qsizetype m_firstChunk = 0;
};

} // namespace

// A damaged directory's numbers can lead anywhere: round a circle of listing chunks, round a
// circle of index chunks, out of the directory, past a chunk's end where an entry runs on. Such
// files are refused as damaged rather than read for ever or past their chunks.
TEST(ChmDirectory, DirectoriesThatLeadAReaderAstrayAreRefused) {
    QFile many(QString::fromStdString(testHelpFile("many.chm")));
    ASSERT_TRUE(many.open(QIODevice::ReadOnly));
    const Directory sound(many.readAll());
    ASSERT_NE(sound.indexRoot(), -1) << "the fixture needs an index chunk";
    ASSERT_NE(sound.lastListing(), sound.firstListing()) << "the fixture needs several chunks";

    Directory listingCircle = sound;
    listingCircle.setNextListing(sound.lastListing(), sound.firstListing());
    Directory listingOutside = sound;
    listingOutside.setNextListing(sound.firstListing(), 0x7FFF);
    Directory indexCircle = sound;
    indexCircle.setChildren(sound.indexRoot(), static_cast<char>(sound.indexRoot()));
    Directory indexOutside = sound;
    indexOutside.setChildren(sound.indexRoot(), 0x7F);
    Directory entryPastItsChunk = sound;
    entryPastItsChunk.fillListingToItsEnd(sound.lastListing());

    QTemporaryDir dir;
    const struct {
        const char* name;
        const Directory& directory;
    } cases[] = {
        {"listing-circle.chm", listingCircle},
        {"listing-outside.chm", listingOutside},
        {"index-circle.chm", indexCircle},
        {"index-outside.chm", indexOutside},
        {"entry-past-its-chunk.chm", entryPastItsChunk},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.directory.bytes());
        f.close();
        std::string error;
        EXPECT_FALSE(ChmArchive::open(path.toStdString(), error)) << c.name;
        EXPECT_EQ(error, "is damaged: its directory cannot be read") << c.name;
    }
}

TEST(ChmDirectory, RefusesWhatIsNoHelpFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("x.chm");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("ITSF but nothing more");
    f.close();
    std::string error;
    EXPECT_EQ(repairFirstListingChunk(path.toStdString(), error), DirectoryRepair::Failed);
    EXPECT_EQ(error, "has no directory header");
    EXPECT_EQ(repairFirstListingChunk(dir.filePath("none.chm").toStdString(), error),
              DirectoryRepair::Failed);
}

// The help compiler writes the header's first identifier twice. The file reads all the same, as
// it left it, and the finishing step writes the second one as it should be.
TEST(ChmHeader, ASecondIdentifierWrittenAsTheFirstIsReadAndRepaired) {
    const std::string raw = testHelpFile("many-unfinished.chm");
    HelpFilePatch rawBytes(raw);
    ASSERT_TRUE(rawBytes.isRead());
    ASSERT_EQ(rawBytes.bytes().mid(0x18, 16), rawBytes.bytes().mid(0x28, 16))
        << "the help compiler no longer shows the fault";
    std::string error;
    const auto asLeft = ChmArchive::open(raw, error);
    ASSERT_TRUE(asLeft) << error;
    EXPECT_TRUE(asLeft->read("/topic5.htm"));

    QTemporaryDir dir;
    const std::string copy = rawBytes.writeTo(dir.path(), "copy.chm");
    EXPECT_EQ(repairSecondIdentifier(copy, error), DirectoryRepair::Repaired);
    HelpFilePatch repaired(copy);
    EXPECT_EQ(repaired.bytes()[0x28], char(0x11));
    EXPECT_EQ(repaired.bytes().mid(0x29, 15), rawBytes.bytes().mid(0x29, 15));
    EXPECT_EQ(repairSecondIdentifier(copy, error), DirectoryRepair::AlreadyRight);
    EXPECT_EQ(repairSecondIdentifier(testHelpFile("many.chm"), error),
              DirectoryRepair::AlreadyRight);
    const auto finished = ChmArchive::open(copy, error);
    ASSERT_TRUE(finished) << error;
    EXPECT_EQ(finished->read("/topic5.htm"), asLeft->read("/topic5.htm"));
}
