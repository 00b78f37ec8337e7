#pragma once

#include <QPushButton>

// A plain push button standing in for the window's self-drawn buttons: command behaviour, or
// option behaviour where the buttons sharing a parent form one group.
class StandInButton : public QPushButton {
    Q_OBJECT
public:
    enum class Behaviour { Command, Option };

    StandInButton(QWidget* parent, Behaviour behaviour);

    Behaviour behaviour() const { return m_behaviour; }
    bool Value() const { return isChecked(); }
    // Choosing an option button, from code or by a click, clears the others of its group and
    // raises its click once.
    void setValue(bool value);

signals:
    void Click();

private:
    void clickedByUser();

    Behaviour m_behaviour;
};
