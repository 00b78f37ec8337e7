#include "app/stand_in_button.h"

StandInButton::StandInButton(QWidget* parent, Behaviour behaviour)
    : QPushButton(parent), m_behaviour(behaviour) {
    setCheckable(behaviour == Behaviour::Option);
    setAutoExclusive(false); // the group is managed here so that code and clicks behave alike
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QPushButton::clicked, this, &StandInButton::clickedByUser);
}

void StandInButton::setValue(bool value) {
    if (m_behaviour != Behaviour::Option)
        return;
    setChecked(value);
    if (!value)
        return;
    for (StandInButton* other :
         parentWidget()->findChildren<StandInButton*>(QString(), Qt::FindDirectChildrenOnly))
        if (other != this && other->m_behaviour == Behaviour::Option)
            other->setChecked(false);
    emit Click();
}

void StandInButton::clickedByUser() {
    if (m_behaviour == Behaviour::Option)
        setValue(true);
    else
        emit Click();
}
