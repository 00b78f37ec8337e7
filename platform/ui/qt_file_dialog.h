#pragma once

#include "platform/ui/file_dialog.h"

#include <QString>

#include <functional>

class QWidget;

class QtFileDialog : public FileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : m_parent(parent) {}
    bool showSave() override;
    bool showOpen() override;
    std::string fileName() const override { return m_fileName; }
    void setFileName(const std::string& path) override { m_fileName = path; }
    // The path the window is about to record to (its file name box), where the dialogs start
    // when they have nothing better.
    void setRecordPath(std::function<QString()> recordPath) {
        m_recordPath = std::move(recordPath);
    }

private:
    QString recordPath() const { return m_recordPath ? m_recordPath() : QString(); }

    QWidget* m_parent;
    std::string m_fileName;
    std::function<QString()> m_recordPath;
};

// "WAV Files (*.wav)|*.wav" in the form Qt's dialogs take: "WAV Files (*.wav)".
QString qtFilterFrom(const char* pipeFilter);

// Where a file dialog starts: the first absolute path of `candidates` whose folder exists (the file
// itself when `needExisting` is false or it exists, else its folder), otherwise the user's Music
// folder, otherwise the home folder. Never the process's working folder.
QString dialogStartPath(const QStringList& candidates, bool needExisting);

// A name typed without any extension gets ".wav"; one with an extension keeps it.
QString withWavSuffix(const QString& path);
