#include "controls/bevel_button/bvl_button_accessible.h"

#include "controls/bevel_button/bvl_button.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

class BevelButtonAccessible : public QAccessibleWidget {
public:
    explicit BevelButtonAccessible(bvlBUTTON* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    bvlBUTTON* button() const { return static_cast<bvlBUTTON*>(widget()); }

    QAccessible::Role role() const override {
        switch (button()->Behaviour()) {
        case bvlBUTTON::Check:
            return QAccessible::CheckBox;
        case bvlBUTTON::Option:
            return QAccessible::RadioButton;
        default:
            return QAccessible::Button;
        }
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString caption = button()->Caption();
            return caption.isEmpty() ? button()->toolTip() : caption;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.disabled = !button()->Enabled();
        const bool down = (button()->ButtonState() & bvlBUTTON::StateDown) != 0;
        if (button()->Behaviour() == bvlBUTTON::Check ||
            button()->Behaviour() == bvlBUTTON::Option) {
            s.checkable = true;
            s.checked = button()->Value();
        } else {
            s.pressed = down;
        }
        return s;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (button()->Enabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& actionName) override {
        // A click may run for as long as a recording lasts; the assistive tool that asked must
        // not wait for it, so the press is queued and the call returns at once.
        if (actionName == pressAction())
            QMetaObject::invokeMethod(button(), &bvlBUTTON::AccessiblePress, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(actionName);
    }

    QStringList keyBindingsForAction(const QString& actionName) const override {
        QStringList keys;
        if (actionName == pressAction())
            for (const QChar c : button()->AccessKeys())
                if (!c.isSpace())
                    keys << QStringLiteral("Alt+") + c.toUpper();
        return keys;
    }
};

QAccessibleInterface* bevelButtonFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("bvlBUTTON"))
        if (auto* button = qobject_cast<bvlBUTTON*>(object))
            return new BevelButtonAccessible(button);
    return nullptr;
}

} // namespace

void installBevelButtonAccessibility() {
    // Qt keeps one of each factory: a second install adds nothing.
    QAccessible::installFactory(bevelButtonFactory);
}

void notifyBevelButtonName(bvlBUTTON* button) {
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(button, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void notifyBevelButtonState(bvlBUTTON* button) {
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    if (button->Behaviour() == bvlBUTTON::Check || button->Behaviour() == bvlBUTTON::Option)
        changed.checked = true;
    else
        changed.pressed = true;
    QAccessibleStateChangeEvent event(button, changed);
    QAccessible::updateAccessibility(&event);
}

void notifyBevelButtonEnabled(bvlBUTTON* button) {
    if (!QAccessible::isActive())
        return;
    // Told as "enabled" and "sensitive" to AT-SPI.
    QAccessible::State changed;
    changed.disabled = true;
    QAccessibleStateChangeEvent event(button, changed);
    QAccessible::updateAccessibility(&event);
}
