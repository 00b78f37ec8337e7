#pragma once

#include <QTextBrowser>

#include <memory>
#include <string>

class HelpFile;

// Shows the pages of one help file. Pages, pictures and style sheets come from the file's
// archive under the scheme "chm:" ("chm:/pages/a.htm#part"), so relative links and "#anchor"
// fragments resolve as in a browser. Web and e-mail links open on the desktop; other links that
// leave the help file (a local file, a program) are refused, since a help file may come from
// anyone; links into another help file are handed on.
class TopicBrowser : public QTextBrowser {
    Q_OBJECT
public:
    TopicBrowser(std::shared_ptr<const HelpFile> file, QWidget* parent = nullptr);

    // The page of an archive path, with its "#anchor".
    static QUrl urlOf(const std::string& archivePath);
    // The archive path of a page's URL, with its "#anchor".
    static std::string pathOf(const QUrl& url);

    void showTopic(const std::string& archivePath);
    std::string currentTopic() const;

    // Follows a link as a click on it would.
    void openLink(const QUrl& link);

    QVariant loadResource(int type, const QUrl& name) override;

signals:
    // A link into another help file: its name as written and the path inside it.
    void otherHelpFileLinked(const QString& file, const QString& path);
    // A web or e-mail link, handed to the desktop.
    void externalLinkOpened(const QUrl& url);
    // Any other link that leaves the help file ("file:", "ftp:", ...): nothing was opened.
    void externalLinkRefused(const QUrl& url);

private:
    QString missingPage(const std::string& path) const;
    QString damagedPage(const std::string& path) const;
    void applyStyleSheets(const std::string& page, const std::string& html);

    std::shared_ptr<const HelpFile> m_file;
};
