#pragma once

#include <string>

enum class MessageIcon { None, Exclamation, Critical, Question, Information };
// SaveLaterDiscard: "Save…", "Later" and "Discard", for a take that was not saved; closing the
// box answers Later.
enum class MessageButtons { Ok, OkCancel, SaveLaterDiscard };
enum class MessageAnswer { Ok, Cancel, Save, Later, Discard };

// Modal message boxes; the title of boxes without their own is the application's, "Sorvinta".
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual MessageAnswer show(const std::string& text, const std::string& title, MessageIcon icon,
                               MessageButtons buttons) = 0;
};

inline constexpr const char* kAppTitle = "Sorvinta";
