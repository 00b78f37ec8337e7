#include "app/calm_accessible_name.h"

#include <QWidget>

CalmAccessibleName::CalmAccessibleName(QWidget* widget, int intervalMs)
    : m_widget(widget), m_interval(intervalMs) {
    m_later.setSingleShot(true);
    QObject::connect(&m_later, &QTimer::timeout, widget, [this] { tell(); });
}

void CalmAccessibleName::set(const QString& name) {
    m_pending = name;
    if (m_widget->accessibleName() == name) {
        m_later.stop();
        return;
    }
    if (!m_sinceTold.isValid() || m_sinceTold.elapsed() >= m_interval) {
        tell();
        return;
    }
    if (!m_later.isActive())
        m_later.start(static_cast<int>(m_interval - m_sinceTold.elapsed()));
}

void CalmAccessibleName::tell() {
    m_sinceTold.start();
    m_widget->setAccessibleName(m_pending);
}
