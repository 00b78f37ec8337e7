#include "app/program_end.h"

#include "app/form1.h"

#include <QCoreApplication>

void endProgramWith(Form1& form) {
    // exit(), not quit(): quit() would first ask every other window whether it may close.
    QObject::connect(&form, &Form1::closed, QCoreApplication::instance(),
                     [] { QCoreApplication::exit(0); });
    // Start-up that found no audio input ends the program with a failure status.
    QObject::connect(&form, &Form1::startFailed, QCoreApplication::instance(),
                     [] { QCoreApplication::exit(1); });
}
