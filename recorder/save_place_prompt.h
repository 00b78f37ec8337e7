#pragma once

#include <optional>
#include <string>

class FileDialog;
class MessageBox;

// Asks where to save a take that is not saved yet: the save dialog, then the checks the save
// will need (each refusal shown, and the dialog again) and the overwrite question (Cancel shows
// the dialog again). Nothing when the user cancels the dialog.
std::optional<std::string> askSavePlace(FileDialog& dialog, MessageBox& boxes);

// "Cannot save to PATH: REASON." when a save to `path` cannot work; nothing when it can.
std::optional<std::string> savePlaceProblem(const std::string& path, const char* verb = "save");
