#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

// Only these names exist.
bool existing(const QString& path) {
    return path == QStringLiteral("/music/Meine Aufnahme \u00e4.wav") ||
           path == QDir::currentPath() + QStringLiteral("/here.wav");
}

TEST(CommandLine, AnExistingFileIsPlayedAndANewNameIsRecordedTo) {
    const QString here = QDir::currentPath();
    struct Case {
        QStringList arguments;
        QString play;
        QString record;
    };
    const Case cases[] = {
        {{"sorvinta"}, "", ""},
        {{"sorvinta", ""}, "", ""},
        {{"sorvinta", "/music/Meine Aufnahme \u00e4.wav"}, "/music/Meine Aufnahme \u00e4.wav", ""},
        {{"sorvinta", "file:///music/Meine%20Aufnahme%20%C3%A4.wav"},
         "/music/Meine Aufnahme \u00e4.wav",
         ""},
        {{"sorvinta", "here.wav"}, here + "/here.wav", ""},
        {{"sorvinta", "/tmp/new take.wav"}, "", "/tmp/new take.wav"},
        {{"sorvinta", "take.wav"}, "", here + "/take.wav"},
        {{"sorvinta", "../x/take.wav"}, "", QDir::cleanPath(here + "/../x/take.wav")},
        {{"sorvinta", "file:///tmp/with%20blank.wav"}, "", "/tmp/with blank.wav"},
        // "--" ends the options: a file may start with a dash.
        {{"sorvinta", "--", "-odd.wav"}, "", here + "/-odd.wav"},
        // Qt's own options pass through to Qt.
        {{"sorvinta", "-platform", "offscreen", "-reverse", "take.wav"}, "", here + "/take.wav"},
    };
    for (const Case& c : cases) {
        const CommandLine line = parseCommandLine(c.arguments, existing);
        const std::string what = c.arguments.join(' ').toStdString();
        EXPECT_FALSE(line.end) << what;
        EXPECT_EQ(line.playFile, c.play) << what;
        EXPECT_EQ(line.recordFile, c.record) << what;
    }
}

TEST(CommandLine, HelpAndVersionAnswerOnStandardOutput) {
    for (const char* option : {"--help", "-h"}) {
        const CommandLine line = parseCommandLine({"sorvinta", option, "take.wav"}, existing);
        EXPECT_TRUE(line.end);
        EXPECT_EQ(line.exitCode, 0);
        EXPECT_TRUE(line.output.startsWith("Usage: sorvinta [OPTION]... [FILE.wav]\n"));
        EXPECT_TRUE(line.output.contains("--version"));
        EXPECT_TRUE(line.error.isEmpty());
    }
    for (const char* option : {"--version", "-v"}) {
        const CommandLine line = parseCommandLine({"sorvinta", option}, existing);
        EXPECT_TRUE(line.end);
        EXPECT_EQ(line.exitCode, 0);
        EXPECT_TRUE(line.output.startsWith("sorvinta (Sorvinta) 3.0\n"));
    }
}

TEST(CommandLine, UnknownOptionsAndASecondFileAreRefusedWithAUsageLine) {
    const QStringList refused[] = {
        {"sorvinta", "--bogus"},
        {"sorvinta", "-x", "take.wav"},
        {"sorvinta", "--help=yes"},
        {"sorvinta", "one.wav", "two.wav"},
    };
    for (const QStringList& arguments : refused) {
        const CommandLine line = parseCommandLine(arguments, existing);
        const std::string what = arguments.join(' ').toStdString();
        EXPECT_TRUE(line.end) << what;
        EXPECT_EQ(line.exitCode, 2) << what;
        EXPECT_TRUE(line.output.isEmpty()) << what;
        EXPECT_TRUE(line.error.startsWith("sorvinta: ")) << what;
        EXPECT_TRUE(line.error.contains("\nUsage: sorvinta [OPTION]... [FILE.wav]\n")) << what;
        EXPECT_TRUE(line.playFile.isEmpty() && line.recordFile.isEmpty()) << what;
    }
}

TEST(CommandLine, TheRealFileSystemDecidesBetweenPlayAndRecord) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString there = dir.filePath(QStringLiteral("Meine Aufnahme \u00e4.wav"));
    QFile file(there);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(parseCommandLine({"sorvinta", there}).playFile, there);
    EXPECT_EQ(parseCommandLine({"sorvinta", dir.filePath("new.wav")}).recordFile,
              dir.filePath("new.wav"));
    // A folder is no file to play.
    EXPECT_EQ(parseCommandLine({"sorvinta", dir.path()}).recordFile, dir.path());
}

} // namespace
