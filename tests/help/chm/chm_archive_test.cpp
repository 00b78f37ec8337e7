#include "help/chm/chm_archive.h"
#include "help/chm/chm_directory.h"

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
    // A directory chunk size of 2 GB: chmlib would allocate that much for every look-up.
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

// The compiler's first listing chunk fault hides the files of chunk 0; the finished file and a
// repaired copy of the raw one list every topic.
TEST(ChmDirectory, RepairShowsEveryFileOfTheListing) {
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
    ASSERT_LT(countTopics(raw), 420) << "the help compiler no longer shows the fault";

    QTemporaryDir dir;
    const std::string copy = dir.filePath("many.chm").toStdString();
    ASSERT_TRUE(QFile::copy(QString::fromStdString(raw), QString::fromStdString(copy)));
    std::string error;
    EXPECT_EQ(repairFirstListingChunk(copy, error), DirectoryRepair::Repaired);
    EXPECT_EQ(countTopics(copy), 420);
    EXPECT_EQ(repairFirstListingChunk(copy, error), DirectoryRepair::AlreadyRight);
    EXPECT_EQ(repairFirstListingChunk(testHelpFile("sample.chm"), error),
              DirectoryRepair::AlreadyRight);
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
