#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString kProgram = QStringLiteral("sorvinta");

QString usageLine() {
    return QStringLiteral("Usage: sorvinta [OPTION]... [FILE.wav]\n");
}

QString helpText() {
    return usageLine() +
           QStringLiteral(
               "Record WAV files from the default audio input and play them back, with a live\n"
               "spectrum of the input.\n"
               "\n"
               "A FILE that exists is opened for playback, as if chosen with Open: PLAY plays\n"
               "it. A FILE that does not exist yet goes into the file name box as the file to\n"
               "record to; nothing is recorded until RECORD is pressed.\n"
               "\n"
               "  -h, --help     display this help and exit\n"
               "  -v, --version  output version information and exit\n"
               "\n"
               "Qt's own options, such as -platform NAME, are passed on to Qt.\n"
               "Web site: <https://www.sorvinta.example/>\n");
}

QString versionText() {
    return QStringLiteral("sorvinta (Sorvinta) 3.0\n"
                          "Copyright (C) 2026 The Sorvinta developers. All rights reserved.\n");
}

CommandLine refused(const QString& why) {
    CommandLine line;
    line.end = true;
    line.exitCode = 2;
    line.error = kProgram + QStringLiteral(": ") + why + QLatin1Char('\n') + usageLine() +
                 QStringLiteral("Try 'sorvinta --help' for more information.\n");
    return line;
}

// Qt's own options, so that the parser lets them through to QApplication.
void addQtOptions(QCommandLineParser& parser) {
    const char* withValue[] = {
        "platform",    "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
        "qwindowicon", "qwindowtitle",       "session",       "display",    "name",
        "title",       "geometry",           "style",         "stylesheet", "qmljsdebugger"};
    const char* flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

QString absolutePath(const QString& given) {
    // Some launchers hand over a file URL even where a path is asked for.
    if (given.startsWith(QLatin1String("file:")))
        return QUrl(given).toLocalFile();
    return QFileInfo(given).absoluteFilePath();
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments,
                             const std::function<bool(const QString&)>& fileExists) {
    QCommandLineParser parser;
    // Qt's options are single-dash words; "-h" and "-v" are still ours.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    addQtOptions(parser);
    parser.addPositionalArgument(QStringLiteral("file"), QString());

    if (!parser.parse(arguments))
        return refused(parser.errorText());
    CommandLine line;
    if (parser.isSet(help) || parser.isSet(version)) {
        line.end = true;
        line.output = parser.isSet(help) ? helpText() : versionText();
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return refused(QStringLiteral("only one file can be named"));
    if (files.isEmpty() || files[0].isEmpty())
        return line;
    const QString path = absolutePath(files[0]);
    if (fileExists(path))
        line.playFile = path;
    else
        line.recordFile = path;
    return line;
}

CommandLine parseCommandLine(const QStringList& arguments) {
    return parseCommandLine(arguments, [](const QString& path) {
        const QFileInfo info(path);
        return info.exists() && !info.isDir();
    });
}

QStringList argumentList(int argc, char** argv) {
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}
