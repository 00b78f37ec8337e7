#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>
#include <utility>
#include <vector>

// A PATH of the test's own, with no browser in it, and a desktop that names none: without a
// display, a desktop session or $BROWSER the opener can only try the programs on this PATH.
class NoBrowserDesktop {
public:
    NoBrowserDesktop() {
        for (const char* name : {"PATH", "BROWSER", "DISPLAY", "WAYLAND_DISPLAY",
                                 "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
            m_saved.push_back({name, qEnvironmentVariableIsSet(name)
                                         ? std::optional<QByteArray>(qgetenv(name))
                                         : std::nullopt});
            qunsetenv(name);
        }
        qputenv("PATH", m_bin.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", m_bin.filePath("nothing").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", m_bin.filePath("nothing").toLocal8Bit());
    }
    ~NoBrowserDesktop() {
        for (const auto& [name, value] : m_saved) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }
    // The desktop's real opener, behind a stand-in that notes each address, with the tools a
    // shell script needs from the system. False when the system has no xdg-open.
    bool addRealOpener() {
        const QString real =
            QStandardPaths::findExecutable(QStringLiteral("xdg-open"), systemPath());
        if (real.isEmpty())
            return false;
        for (const char* tool :
             {"xdg-mime", "sh", "grep", "egrep", "sed", "cut", "tr", "head", "cat", "basename",
              "dirname", "readlink", "realpath", "sort", "awk", "mawk", "which"}) {
            const QString found =
                QStandardPaths::findExecutable(QString::fromLatin1(tool), systemPath());
            if (!found.isEmpty())
                QFile::link(found, m_bin.filePath(QString::fromLatin1(tool)));
        }
        addOpener(QStringLiteral("exec '") + real + QStringLiteral("' \"$@\""));
        return true;
    }
    // A stand-in opener: a shell script with `body`, which writes its argument to `log`.
    void addOpener(const QString& body) {
        QFile script(m_bin.filePath("xdg-open"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$1\" >> '" + log().toLocal8Bit() + "'\n" +
                     body.toLocal8Bit() + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString log() const { return m_bin.filePath("opened.log"); }
    QStringList opened() const {
        QFile file(log());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QStringList systemPath() const {
        for (const auto& [name, value] : m_saved)
            if (qstrcmp(name, "PATH") == 0 && value)
                return QString::fromLocal8Bit(*value).split(QLatin1Char(':'));
        return {QStringLiteral("/usr/bin"), QStringLiteral("/bin")};
    }

    QTemporaryDir m_bin;
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};
