#include "app/form_button.h"

#include "app/form_look.h"

#include <QBitmap>
#include <QPixmap>

FormButton* makeFormButton(QWidget* parent, const FormButtonSpec& spec) {
    auto* button = new FormButton(parent, spec.option ? StandInButton::Behaviour::Option
                                                      : StandInButton::Behaviour::Command);
    button->setGeometry(spec.geometry);
    button->setText(spec.caption);
    button->setToolTip(spec.toolTip);
    button->setFont(formFont(QStringLiteral("MS Sans Serif"), 8.25, false));
    if (!spec.icon.isEmpty()) {
        QPixmap picture(spec.icon);
        picture.setMask(picture.createMaskFromColor(QColor(spec.transparency)));
        button->setIcon(QIcon(picture));
    }
    return button;
}
