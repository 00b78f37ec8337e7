#include "platform/single_instance.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

SingleInstance::SingleInstance(const QString& lockPath) : m_lock(lockPath) {
    // Age alone never makes the lock stale: a long recording keeps it for hours.
    m_lock.setStaleLockTime(0);
    m_first = m_lock.tryLock(0);
}

QString SingleInstance::defaultLockPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/sorvinta-%1.lock").arg(getuid());
}
