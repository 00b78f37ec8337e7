#include "controls/progress_bar/progress_bar_accessible.h"

#include "controls/progress_bar/xp_progress_bar.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

class ProgressBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressBarAccessible(XP_ProgressBar* bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    XP_ProgressBar* bar() const { return static_cast<XP_ProgressBar*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return QString::number(bar()->Value());
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // Read only: the bar shows a value, the user does not set it.
    QVariant currentValue() const override { return bar()->Value(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return bar()->Max(); }
    QVariant minimumValue() const override { return bar()->Min(); }
    QVariant minimumStepSize() const override { return 0; }
};

QAccessibleInterface* progressBarFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("XP_ProgressBar"))
        if (auto* bar = qobject_cast<XP_ProgressBar*>(object))
            return new ProgressBarAccessible(bar);
    return nullptr;
}

} // namespace

void installProgressBarAccessibility() {
    // Qt keeps one of each factory: a second install adds nothing.
    QAccessible::installFactory(progressBarFactory);
}

void notifyProgressBarValue(XP_ProgressBar* bar) {
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(bar, bar->Value());
    QAccessible::updateAccessibility(&event);
}
