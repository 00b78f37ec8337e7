#include "platform/ui/qt_message_box.h"

#include <QMessageBox>

MessageAnswer QtMessageBox::show(const std::string& text, const std::string& title,
                                 MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(m_parent);
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(text));
    // What a box says can be copied, such as an address or a path it names.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    switch (icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    if (buttons == MessageButtons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}
