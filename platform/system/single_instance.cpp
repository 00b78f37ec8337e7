#include "platform/system/single_instance.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

SingleInstance::SingleInstance(const QString& lockPath) : m_lock(lockPath) {
    // Age alone never makes the lock stale: a long recording keeps it for hours.
    m_lock.setStaleLockTime(0);
    m_first = m_lock.tryLock(0);
}

QString SingleInstance::defaultLockPath() {
    // The user's own runtime folder, not $XDG_RUNTIME_DIR: scripts that start a private audio
    // server point that variable elsewhere, and the lock must be the same for every copy.
    QString dir = QStringLiteral("/run/user/%1").arg(getuid());
    if (!QFileInfo(dir).isDir() || !QFileInfo(dir).isWritable())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/sorvinta-%1.lock").arg(getuid());
}
