#include "platform/browser/desktop_browser.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopBrowser::openNewWindow(const std::string& url) {
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    // Only web addresses: this is not the way to start programs or open local files.
    if (!address.isValid() ||
        (address.scheme() != QLatin1String("https") && address.scheme() != QLatin1String("http")))
        return false;
    return QDesktopServices::openUrl(address);
}
