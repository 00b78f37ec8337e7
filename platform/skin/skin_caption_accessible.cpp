#include "platform/skin/skin_caption_accessible.h"

#include "platform/skin/skin_caption_bar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

namespace {

class CaptionButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CaptionButtonAccessible(SkinCaptionBar* bar, CaptionButton button)
        : m_bar(bar), m_button(button) {}

    bool isValid() const override { return !m_bar.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_bar ? m_bar->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_bar.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name)
            return QString();
        return m_button == CaptionButton::Close ? QStringLiteral("Close")
                                                : QStringLiteral("Minimise");
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!m_bar)
            return QRect();
        const QRect local = m_bar->buttonRect(m_button);
        return QRect(m_bar->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!m_bar || !m_bar->isVisible())
            s.invisible = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& actionName) override {
        if (actionName != pressAction() || !m_bar)
            return;
        // Queued: a close may be refused with a message box, and the asking tool must not wait.
        QWidget* window = m_bar->window();
        if (m_button == CaptionButton::Close)
            QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
        else
            QMetaObject::invokeMethod(window, &QWidget::showMinimized, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<SkinCaptionBar> m_bar;
    CaptionButton m_button;
};

class CaptionBarAccessible : public QAccessibleWidget {
public:
    explicit CaptionBarAccessible(SkinCaptionBar* bar)
        : QAccessibleWidget(bar, QAccessible::TitleBar) {
        std::vector<QAccessible::Id> ids;
        for (const CaptionButton button : {CaptionButton::Minimise, CaptionButton::Close}) {
            auto* child = new CaptionButtonAccessible(bar, button);
            // Registered, the cache owns them; they go when the caption bar goes.
            ids.push_back(QAccessible::registerAccessibleInterface(child));
            m_buttons.push_back(child);
        }
        QObject::connect(bar, &QObject::destroyed, [ids] {
            for (const QAccessible::Id id : ids)
                QAccessible::deleteAccessibleInterface(id);
        });
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString title = widget()->window()->windowTitle();
            if (!title.isEmpty())
                return title;
            const QString name = widget()->window()->accessibleName();
            return name.isEmpty() ? QStringLiteral("Caption bar") : name;
        }
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return static_cast<int>(m_buttons.size()); }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < childCount() ? m_buttons[static_cast<std::size_t>(index)]
                                                  : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t i = 0; i < m_buttons.size(); ++i)
            if (m_buttons[i] == child)
                return static_cast<int>(i);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (QAccessibleInterface* child : m_buttons)
            if (child->rect().contains(x, y))
                return child;
        return nullptr;
    }

private:
    std::vector<QAccessibleInterface*> m_buttons;
};

QAccessibleInterface* captionFactory(const QString& className, QObject* object) {
    // The caption bar has no meta-object of its own: Qt asks under its base's name.
    if (className == QLatin1String("QWidget"))
        if (auto* bar = dynamic_cast<SkinCaptionBar*>(object))
            return new CaptionBarAccessible(bar);
    return nullptr;
}

} // namespace

void installSkinCaptionAccessibility() {
    // Qt keeps one of each factory: a second install adds nothing.
    QAccessible::installFactory(captionFactory);
}
