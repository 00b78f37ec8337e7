#pragma once

#include "app/calm_accessible_name.h"
#include "app/form_button.h"
#include "recorder/recording.h"

class QLabel;
class QLineEdit;
class StatusModel;

// The recording's side of the main window: the file name box, RECORD and STOP, the format's
// caption and the time and size read-outs. The status word goes to the window's status model.
class RecordingPanel : public RecordingView {
public:
    // The controls it shows on; the window makes and lays them out.
    struct Controls {
        QLineEdit* fileName = nullptr; // txtFileName
        FormButton* record = nullptr;  // cmdRecord
        FormButton* stop = nullptr;    // cmdStop
        QLabel* settings = nullptr;    // lblSettings
        QLabel* time = nullptr;        // lblTime
        QLabel* size = nullptr;        // lblSize
    };

    RecordingPanel(const Controls& controls, StatusModel& status);

    std::string fileNameText() const override;
    void setFileNameText(const std::string& text) override;
    void setStatus(const std::string& text, std::uint32_t colour) override;
    bool recordEnabled() const override;
    void setRecordEnabled(bool enabled) override;
    void setStopEnabled(bool enabled) override;
    void setSettingsText(const std::string& text) override;
    void setTimeText(const std::string& text) override;
    void setSizeText(const std::string& text) override;

private:
    Controls m_controls;
    StatusModel& m_status;
    // The size changes with every pass of a recording; a screen reader hears it a few times a
    // second.
    CalmAccessibleName m_sizeName;
};
