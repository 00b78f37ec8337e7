#include "platform/ui/qt_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

QString qtFilterFrom(const char* pipeFilter) {
    // Pairs of description|pattern; Qt's own descriptions already carry the pattern.
    const QStringList parts = QString::fromLatin1(pipeFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        filters << parts[i];
    return filters.join(QStringLiteral(";;"));
}

QString dialogStartPath(const QStringList& candidates, bool needExisting) {
    for (const QString& candidate : candidates) {
        // A relative name says nothing about a folder the user has seen.
        if (!QDir::isAbsolutePath(candidate))
            continue;
        const QFileInfo info(candidate);
        if (info.isDir())
            return info.absoluteFilePath();
        if (!info.absoluteDir().exists())
            continue;
        return !needExisting || info.isFile() ? info.absoluteFilePath() : info.absolutePath();
    }
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QFileInfo(music).isDir())
        return music;
    return QDir::homePath();
}

QString withWavSuffix(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QStringLiteral(".wav");
}

bool QtFileDialog::showSave() {
    // The main window asks about overwriting itself when recording starts.
    const QString start =
        dialogStartPath({recordPath(), QString::fromStdString(m_fileName)}, false);
    const QString chosen =
        QFileDialog::getSaveFileName(m_parent, QString(), start, qtFilterFrom(kWavFilter), nullptr,
                                     QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return false;
    m_fileName = withWavSuffix(chosen).toStdString();
    return true;
}

bool QtFileDialog::showOpen() {
    const QString start = dialogStartPath({QString::fromStdString(m_fileName), recordPath()}, true);
    const QString chosen =
        QFileDialog::getOpenFileName(m_parent, QString(), start, qtFilterFrom(kWavFilter));
    if (chosen.isEmpty())
        return false;
    m_fileName = chosen.toStdString();
    return true;
}
