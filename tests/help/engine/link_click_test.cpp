// A help file may come from anyone, and its pages may link anywhere. Here a help file compiled
// with the help compiler links to a local file and to the web, beside links inside the file.
// The desktop's opener is a script first in PATH that logs what it is asked to open, and every
// link handed to the desktop goes to it. A click on the local file's link opens nothing and says
// why; a web link reaches the opener; links inside the file still lead to their pages.
#include "engine_fixture.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

void writeFile(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

// The place in the page's view of the first link whose text is `text`.
QPoint linkPlace(TopicBrowser* browser, const QString& text) {
    const QTextCursor found = browser->document()->find(text);
    if (found.isNull())
        return {-1, -1};
    QTextCursor inside(browser->document());
    inside.setPosition(found.selectionStart() + 1);
    return browser->cursorRect(inside).center();
}

void click(TopicBrowser* browser, const QPoint& at) {
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

// What the desktop does with a link it is handed: runs its opener, as found in PATH.
class DesktopOpener : public QObject {
    Q_OBJECT
public:
    DesktopOpener() {
        for (const char* scheme : kSchemes)
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~DesktopOpener() override {
        for (const char* scheme : kSchemes)
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
public slots:
    void open(const QUrl& url) { QProcess::execute(QStringLiteral("xdg-open"), {url.toString()}); }

private:
    static constexpr const char* kSchemes[] = {"file", "http", "https", "mailto", "ftp"};
};

class OpenerInPath {
public:
    explicit OpenerInPath(const QString& folder) : m_saved(qgetenv("PATH")) {
        qputenv("PATH", QFile::encodeName(folder) + ":" + m_saved);
    }
    ~OpenerInPath() { qputenv("PATH", m_saved); }

private:
    QByteArray m_saved;
};

} // namespace

TEST_F(HelpSessionTest, AClickOnALinkToALocalFileOpensNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString log = dir.filePath("opened.log");
    const QString payload = dir.filePath("payload.desktop");
    writeFile(payload, "[Desktop Entry]\nType=Application\nExec=touch " +
                           QFile::encodeName(dir.filePath("ran")) + "\n");
    ASSERT_TRUE(QDir(dir.path()).mkpath("bin"));
    const QString opener = dir.filePath("bin/xdg-open");
    writeFile(opener, "#!/bin/sh\necho \"$@\" >> '" + QFile::encodeName(log) + "'\n");
    QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    ASSERT_TRUE(QDir(dir.path()).mkpath("src"));
    const QString src = dir.filePath("src");
    writeFile(src + "/links.hhp", "[OPTIONS]\nCompiled file=links.chm\nDefault topic=page.htm\n"
                                  "Title=Links\n\n[FILES]\npage.htm\nother.htm\n");
    writeFile(src + "/page.htm",
              "<html><head><title>Links</title></head><body>\n"
              "<p><a href=\"file://" +
                  QFile::encodeName(payload) +
                  "\">Local file</a></p>\n"
                  "<p><a href=\"other.htm#end\">Other page</a></p>\n"
                  "<p><a href=\"ms-its:links.chm::/other.htm\">Other page by name</a></p>\n"
                  "<p><a href=\"https://example.org/help\">Example site</a></p>\n"
                  "</body></html>\n");
    writeFile(src + "/other.htm", "<html><head><title>Other</title></head><body>\n"
                                  "<p><a href=\"page.htm\">Back</a></p><p id=\"end\">End</p>\n"
                                  "</body></html>\n");
    QProcess compiler;
    compiler.setWorkingDirectory(src);
    compiler.start(QStringLiteral(HELP_COMPILER), {QStringLiteral("links.hhp")});
    ASSERT_TRUE(compiler.waitForFinished(30000));
    const std::string file = QDir(src).filePath("links.chm").toStdString();
    ASSERT_TRUE(QFile::exists(QString::fromStdString(file)))
        << compiler.readAllStandardError().toStdString();

    const OpenerInPath inPath(dir.filePath("bin"));
    DesktopOpener desktop;
    ASSERT_NE(call(file, HelpCommand::HH_DISPLAY_TOPIC), 0);
    HelpViewerWindow* w = only();
    ASSERT_TRUE(w);
    w->resize(800, 600);
    QApplication::processEvents();
    TopicBrowser* browser = w->browser();
    EXPECT_EQ(w->currentTopic(), "/page.htm");

    const QPoint local = linkPlace(browser, QStringLiteral("Local file"));
    ASSERT_GE(local.x(), 0);
    EXPECT_EQ(browser->anchorAt(local).toStdString(), "file://" + payload.toStdString());
    click(browser, local);
    // The opener would have been started on its own: give it time to have logged.
    QTest::qWait(500);
    EXPECT_FALSE(QFile::exists(log)) << "the desktop's opener was asked to open something";
    EXPECT_FALSE(QFile::exists(dir.filePath("ran")));
    EXPECT_EQ(w->currentTopic(), "/page.htm");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "The link to file://" + payload.toStdString() +
                                       " was not opened: help opens only web pages and e-mail "
                                       "addresses.");

    // Links inside the file lead on, by a relative path and by the file's own name.
    click(browser, linkPlace(browser, QStringLiteral("Other page by name")));
    EXPECT_EQ(w->currentTopic(), "/other.htm");
    click(browser, linkPlace(browser, QStringLiteral("Back")));
    EXPECT_EQ(w->currentTopic(), "/page.htm");
    click(browser, linkPlace(browser, QStringLiteral("Other page")));
    EXPECT_EQ(w->currentTopic(), "/other.htm#end");
    EXPECT_EQ(boxes.shown.size(), 1u);

    // The web reaches the opener, which the local file would have reached the same way.
    click(browser, linkPlace(browser, QStringLiteral("Back")));
    click(browser, linkPlace(browser, QStringLiteral("Example site")));
    QFile logged(log);
    ASSERT_TRUE(logged.open(QIODevice::ReadOnly));
    EXPECT_EQ(logged.readAll(), "https://example.org/help\n");
    EXPECT_EQ(w->currentTopic(), "/page.htm");
}

#include "link_click_test.moc"
