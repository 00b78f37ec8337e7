#include "tools/artwork/artwork.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <deque>
#include <map>

namespace {

QString resource(const QString& path) {
    return QDir(QStringLiteral(SORVINTA_SOURCE_DIR "/resources")).filePath(path);
}

bool near(QRgb a, QRgb b) {
    // Smoothed edges may round one step apart between the drawing code's CPU paths.
    const auto close = [](int x, int y) { return std::abs(x - y) <= 2; };
    return close(qRed(a), qRed(b)) && close(qGreen(a), qGreen(b)) && close(qBlue(a), qBlue(b)) &&
           close(qAlpha(a), qAlpha(b));
}

// The committed pictures are what the generator draws today: whoever changes one without the
// other learns it here.
TEST(Artwork, CommittedPicturesAreTheGeneratorsOutput) {
    for (const ArtworkPicture& picture : drawAllArtwork()) {
        const QImage committed(resource(picture.path));
        ASSERT_FALSE(committed.isNull())
            << picture.path.toStdString() << " is missing: build the `artwork` target";
        ASSERT_EQ(committed.size(), picture.image.size()) << picture.path.toStdString();
        EXPECT_EQ(committed.hasAlphaChannel(), picture.image.hasAlphaChannel())
            << picture.path.toStdString();
        const QImage a = committed.convertToFormat(QImage::Format_ARGB32);
        const QImage b = picture.image.convertToFormat(QImage::Format_ARGB32);
        int differing = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                differing += near(a.pixel(x, y), b.pixel(x, y)) ? 0 : 1;
        EXPECT_EQ(differing, 0) << picture.path.toStdString()
                                << " differs from the generator's: build the `artwork` target";
    }
}

TEST(Artwork, PicturesHaveTheirSizes) {
    const std::map<QString, QSize> sizes = {
        {"background.png", {392, 414}}, {"skin/caption.png", {640, 48}},
        {"skin/frame.png", {70, 10}},   {"about/logo.png", {202, 80}},
        {"cursors/hand.png", {32, 32}},
    };
    for (const auto& [path, size] : sizes)
        EXPECT_EQ(QImage(resource(path)).size(), size) << path.toStdString();
    for (const char* opaque : {"background.png", "skin/caption.png", "skin/frame.png"})
        EXPECT_FALSE(QImage(resource(opaque)).hasAlphaChannel()) << opaque;
    for (const int size : kWindowIconSizes)
        EXPECT_EQ(QImage(resource(QStringLiteral("appicon/%1x%1.png").arg(size))).size(),
                  QSize(size, size));
}

// A button shows its icon with one colour made transparent. That colour must fill the icon's
// background and appear nowhere else, or the glyph would have holes.
TEST(Artwork, ButtonIconsUseTheirTransparencyColourOnlyForTheBackground) {
    const std::pair<const char*, QRgb> icons[] = {
        {"record", qRgb(255, 255, 255)}, {"stop", qRgb(255, 0, 0)}, {"play", qRgb(255, 0, 0)},
        {"pause", qRgb(255, 0, 0)},      {"open", qRgb(255, 0, 0)}, {"arrow", qRgb(255, 0, 0)},
    };
    for (const auto& [name, transparency] : icons) {
        const QImage icon =
            QImage(resource(QStringLiteral("icons/%1.png").arg(QLatin1String(name))))
                .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(icon.size(), QSize(16, 16)) << name;
        // Flood the background in from the edges.
        std::vector<bool> reached(256, false);
        std::deque<QPoint> todo;
        for (int i = 0; i < 16; ++i)
            for (const QPoint p : {QPoint(i, 0), QPoint(i, 15), QPoint(0, i), QPoint(15, i)})
                todo.push_back(p);
        int glyph = 0;
        while (!todo.empty()) {
            const QPoint p = todo.front();
            todo.pop_front();
            if (p.x() < 0 || p.y() < 0 || p.x() > 15 || p.y() > 15 || reached[p.y() * 16 + p.x()] ||
                icon.pixel(p) != transparency)
                continue;
            reached[p.y() * 16 + p.x()] = true;
            for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
                todo.push_back(p + d);
        }
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (reached[y * 16 + x])
                    continue;
                ++glyph;
                EXPECT_NE(icon.pixel(x, y), transparency) << name << " at " << x << "," << y;
            }
        }
        EXPECT_GT(glyph, 40) << name;
        EXPECT_EQ(icon.pixel(0, 0), transparency) << name;
    }
}

TEST(Artwork, HandCursorsHotSpotIsItsFingertip) {
    const QImage hand(resource("cursors/hand.png"));
    const QStringList spot = hand.text(QStringLiteral("HotSpot")).split(QLatin1Char(','));
    ASSERT_EQ(spot.size(), 2);
    const QPoint hot(spot[0].toInt(), spot[1].toInt());
    EXPECT_GT(qAlpha(hand.pixel(hot)), 0);
    // Nothing of the hand is higher than the fingertip.
    int top = hand.height();
    for (int y = 0; y < hand.height() && top == hand.height(); ++y)
        for (int x = 0; x < hand.width(); ++x)
            if (qAlpha(hand.pixel(x, y)) > 0)
                top = y;
    EXPECT_EQ(hot.y(), top);
}

} // namespace
