#include "platform/system/single_instance.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include <optional>

namespace {

// Sets or unsets an environment variable for the life of the object.
class Variable {
public:
    Variable(const char* name, const std::optional<QString>& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        if (value)
            qputenv(name, value->toLocal8Bit());
        else
            qunsetenv(name);
    }
    ~Variable() {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

TEST(SingleInstance, SecondCopyIsRefusedWhileTheFirstRuns) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sorvinta.lock");
    {
        const SingleInstance first({path});
        EXPECT_TRUE(first.isFirst());
        const SingleInstance second({path});
        EXPECT_FALSE(second.isFirst());
    }
    const SingleInstance afterwards({path});
    EXPECT_TRUE(afterwards.isFirst());
}

TEST(SingleInstance, LockOfACrashedCopyIsTakenOver) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sorvinta.lock");
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    // What a crashed copy may leave: the file, held by no process.
    stale.write(QByteArray("2147483000\nsorvinta\n") + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    const SingleInstance next({path});
    EXPECT_TRUE(next.isFirst());
}

// The locks live in $XDG_RUNTIME_DIR and in the state folder beside the spool, never in the
// temporary folder: a second copy started with another TMPDIR, or another XDG_RUNTIME_DIR (as
// a private audio server's script sets it), still finds the first.
TEST(SingleInstance, TwoCopiesOfOneSpoolNeverRunWhateverTheirTemporaryFolders) {
    QTemporaryDir dir;
    const QString state = dir.filePath("state/sorvinta");
    const auto locks = [&](const char* runtime, const char* tmp) {
        const Variable r("XDG_RUNTIME_DIR",
                         runtime ? std::optional<QString>(dir.filePath(runtime)) : std::nullopt);
        const Variable t("TMPDIR", dir.filePath(tmp));
        return SingleInstance::lockPaths(state);
    };
    EXPECT_EQ(locks("run-a", "tmp-a"),
              (QStringList{dir.filePath("run-a/sorvinta.lock"), state + "/instance.lock"}));
    EXPECT_EQ(locks("run-a", "tmp-b"), locks("run-a", "tmp-a"));
    EXPECT_EQ(locks(nullptr, "tmp-a"), QStringList{state + "/instance.lock"});
    {
        const Variable relative("XDG_RUNTIME_DIR", QStringLiteral("run"));
        EXPECT_EQ(SingleInstance::lockPaths(state), QStringList{state + "/instance.lock"});
    }

    QDir(dir.path()).mkdir("run-a");
    QDir(dir.path()).mkdir("run-b");
    const SingleInstance first(locks("run-a", "tmp-a"));
    ASSERT_TRUE(first.isFirst());
    EXPECT_TRUE(QFile::exists(state + "/instance.lock")) << "its folder is made when needed";
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(state) & others, QFile::Permissions());
    EXPECT_FALSE(SingleInstance(locks("run-a", "tmp-b")).isFirst());
    EXPECT_FALSE(SingleInstance(locks("run-b", "tmp-b")).isFirst());
    EXPECT_FALSE(SingleInstance(locks(nullptr, "tmp-b")).isFirst());
    // Another state folder in the same session: still one copy.
    EXPECT_FALSE(SingleInstance({dir.filePath("run-a/sorvinta.lock"),
                                 dir.filePath("other/sorvinta/instance.lock")})
                     .isFirst());
}

// The manual page's FILES names exactly the locks the program takes.
TEST(SingleInstance, TheManualPageNamesBothLocks) {
    QFile page(QStringLiteral(SORVINTA_SOURCE_DIR "/packaging/sorvinta.1"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    const QString files = text.mid(text.indexOf(QStringLiteral(".SH FILES")));
    Variable runtime("XDG_RUNTIME_DIR", QStringLiteral("$XDG_RUNTIME_DIR"));
    // Only an absolute runtime folder counts; the page writes it as its variable.
    const QStringList paths = SingleInstance::lockPaths(QStringLiteral("$XDG_STATE_HOME/sorvinta"));
    ASSERT_EQ(paths.size(), 1);
    EXPECT_TRUE(files.contains(".I " + paths[0] + "\n")) << paths[0].toStdString();
    Variable absolute("XDG_RUNTIME_DIR", QStringLiteral("/run/user/1000"));
    const QStringList both = SingleInstance::lockPaths(QStringLiteral("/state"));
    ASSERT_EQ(both.size(), 2);
    const QString runtimeLock = both[0].mid(QStringLiteral("/run/user/1000").size());
    EXPECT_TRUE(files.contains(".I $XDG_RUNTIME_DIR" + runtimeLock + "\n"))
        << runtimeLock.toStdString();
    EXPECT_EQ(files.count(QStringLiteral(".lock")), 3) << "two locks, one default path";
}
