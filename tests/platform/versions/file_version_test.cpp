#include "platform/versions/file_version.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

TEST(FileVersion, NumbersOfASharedLibrarysFileName) {
    const struct {
        const char* name;
        std::optional<FileVersion> version;
    } cases[] = {
        {"/usr/lib/x86_64-linux-gnu/libQt6Widgets.so.6.4.2", FileVersion{6, 4, 2, 0}},
        {"libx.so.1", FileVersion{1, 0, 0, 0}},
        {"libx.so.1.2.3.4", FileVersion{1, 2, 3, 4}},
        {"libx.so.1.2.3.4.5", std::nullopt},
        {"libx.so.65536", std::nullopt},
        {"libx.so.1.a", std::nullopt},
        {"libx.so.1.", std::nullopt},
        {"libx.so", std::nullopt},
        {"/dir.so.1/libx", std::nullopt},
        {"file.txt", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(versionFromSharedLibraryName(c.name), c.version) << c.name;
}

// The fixture library is stamped with 1.2.3.4 and its name carries 9.9.
TEST(FileVersion, TheVersionNoteWinsOverTheFileName) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("libfixture.so.9.9"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VERSION_NOTE_FIXTURE), copy));
    EXPECT_EQ(readFileVersion(VERSION_NOTE_FIXTURE), (FileVersion{1, 2, 3, 4}));
    EXPECT_EQ(readFileVersion(copy.toStdString()), (FileVersion{1, 2, 3, 4}));
    EXPECT_EQ(readFileVersion(dir.filePath(QStringLiteral("libnone.so.1")).toStdString()),
              std::nullopt);
}

// Cut short anywhere, a stamped library gives either its version or nothing from the note.
TEST(FileVersion, ATruncatedLibraryIsReadOnlyInsideTheFile) {
    QFile whole(QStringLiteral(VERSION_NOTE_FIXTURE));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cut"));
    for (qsizetype length = 0; length < bytes.size(); length += length < 1024 ? 7 : 509) {
        QFile cut(path);
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
        cut.write(bytes.left(length));
        cut.close();
        const auto version = readFileVersion(path.toStdString());
        EXPECT_TRUE(!version || *version == (FileVersion{1, 2, 3, 4})) << length;
    }
}
