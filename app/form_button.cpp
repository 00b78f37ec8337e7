#include "app/form_button.h"

#include "app/form_look.h"

#include <QBitmap>
#include <QPixmap>

FormButton* makeFormButton(QWidget* parent, const FormButtonSetup& setup) {
    auto* button = new FormButton(parent, setup.option ? StandInButton::Behaviour::Option
                                                       : StandInButton::Behaviour::Command);
    button->setGeometry(setup.geometry);
    button->setText(setup.caption);
    button->setToolTip(setup.toolTip);
    button->setFont(formFont(QStringLiteral("MS Sans Serif"), 8.25, false));
    if (!setup.icon.isEmpty()) {
        QPixmap picture(setup.icon);
        picture.setMask(picture.createMaskFromColor(QColor(setup.transparency)));
        button->setIcon(QIcon(picture));
    }
    return button;
}
