#pragma once

#include "platform/drawing/colour.h"

#include <QFrame>

class QLabel;

// A small frameless window with a text, at a point of the screen. Any click or key closes it.
class TextPopup : public QFrame {
    Q_OBJECT
public:
    struct Look {
        QFont font;
        ColourRef text = kDefault;
        ColourRef back = kDefault;
        int left = -1, top = -1, right = -1, bottom = -1; // margins; -1 for the default
    };
    // A colour that leaves the choice to the popup: the desktop's tool-tip colours.
    static constexpr ColourRef kDefault = 0xFFFFFFFFu;

    TextPopup(const QString& text, const Look& look, QPoint at, QWidget* parent = nullptr);
    QString text() const;
    QColor textColour() const;
    QColor backColour() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_label;
};
