#pragma once

#include <string>

enum class MessageIcon { None, Exclamation, Critical, Question, Information };
enum class MessageButtons { Ok, OkCancel };
enum class MessageAnswer { Ok, Cancel };

// Modal message boxes; the title of boxes without their own is the application's, "Sorvinta".
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual MessageAnswer show(const std::string& text, const std::string& title, MessageIcon icon,
                               MessageButtons buttons) = 0;
};

inline constexpr const char* kAppTitle = "Sorvinta";
