#include "platform/system/single_instance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SingleInstance::SingleInstance(const QStringList& lockPaths) {
    for (const QString& path : lockPaths) {
        // The state folder may not exist before the first recording; it is the user's own.
        const QString folder = QFileInfo(path).path();
        if (!QFileInfo::exists(folder) && QDir().mkpath(folder))
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        // A place where no lock can be made checks nothing; the other one still does.
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            m_first = false;
            continue;
        }
        m_fds.push_back(fd);
    }
}

SingleInstance::~SingleInstance() {
    for (const int fd : m_fds)
        ::close(fd);
}

QStringList SingleInstance::lockPaths(const QString& stateFolder) {
    QStringList paths;
    // Only an absolute path counts, as for every XDG variable.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.startsWith(QLatin1Char('/')))
        paths << runtime + QStringLiteral("/sorvinta.lock");
    if (!stateFolder.isEmpty())
        paths << stateFolder + QStringLiteral("/instance.lock");
    return paths;
}
