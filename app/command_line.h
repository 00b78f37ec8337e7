#pragma once

#include <QString>
#include <QStringList>

// The WAV file named on the command line (the desktop entry passes the chosen file), as an
// absolute path; empty when none was named. Qt's own options are gone from `arguments` by then.
QString fileArgument(const QStringList& arguments);
