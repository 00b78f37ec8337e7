#include "recorder/take_recovery.h"

#include "platform/spool/spool_messages.h"
#include "platform/spool/take_file.h"
#include "platform/spool/take_spool.h"
#include "platform/ui/message_box.h"
#include "recorder/recorder_messages.h"
#include "recorder/save_place_prompt.h"

TakeRecovery::TakeRecovery(const TakeSpool& spool, MessageBox& boxes, FileDialog& dialog,
                           CopyProgress* progress)
    : m_spool(spool), m_boxes(boxes), m_dialog(dialog), m_progress(progress) {}

void TakeRecovery::run() {
    for (const auto& take : m_spool.leftovers())
        offer(*take);
}

void TakeRecovery::offer(TakeFile& take) {
    const std::string what = recorder_messages::leftTake(take.seconds(), take.started());
    const std::string question =
        recorder_messages::leftTakeQuestion(what, take.headerWasDamaged(), take.format());
    for (;;) {
        const MessageAnswer answer = m_boxes.show(question, kAppTitle, MessageIcon::Question,
                                                  MessageButtons::SaveLaterDiscard);
        if (answer == MessageAnswer::Discard) {
            if (m_boxes.show(recorder_messages::discardQuestion(what), kAppTitle,
                             MessageIcon::Exclamation,
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
        m_boxes.show(saveFailedText(*place, saved.cause()), "Error", MessageIcon::None,
                     MessageButtons::Ok);
    }
}
