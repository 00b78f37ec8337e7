#include "recorder/take_recovery.h"

#include "platform/spool/spool_messages.h"
#include "platform/spool/take_file.h"
#include "platform/spool/take_spool.h"
#include "platform/ui/message_box.h"
#include "recorder/save_place_prompt.h"

#include <cstdio>

TakeRecovery::TakeRecovery(const TakeSpool& spool, MessageBox& boxes, FileDialog& dialog,
                           CopyProgress* progress)
    : m_spool(spool), m_boxes(boxes), m_dialog(dialog), m_progress(progress) {}

std::string TakeRecovery::startText(std::time_t started) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    ::localtime_r(&started, &local);
    char text[48];
    std::snprintf(text, sizeof text, "%d %s %d %02d:%02d", local.tm_mday,
                  kMonths[local.tm_mon % 12], local.tm_year + 1900, local.tm_hour, local.tm_min);
    return text;
}

void TakeRecovery::run() {
    for (const auto& take : m_spool.leftovers())
        offer(*take);
}

std::string TakeRecovery::formatText(const WaveFormat& format) {
    std::string channels = format.channels == 1   ? "mono"
                           : format.channels == 2 ? "stereo"
                                                  : std::to_string(format.channels) + " channels";
    return std::to_string(format.samplesPerSec) + " samples a second, " +
           std::to_string(format.bitsPerSample) + " bit, " + channels;
}

void TakeRecovery::offer(TakeFile& take) {
    const std::string what =
        "recording of " + takeDurationText(take.seconds()) + " from " + startText(take.started());
    std::string question = "A " + what + " was not saved.";
    // Its sound is kept whole; only how to read it may be a guess.
    if (take.headerWasDamaged())
        question += "\n\nIts header was damaged. It is read as " + formatText(take.format()) +
                    "; if it does not sound right, its sound is still all there in the saved file.";
    for (;;) {
        const MessageAnswer answer = m_boxes.show(question, kAppTitle, MessageIcon::Question,
                                                  MessageButtons::SaveLaterDiscard);
        if (answer == MessageAnswer::Discard) {
            if (m_boxes.show("Discard the " + what + "? It cannot be recovered afterwards.",
                             kAppTitle, MessageIcon::Exclamation,
                             MessageButtons::OkCancel) == MessageAnswer::Ok) {
                take.discard();
                return;
            }
            continue;
        }
        if (answer != MessageAnswer::Save)
            return; // Later: it stays in the spool folder for the next start
        const std::optional<std::string> place = askSavePlace(m_dialog, m_boxes);
        if (!place)
            continue;
        const SpoolResult<void> saved = take.saveTo(*place, m_progress);
        if (saved)
            return;
        m_boxes.show("The recording could not be saved to " + *place + ": " +
                         placeReason(saved.cause()) + ".",
                     "Error", MessageIcon::None, MessageButtons::Ok);
    }
}
