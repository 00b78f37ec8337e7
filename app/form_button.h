#pragma once

// The one place that says which widget the main window's buttons are.
#include "controls/bevel_button/bvl_button.h"

#include <QRect>
#include <QString>

class MessageBox;

using FormButton = bvlBUTTON;

struct FormButtonSetup {
    QString name;   // the instance's name, as the stored form knows it
    QRect geometry; // pixels
    QString toolTip;
};

// A new button, named and placed; its look comes from the stored form when the window reads it.
// Offset texts that fail validation are reported through `messages`.
FormButton* makeFormButton(QWidget* parent, const FormButtonSetup& setup, MessageBox& messages);
