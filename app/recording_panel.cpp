#include "app/recording_panel.h"

#include "app/form_look.h"
#include "recorder/status_word.h"

#include <QLabel>
#include <QLineEdit>

RecordingPanel::RecordingPanel(const Controls& controls, StatusModel& status)
    : m_controls(controls), m_status(status), m_sizeName(controls.size, 500) {}

std::string RecordingPanel::fileNameText() const {
    return m_controls.fileName->text().toStdString();
}

void RecordingPanel::setFileNameText(const std::string& text) {
    m_controls.fileName->setText(QString::fromStdString(text));
}

void RecordingPanel::setStatus(const std::string& text, std::uint32_t colour) {
    m_status.set(text, colour);
}

bool RecordingPanel::recordEnabled() const {
    return m_controls.record->Enabled();
}

void RecordingPanel::setRecordEnabled(bool enabled) {
    m_controls.record->setEnabled(enabled);
}

void RecordingPanel::setStopEnabled(bool enabled) {
    m_controls.stop->setEnabled(enabled);
}

void RecordingPanel::setSettingsText(const std::string& text) {
    m_controls.settings->setText(QString::fromStdString(text));
}

void RecordingPanel::setTimeText(const std::string& text) {
    m_controls.time->setText(QString::fromStdString(text));
    fitToText(m_controls.time, Anchor::Centre);
}

void RecordingPanel::setSizeText(const std::string& text) {
    m_controls.size->setText(QString::fromStdString(text));
    fitToText(m_controls.size, Anchor::Right);
    m_sizeName.set(m_controls.size->text());
}
