#include "recorder/recording.h"

#include "common/rounding.h"
#include "platform/mci/command_device.h"
#include "platform/system/clock.h"
#include "platform/system/file_system.h"
#include "platform/ui/event_pump.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"
#include "recorder/playback_stopper.h"
#include "recorder/record_formats.h"
#include "recorder/record_readout.h"
#include "recorder/record_target.h"
#include "recorder/status_word.h"

#include <clocale>
#include <unistd.h>

namespace {
constexpr std::size_t kReplySize = 1024;
constexpr std::size_t kLengthReplySize = 255;

char localeDecimalPoint() {
    const std::lconv* conv = std::localeconv();
    return conv && conv->decimal_point && conv->decimal_point[0] ? conv->decimal_point[0] : '.';
}
} // namespace

Recording::Recording(RecordingView& view, RecordingServices services, PlaybackStopper& playback)
    : m_view(view), m_services(services), m_playback(playback) {}

void Recording::cmdRecordClick() {
    if (m_isRecording)
        return;
    m_playback.stopForRecording();

    const std::string path = m_view.fileNameText();
    MessageBox& boxes = m_services.messages;
    if (path.empty()) {
        boxes.show("Please Enter A File Name To Save !", kAppTitle, MessageIcon::Exclamation,
                   MessageButtons::Ok);
        return;
    }
    if (auto problem = targetNameProblem(path)) {
        boxes.show(*problem, kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    if (fileExists(path) &&
        boxes.show("File already exists ! Overwrite ?", kAppTitle, MessageIcon::None,
                   MessageButtons::OkCancel) == MessageAnswer::Cancel)
        return;
    // Refuse a place that cannot be written before anything is recorded.
    const TargetPreparation target = prepareTarget(path);
    if (target.problem) {
        boxes.show(*target.problem, kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }

    m_view.setStatus(status_word::kRecord, status_word::kRecordColour);
    m_view.setStopEnabled(true);
    RecordWave(shortPathName(path), target.created);
}

void Recording::RecordWave(const std::string& path, bool createdTarget) {
    m_view.setRecordEnabled(false);

    // The first failure is reported and ends the attempt: nothing loops on a device that
    // never opened or never started.
    const bool opened = sendReported(record_commands::kOpen);
    const bool started =
        opened && sendReported(record_commands::setFormat(m_bitsPerSample, m_samplesPerSec)) &&
        sendReported(record_commands::kRecord);
    if (!started) {
        if (opened)
            m_services.device.sendString(record_commands::kClose, nullptr, 0);
        returnToIdle();
        if (createdTarget)
            ::unlink(path.c_str());
        return;
    }

    m_isRecording = true;
    m_pollFailure.clear();
    m_recordStartTime = roundToInt(m_services.clock.seconds());
    while (m_isRecording) {
        ShowRecordProgress();
        m_services.pump.processEvents(kLoopWaitMs);
    }

    const bool saved = sendReported(record_commands::save(path));
    sendReported(record_commands::kClose);

    if (!m_pollFailure.empty()) {
        // The device gave up mid-take: keep what was saved, go back to idle and say so.
        returnToIdle();
        std::string text = "The recording stopped early: " + m_pollFailure;
        if (saved)
            text += " What was recorded up to then has been saved.";
        m_services.messages.show(text, "Error", MessageIcon::None, MessageButtons::Ok);
    }
}

void Recording::ShowRecordProgress() {
    const double elapsed = m_services.clock.seconds() - m_recordStartTime;
    m_view.setTimeText(formatRecordTime(roundToInt(elapsed)));

    CommandDevice& device = m_services.device;
    const auto fail = [&](int code) {
        m_isRecording = false;
        if (m_pollFailure.empty())
            m_pollFailure = device.errorString(code);
    };
    if (const int code = device.sendString(record_commands::kTimeFormatBytes, nullptr, 0))
        fail(code);
    std::string reply;
    if (const int code =
            device.sendString(record_commands::kStatusLength, &reply, kLengthReplySize)) {
        fail(code);
        return; // no number to show: the read-out keeps its last size
    }
    m_view.setSizeText(formatRecordSize(parseLengthReply(reply), localeDecimalPoint()));
}

bool Recording::sendReported(const std::string& command) {
    std::string reply;
    const int code = m_services.device.sendString(command, &reply, kReplySize);
    if (code != 0)
        m_services.messages.show(m_services.device.errorString(code), "Error", MessageIcon::None,
                                 MessageButtons::Ok);
    return code == 0;
}

void Recording::cmdStopClick() {
    if (!m_view.recordEnabled())
        m_isRecording = false;
    m_view.setRecordEnabled(true);
    m_view.setStopEnabled(false);
    m_view.setStatus(status_word::kStop, status_word::kStopAfterRecordingColour);
}

void Recording::returnToIdle() {
    m_isRecording = false;
    m_view.setRecordEnabled(true);
    m_view.setStopEnabled(false);
    m_view.setStatus(status_word::kStop, status_word::kStopAfterRecordingColour);
}

void Recording::optFreqClick(int index) {
    if (index < 0 || index >= static_cast<int>(kRecordFormats.size()))
        return;
    const RecordFormat& format = kRecordFormats[static_cast<std::size_t>(index)];
    m_bitsPerSample = format.bitsPerSample;
    m_samplesPerSec = format.samplesPerSec;
    m_view.setSettingsText(format.caption);
}

void Recording::command1Click() {
    // A cancelled dialog leaves the path as it was.
    if (m_services.dialog.showSave())
        m_view.setFileNameText(m_services.dialog.fileName());
}

bool Recording::refuseCloseWhileRecording() {
    if (!m_isRecording)
        return false;
    cmdStopClick();
    return true;
}
