#include "platform/browser/desktop_browser.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <memory>

DesktopBrowser::DesktopBrowser(std::chrono::milliseconds patience) : m_patience(patience) {}

DesktopBrowser::~DesktopBrowser() = default;

void DesktopBrowser::openNewWindow(const std::string& url, std::function<void()> failed) {
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    // Only web addresses: this is not the way to start programs or open local files.
    if (!address.isValid() ||
        (address.scheme() != QLatin1String("https") && address.scheme() != QLatin1String("http"))) {
        failed();
        return;
    }
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        failed();
        return;
    }

    // The first of the opener's exit, its failure to start and the end of patience decides.
    auto pending = std::make_shared<std::function<void()>>(std::move(failed));
    const auto decide = [pending](bool started) {
        if (!*pending)
            return;
        const std::function<void()> report = std::move(*pending);
        *pending = nullptr;
        if (!started)
            report();
    };
    auto* process = new QProcess(&m_openers);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [process, decide](int code, QProcess::ExitStatus status) {
                         decide(status == QProcess::NormalExit && code == 0);
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, decide](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return; // the exit follows
                         decide(false);
                         process->deleteLater();
                     });
    QTimer::singleShot(m_patience, process, [decide] { decide(true); });
    process->start(opener, {address.toString(QUrl::FullyEncoded)});
}
