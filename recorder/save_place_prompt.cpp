#include "recorder/save_place_prompt.h"

#include "platform/spool/save_place.h"
#include "platform/system/file_system.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"

std::optional<std::string> savePlaceProblem(const std::string& path, const char* verb) {
    const std::optional<PlaceProblem> problem = checkSavePlace(path);
    if (!problem)
        return std::nullopt;
    return std::string("Cannot ") + verb + " to " + path + ": " + problem->reason + ".";
}

std::optional<std::string> askSavePlace(FileDialog& dialog, MessageBox& boxes) {
    while (dialog.showSave()) {
        const std::string path = dialog.fileName();
        if (const auto problem = savePlaceProblem(path)) {
            boxes.show(*problem, kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
            continue;
        }
        if (fileExists(path) &&
            boxes.show("File already exists ! Overwrite ?", kAppTitle, MessageIcon::None,
                       MessageButtons::OkCancel) == MessageAnswer::Cancel)
            continue;
        return path;
    }
    return std::nullopt;
}
