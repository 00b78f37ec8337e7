#include "platform/ui/qt_message_box.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

// A zero-width space: invisible, but a line may break there.
constexpr QChar kBreak(0x200B);
// Words longer than this get places to break.
constexpr int kLongWord = 40;

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

const char* const kAnswerProperty = "sorvintaAnswer";

} // namespace

QString breakableText(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    int i = 0;
    while (i < text.size()) {
        if (text[i].isSpace()) {
            out += text[i++];
            continue;
        }
        int end = i;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        // Short words keep wrapping as words; a long one may break after a slash, or every
        // kLongWord characters where it has none.
        const bool longWord = end - i > kLongWord;
        const int start = i;
        int sinceBreak = 0;
        for (; i < end; ++i) {
            out += text[i];
            ++sinceBreak;
            const bool slash = text[i] == QLatin1Char('/') && i > start;
            if (longWord && i + 1 < end && (slash || sinceBreak >= kLongWord)) {
                out += kBreak;
                sinceBreak = 0;
            }
        }
    }
    return out;
}

std::unique_ptr<QMessageBox> QtMessageBox::build(const std::string& text, const std::string& title,
                                                 MessageIcon icon, MessageButtons buttons) const {
    auto box = std::make_unique<QMessageBox>(m_parent);
    box->setWindowTitle(QString::fromStdString(title));
    box->setTextFormat(Qt::PlainText);
    box->setText(breakableText(QString::fromStdString(text)));
    // What a box says can be copied, such as an address or a path it names; the invisible
    // break marks are taken out of what is copied, so a copied path is the path itself.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QClipboard* clipboard = QGuiApplication::clipboard();
    QObject::connect(clipboard, &QClipboard::changed, box.get(),
                     [clipboard, shown = box.get()](QClipboard::Mode mode) {
                         // Only what was copied from this box: another program's copy is
                         // left as it is.
                         const QString copied = clipboard->text(mode);
                         if (copied.contains(kBreak) && shown->text().contains(copied))
                             clipboard->setText(QString(copied).remove(kBreak), mode);
                     });
    box->setIcon(qtIcon(icon));
    switch (buttons) {
    case MessageButtons::Ok:
        box->setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Ok);
        break;
    case MessageButtons::SaveLaterDiscard: {
        const auto add = [&](const QString& caption, QMessageBox::ButtonRole role,
                             MessageAnswer answer) {
            QPushButton* button = box->addButton(caption, role);
            button->setProperty(kAnswerProperty, static_cast<int>(answer));
            return button;
        };
        box->setDefaultButton(
            add(QStringLiteral("Save…"), QMessageBox::AcceptRole, MessageAnswer::Save));
        box->setEscapeButton(
            add(QStringLiteral("Later"), QMessageBox::RejectRole, MessageAnswer::Later));
        add(QStringLiteral("Discard"), QMessageBox::DestructiveRole, MessageAnswer::Discard);
        break;
    }
    }
    return box;
}

MessageAnswer QtMessageBox::show(const std::string& text, const std::string& title,
                                 MessageIcon icon, MessageButtons buttons) {
    const std::unique_ptr<QMessageBox> box = build(text, title, icon, buttons);
    const int result = box->exec();
    if (buttons == MessageButtons::SaveLaterDiscard) {
        const QAbstractButton* clicked = box->clickedButton();
        return clicked ? static_cast<MessageAnswer>(clicked->property(kAnswerProperty).toInt())
                       : MessageAnswer::Later;
    }
    return result == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}
