#include "recorder/take_recovery.h"

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

void TakeRecovery::offer(TakeFile& take) {
    const std::string what =
        "recording of " + takeDurationText(take.seconds()) + " from " + startText(take.started());
    for (;;) {
        const MessageAnswer answer =
            m_boxes.show("A " + what + " was not saved.", kAppTitle, MessageIcon::Question,
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
        const std::optional<PlaceProblem> problem = take.saveTo(*place, m_progress);
        if (!problem)
            return;
        m_boxes.show("The recording could not be saved to " + *place + ": " + problem->reason + ".",
                     "Error", MessageIcon::None, MessageButtons::Ok);
    }
}
