#pragma once

#include <QLockFile>
#include <QString>

// A per-user lock held for the life of the program. A copy that crashed leaves a lock file
// whose process is gone; the next start takes it over.
class SingleInstance {
public:
    // `lockPath` defaults to a file in the user's runtime directory.
    explicit SingleInstance(const QString& lockPath = defaultLockPath());
    bool isFirst() const { return m_first; }

    static QString defaultLockPath();

private:
    QLockFile m_lock;
    bool m_first = false;
};
