#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What the command line asks for. A file named there that exists is the one to play, as if it
// had been chosen with Open (the desktop entry passes the file the user opened); a name that does
// not exist yet is the one to record to. --help and --version answer on standard output and end,
// as GNU tools do; anything else starting with "-" is refused with a usage line.
struct CommandLine {
    bool end = false; // answer with `output`/`error` and end with `exitCode`
    int exitCode = 0;
    QString output;     // for standard output
    QString error;      // for standard error
    QString playFile;   // absolute path, or empty
    QString recordFile; // absolute path, or empty
};

// `arguments` is the whole argument list, program name first, as main() gets it: it is read
// before the window system starts, so that --help works without a display. The options Qt
// takes for itself (-platform NAME, -reverse, ...) pass through to it.
CommandLine parseCommandLine(const QStringList& arguments,
                             const std::function<bool(const QString&)>& fileExists);

// The same, with the real file system.
CommandLine parseCommandLine(const QStringList& arguments);

// main()'s argument vector as text.
QStringList argumentList(int argc, char** argv);
