#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The lock that lets one copy of the program run per user. It is a set of lock files, each held
// (flock) for the life of the program: the first copy is the one that got every one of them. A
// lock goes with its process however it ends, so a crashed copy never keeps the next one out.
class SingleInstance {
public:
    explicit SingleInstance(const QStringList& lockPaths);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool isFirst() const { return m_first; }

    // Where the locks of a program whose state folder (the one that holds its spool) is
    // `stateFolder` live: $XDG_RUNTIME_DIR when it is set, and the state folder itself, so
    // that two copies never record into one spool whatever their TMPDIR or XDG_RUNTIME_DIR.
    // An empty state folder adds none.
    static QStringList lockPaths(const QString& stateFolder);

private:
    std::vector<int> m_fds;
    bool m_first = true;
};
