#pragma once

#include "platform/ui/file_dialog.h"

class QString;
class QWidget;

class QtFileDialog : public FileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : m_parent(parent) {}
    bool showSave() override;
    bool showOpen() override;
    std::string fileName() const override { return m_fileName; }
    void setFileName(const std::string& path) override { m_fileName = path; }

private:
    QWidget* m_parent;
    std::string m_fileName;
};

// "WAV Files (*.wav)|*.wav" in the form Qt's dialogs take: "WAV Files (*.wav)".
QString qtFilterFrom(const char* pipeFilter);
