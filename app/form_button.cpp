#include "app/form_button.h"

FormButton* makeFormButton(QWidget* parent, const FormButtonSetup& setup, MessageBox& messages) {
    auto* button = new FormButton(parent, &messages);
    button->setObjectName(setup.name);
    button->InitProperties(); // a new instance: its caption is its name until the form is read
    button->setGeometry(setup.geometry);
    button->setToolTip(setup.toolTip);
    return button;
}
