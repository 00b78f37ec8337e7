#include "recorder/save_place_prompt.h"

#include "platform/spool/save_place.h"
#include "platform/spool/spool_messages.h"
#include "platform/system/file_system.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"

bool placeAccepted(const std::string& path, MessageBox& boxes, const char* verb) {
    if (const SpoolResult<void> place = checkSavePlace(path); !place) {
        boxes.show(std::string("Cannot ") + verb + " to " + path + ": " +
                       placeReason(place.cause()) + ".",
                   kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    return !fileExists(path) ||
           boxes.show("File already exists ! Overwrite ?", kAppTitle, MessageIcon::None,
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
