#include "platform/ui/qt_file_dialog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// The dialogs start where the user's files are, never in the working folder the program
// happened to be started in (a desktop starts it in /).
TEST(QtFileDialog, StartsAtTheCurrentPathOrInTheMusicFolder) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    QStandardPaths::setTestModeEnabled(false);
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    ASSERT_TRUE(QDir().mkpath(music));
    const QString takes = home.filePath(QStringLiteral("takes"));
    ASSERT_TRUE(QDir().mkpath(takes));
    const QString kept = takes + QStringLiteral("/kept.wav");
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString fresh = takes + QStringLiteral("/fresh.wav");
    const QString nowhere = home.filePath(QStringLiteral("gone/take.wav"));

    const struct {
        QStringList candidates;
        bool needExisting;
        QString start;
    } cases[] = {
        {{fresh}, false, fresh},      {{fresh}, true, takes},           {{kept}, true, kept},
        {{"", kept}, true, kept},     {{nowhere, fresh}, false, fresh}, {{takes}, true, takes},
        {{"take.wav"}, false, music}, {{nowhere}, true, music},         {{}, false, music},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dialogStartPath(c.candidates, c.needExisting), c.start)
            << c.candidates.join(',').toStdString();

    ASSERT_TRUE(QDir(music).removeRecursively());
    EXPECT_EQ(dialogStartPath({}, false), QDir::homePath());
    qputenv("HOME", oldHome);
}

TEST(QtFileDialog, ANameWithoutExtensionGetsWav) {
    const std::pair<QString, QString> cases[] = {
        {"/tmp/take", "/tmp/take.wav"},
        {"/tmp/take.wav", "/tmp/take.wav"},
        {"/tmp/take.WAV", "/tmp/take.WAV"},
        {"/tmp/my.takes/take", "/tmp/my.takes/take.wav"},
        {"", ""},
    };
    for (const auto& [typed, saved] : cases)
        EXPECT_EQ(withWavSuffix(typed), saved) << typed.toStdString();
}

} // namespace
