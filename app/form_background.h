#pragma once

#include <QImage>
#include <QWidget>

// The main window's client area: its background colour and picture, and the six panels drawn
// behind the labels and controls.
class FormBackground : public QWidget {
public:
    FormBackground(QWidget* parent, QImage picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
