#include "help/engine/topic_browser.h"

#include "help/chm/help_file.h"
#include "help/chm/help_target.h"
#include "help/chm/text_encoding.h"
#include "help/chm/topic_text.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QTextDocument>

namespace {

const QString kScheme = QStringLiteral("chm");

} // namespace

TopicBrowser::TopicBrowser(std::shared_ptr<const HelpFile> file, QWidget* parent)
    : QTextBrowser(parent), m_file(std::move(file)) {
    // Every link goes through openLink(): pages of the archive, other help files, the web.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &TopicBrowser::openLink);
}

QUrl TopicBrowser::urlOf(const std::string& archivePath) {
    QUrl url;
    url.setScheme(kScheme);
    const std::string anchor = anchorOf(archivePath);
    url.setPath(QString::fromStdString(withoutAnchor(archivePath)), QUrl::DecodedMode);
    if (!anchor.empty())
        url.setFragment(QString::fromStdString(anchor.substr(1)), QUrl::DecodedMode);
    return url;
}

std::string TopicBrowser::pathOf(const QUrl& url) {
    std::string path = url.path(QUrl::FullyDecoded).toStdString();
    if (url.hasFragment()) {
        path += '#';
        path += url.fragment(QUrl::FullyDecoded).toStdString();
    }
    return path;
}

void TopicBrowser::showTopic(const std::string& archivePath) {
    setSource(urlOf(archivePath), QTextDocument::HtmlResource);
}

std::string TopicBrowser::currentTopic() const {
    return pathOf(source());
}

QString TopicBrowser::missingPage(const std::string& path) const {
    return QStringLiteral("<html><body><h2>This page is not in the help file</h2>"
                          "<p>The help file %1 holds no page <b>%2</b>.</p></body></html>")
        .arg(QFileInfo(QString::fromStdString(m_file->path())).fileName().toHtmlEscaped(),
             QString::fromStdString(path).toHtmlEscaped());
}

QString TopicBrowser::damagedPage(const std::string& path) const {
    return QStringLiteral("<html><body><h2>This page cannot be read</h2>"
                          "<p>The help file %1 is damaged: its page <b>%2</b> cannot be "
                          "read.</p></body></html>")
        .arg(QFileInfo(QString::fromStdString(m_file->path())).fileName().toHtmlEscaped(),
             QString::fromStdString(path).toHtmlEscaped());
}

QVariant TopicBrowser::loadResource(int type, const QUrl& name) {
    // Nothing is ever fetched from outside the help file.
    if (name.scheme() != kScheme)
        return {};
    const std::string path = name.path(QUrl::FullyDecoded).toStdString();
    bool damaged = false;
    const std::optional<std::string> bytes = m_file->read(path, &damaged);
    switch (type) {
    case QTextDocument::HtmlResource:
        if (!bytes)
            return damaged ? damagedPage(path) : missingPage(path);
        applyStyleSheets(path, *bytes);
        return decodeHtml(*bytes, m_file->charset());
    case QTextDocument::StyleSheetResource:
        return bytes ? decodeText(*bytes, m_file->charset()) : QString();
    case QTextDocument::ImageResource:
        return bytes ? QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()))
                     : QByteArray();
    default:
        return {};
    }
}

void TopicBrowser::applyStyleSheets(const std::string& page, const std::string& html) {
    // Qt takes a page's <link rel="stylesheet"> only when it also says type="text/css", which
    // many help files leave out: their style sheets become the page's default sheet instead.
    QString sheets;
    for (const std::string& href :
         readTopicText(html, htmlEncodingFor(html, m_file->charset())).styleSheets) {
        const HelpLink link = parseHelpLink(href);
        if (link.external || !link.file.empty())
            continue;
        if (const auto css = m_file->read(resolveTopicPath(page, link.path)))
            sheets += decodeText(*css, m_file->charset()) + QLatin1Char('\n');
    }
    document()->setDefaultStyleSheet(sheets);
}

void TopicBrowser::openLink(const QUrl& link) {
    if (link.scheme() == kScheme) {
        setSource(link, QTextDocument::HtmlResource);
        return;
    }
    const HelpLink target = parseHelpLink(link.toString().toStdString());
    if (target.external) {
        if (!target.openable) {
            emit externalLinkRefused(link);
            return;
        }
        emit externalLinkOpened(link);
        QDesktopServices::openUrl(link);
        return;
    }
    if (target.file.empty()) {
        setSource(urlOf(resolveTopicPath(currentTopic(), target.path)),
                  QTextDocument::HtmlResource);
        return;
    }
    // "ms-its:" links often name the help file they sit in.
    const QString named = QFileInfo(QString::fromStdString(target.file)).fileName();
    const QString own = QFileInfo(QString::fromStdString(m_file->path())).fileName();
    if (named.compare(own, Qt::CaseInsensitive) == 0) {
        setSource(urlOf(resolveTopicPath("/", target.path.empty() ? m_file->defaultTopic()
                                                                  : target.path)),
                  QTextDocument::HtmlResource);
        return;
    }
    emit otherHelpFileLinked(QString::fromStdString(target.file),
                             QString::fromStdString(target.path));
}
