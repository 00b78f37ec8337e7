#pragma once

// The one place that says which widget the main window's buttons are.
#include "app/stand_in_button.h"

#include <QColor>
#include <QRect>
#include <QString>

using FormButton = StandInButton;

struct FormButtonSetup {
    QRect geometry; // pixels
    QString caption;
    QString toolTip;
    bool option = false;
    QString icon;          // a 16 x 16 picture in the resources, or none
    QRgb transparency = 0; // the picture's colour that is see-through
};

FormButton* makeFormButton(QWidget* parent, const FormButtonSetup& setup);
