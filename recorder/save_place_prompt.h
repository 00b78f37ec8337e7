#pragma once

#include <optional>
#include <string>

class FileDialog;
class MessageBox;

// Asks where to save a take that is not saved yet: the save dialog, then the checks the save
// will need (each refusal shown, and the dialog again) and the overwrite question (Cancel shows
// the dialog again). Nothing when the user cancels the dialog.
std::optional<std::string> askSavePlace(FileDialog& dialog, MessageBox& boxes);

// True when a take may go to `path`: every check the save will need passes ("Cannot VERB to
// PATH: REASON." otherwise), then, for an existing file, the overwrite question is answered OK.
// The question comes last, so nobody confirms an overwrite that is then refused.
bool placeAccepted(const std::string& path, MessageBox& boxes, const char* verb);
