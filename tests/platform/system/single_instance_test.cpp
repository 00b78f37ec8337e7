#include "platform/system/single_instance.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

TEST(SingleInstance, SecondCopyIsRefusedWhileTheFirstRuns) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sorvinta.lock");
    {
        const SingleInstance first(path);
        EXPECT_TRUE(first.isFirst());
        const SingleInstance second(path);
        EXPECT_FALSE(second.isFirst());
    }
    const SingleInstance afterwards(path);
    EXPECT_TRUE(afterwards.isFirst());
}

TEST(SingleInstance, LockOfACrashedCopyIsTakenOver) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sorvinta.lock");
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    // The lock file's format: process id, application name, host name. No such process runs.
    stale.write(QByteArray("2147483000\nsorvinta\n") + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    const SingleInstance next(path);
    EXPECT_TRUE(next.isFirst());
}
