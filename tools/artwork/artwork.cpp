#include "tools/artwork/artwork.h"

std::vector<ArtworkPicture> drawAllArtwork() {
    std::vector<ArtworkPicture> pictures;
    pictures.push_back({QStringLiteral("background.png"), drawBackground()});
    for (const int size : kWindowIconSizes)
        pictures.push_back({QStringLiteral("appicon/%1x%1.png").arg(size), drawWindowIcon(size)});
    const std::pair<ButtonIcon, const char*> icons[] = {
        {ButtonIcon::Record, "record"}, {ButtonIcon::Stop, "stop"}, {ButtonIcon::Play, "play"},
        {ButtonIcon::Pause, "pause"},   {ButtonIcon::Open, "open"}, {ButtonIcon::Arrow, "arrow"},
    };
    for (const auto& [icon, name] : icons)
        pictures.push_back(
            {QStringLiteral("icons/%1.png").arg(QLatin1String(name)), drawButtonIcon(icon)});
    pictures.push_back({QStringLiteral("skin/caption.png"), drawSkinCaption()});
    pictures.push_back({QStringLiteral("skin/frame.png"), drawSkinFrame()});
    pictures.push_back({QStringLiteral("about/logo.png"), drawAboutLogo()});
    pictures.push_back({QStringLiteral("cursors/hand.png"), drawHandCursor()});
    return pictures;
}
