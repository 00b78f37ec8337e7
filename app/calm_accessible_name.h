#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTimer>

class QWidget;

// The accessible name of a read-out that changes many times a second (the size while
// recording): a screen reader is told of a new value at most once per `interval`, and of the
// last value once it holds still, so it does not chatter. The widget's own text changes as
// often as it likes; while it has an accessible name, Qt announces only that.
class CalmAccessibleName {
public:
    CalmAccessibleName(QWidget* widget, int intervalMs);
    void set(const QString& name);

private:
    void tell();

    QWidget* m_widget;
    int m_interval;
    QString m_pending;
    QElapsedTimer m_sinceTold;
    QTimer m_later;
};
