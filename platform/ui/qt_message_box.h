#pragma once

#include "platform/ui/message_box.h"

#include <memory>

class QMessageBox;
class QString;
class QWidget;

class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr) : m_parent(parent) {}
    MessageAnswer show(const std::string& text, const std::string& title, MessageIcon icon,
                       MessageButtons buttons) override;

    // The box show() runs, built but not shown.
    std::unique_ptr<QMessageBox> build(const std::string& text, const std::string& title,
                                       MessageIcon icon, MessageButtons buttons) const;

private:
    QWidget* m_parent;
};

// `text` with a place to wrap inside every long word: after each slash of a long path and, in a
// long run without one, every so many characters; so a box for a long path fits the screen.
QString breakableText(const QString& text);
