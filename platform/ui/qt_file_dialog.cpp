#include "platform/ui/qt_file_dialog.h"

#include <QFileDialog>
#include <QStringList>

QString qtFilterFrom(const char* pipeFilter) {
    // Pairs of description|pattern; Qt's own descriptions already carry the pattern.
    const QStringList parts = QString::fromLatin1(pipeFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        filters << parts[i];
    return filters.join(QStringLiteral(";;"));
}

bool QtFileDialog::showSave() {
    // The main window asks about overwriting itself when recording starts.
    const QString chosen = QFileDialog::getSaveFileName(
        m_parent, QString(), QString::fromStdString(m_fileName), qtFilterFrom(kWavFilter), nullptr,
        QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return false;
    m_fileName = chosen.toStdString();
    return true;
}

bool QtFileDialog::showOpen() {
    const QString chosen = QFileDialog::getOpenFileName(
        m_parent, QString(), QString::fromStdString(m_fileName), qtFilterFrom(kWavFilter));
    if (chosen.isEmpty())
        return false;
    m_fileName = chosen.toStdString();
    return true;
}
