#pragma once

#include "platform/ui/message_box.h"

class QWidget;

class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr) : m_parent(parent) {}
    MessageAnswer show(const std::string& text, const std::string& title, MessageIcon icon,
                       MessageButtons buttons) override;

private:
    QWidget* m_parent;
};
