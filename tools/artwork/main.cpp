#include "tools/artwork/artwork.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

// Draws every picture of the program into the given folder (the repository's resources/).
int main(int argc, char** argv) {
    // Drawing needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESOURCES-FOLDER\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    int failures = 0;
    for (const ArtworkPicture& picture : drawAllArtwork()) {
        const QString path = out.filePath(picture.path);
        QDir().mkpath(QFileInfo(path).path());
        if (!picture.image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
