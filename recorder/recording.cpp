#include "recorder/recording.h"

#include "common/rounding.h"
#include "platform/audio/wave_format.h"
#include "platform/mci/command_device.h"
#include "platform/mci/command_errors.h"
#include "platform/system/clock.h"
#include "platform/ui/event_pump.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"
#include "recorder/playback_stopper.h"
#include "recorder/record_formats.h"
#include "recorder/record_readout.h"
#include "recorder/recorder_messages.h"
#include "recorder/save_place_prompt.h"
#include "recorder/status_word.h"
#include "recorder/take_recovery.h"

#include <clocale>
#include <cstdlib>

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

namespace {

// Holds a flag for one scope.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_flag;
};

} // namespace

void Recording::cmdRecordClick() {
    if (isRecording())
        return;
    m_playback.stopForRecording();

    const std::string path = m_view.fileNameText();
    MessageBox& boxes = m_services.messages;
    if (path.empty()) {
        boxes.show(recorder_messages::kNoFileName, kAppTitle, MessageIcon::Exclamation,
                   MessageButtons::Ok);
        return;
    }
    // Everything the save will need is tested before anything is recorded.
    if (!placeAccepted(path, boxes, "record"))
        return;

    m_view.setStatus(status_word::kRecord, status_word::kRecordColour);
    m_view.setStopEnabled(true);
    // Linux has no short names: the path goes to the device as typed, and nothing is created
    // at it until the take is saved there.
    RecordWave(path);
}

void Recording::RecordWave(const std::string& path) {
    const BusyScope busy(m_busy);
    m_view.setRecordEnabled(false);
    // The window's events run while the device opens and starts: a Stop among them ends the
    // take as soon as it has started.
    m_isRecording = true;

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
        return;
    }

    m_pollFailure.clear();
    m_lastLength = 0;
    m_bytesPerSecond = WaveFormat{std::atoi(m_samplesPerSec.c_str()),
                                  std::atoi(m_bitsPerSample.c_str()), kRecordChannels}
                           .bytesPerSecond();
    m_recordStartTime = roundToInt(m_services.clock.seconds());
    while (m_isRecording) {
        ShowRecordProgress();
        // The window's events run as they arrive; Stop ends the wait at once.
        m_services.pump.waitUntil([this] { return !m_isRecording; }, kLoopWaitMs);
    }

    bool endedEarly = !m_pollFailure.empty();
    const std::optional<std::string> savedAt = saveTake(path, endedEarly);
    sendReported(record_commands::kClose);

    if (!m_pollFailure.empty()) {
        // The device gave up mid-take: go back to idle and say why and what was kept.
        returnToIdle();
        if (savedAt)
            m_services.messages.show(
                recorder_messages::endedEarlySaved(m_pollFailure, recordedSeconds(), *savedAt),
                "Error", MessageIcon::None, MessageButtons::Ok);
    }
}

std::optional<std::string> Recording::saveTake(const std::string& path, bool& endedEarly) {
    CommandDevice& device = m_services.device;
    MessageBox& boxes = m_services.messages;
    std::string place = path;
    for (;;) {
        std::string reply;
        const int code = device.sendString(record_commands::save(place), &reply, kReplySize);
        if (code == 0)
            return place;
        if (code == toCode(CommandError::SavedEndedEarly)) {
            // Saved; the take had ended between the last poll and the save.
            if (!endedEarly)
                boxes.show(device.errorString(code), "Error", MessageIcon::None,
                           MessageButtons::Ok);
            endedEarly = true;
            return place;
        }
        // Nothing is lost: the take stays with the device until it is saved somewhere or the
        // user throws it away.
        boxes.show(recorder_messages::chooseAnotherPlace(device.errorString(code)), "Error",
                   MessageIcon::None, MessageButtons::Ok);
        // The dialog opens where the save failed.
        m_services.dialog.setFileName(place);
        std::optional<std::string> other;
        while (!(other = askSavePlace(m_services.dialog, boxes))) {
            if (boxes.show(recorder_messages::discardQuestion(
                               recorder_messages::recordingOf(recordedSeconds())),
                           kAppTitle, MessageIcon::Exclamation,
                           MessageButtons::OkCancel) == MessageAnswer::Ok) {
                sendReported(record_commands::kDelete);
                return std::nullopt;
            }
        }
        place = *other;
        m_view.setFileNameText(place);
    }
}

double Recording::recordedSeconds() const {
    return m_bytesPerSecond > 0 ? static_cast<double>(m_lastLength) / m_bytesPerSecond : 0.0;
}

void Recording::recoverTakes() {
    if (isRecording())
        return;
    const BusyScope busy(m_busy);
    TakeRecovery(m_services.spool, m_services.messages, m_services.dialog, m_services.progress)
        .run();
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
        // A take that ended early still says how long it is: what the message reports is
        // what was kept, not what the last good poll saw.
        if (reply.empty())
            return; // no number to show: the read-out keeps its last size
    }
    m_lastLength = parseLengthReply(reply);
    m_view.setSizeText(formatRecordSize(m_lastLength, localeDecimalPoint()));
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
        return m_busy;
    cmdStopClick();
    return true;
}
