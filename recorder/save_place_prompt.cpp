#include "recorder/save_place_prompt.h"

#include "platform/spool/save_place.h"
#include "platform/system/file_system.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"
#include "recorder/recorder_messages.h"

bool placeAccepted(const std::string& path, MessageBox& boxes, const char* verb) {
    if (const SpoolResult<void> place = checkSavePlace(path); !place) {
        boxes.show(recorder_messages::placeRefused(verb, path, place.cause()), kAppTitle,
                   MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    return !fileExists(path) ||
           boxes.show(recorder_messages::kOverwrite, kAppTitle, MessageIcon::None,
                      MessageButtons::OkCancel) == MessageAnswer::Ok;
}

std::optional<std::string> askSavePlace(FileDialog& dialog, MessageBox& boxes) {
    while (dialog.showSave()) {
        const std::string path = dialog.fileName();
        if (placeAccepted(path, boxes, "save"))
            return path;
    }
    return std::nullopt;
}
