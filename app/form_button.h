#pragma once

// The one place that says which widget the main window's buttons are.
#include "app/stand_in_button.h"

#include <QRect>
#include <QString>

using FormButton = StandInButton;

struct FormButtonSpec {
    QRect geometry; // pixels
    QString caption;
    QString toolTip;
    bool option = false;
};

FormButton* makeFormButton(QWidget* parent, const FormButtonSpec& spec);
