#include "app/status_label.h"

#include "app/form_look.h"
#include "recorder/status_word.h"

#include <QLabel>

void showStatusOn(QLabel& label, StatusModel& status) {
    status.showWith([&label, &status] {
        label.setText(QString::fromStdString(status.word()));
        label.setStyleSheet(labelStyleSheet(status.colour()));
    });
}
