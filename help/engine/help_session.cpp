#include "help/engine/help_session.h"

#include "help/chm/help_file.h"
#include "help/chm/help_target.h"
#include "help/chm/text_encoding.h"
#include "help/chm/topic_text.h"
#include "help/engine/catalog_wait.h"
#include "help/engine/help_viewer_window.h"
#include "help/engine/popup_font.h"
#include "help/engine/text_popup.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_window_services.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace {

enum { kContentsTab, kIndexTab };

std::string folded(const std::string& text) {
    return QString::fromStdString(text).toCaseFolded().toStdString();
}

} // namespace

WindowHandle windowHandleOf(QWidget* window) {
    return window ? static_cast<WindowHandle>(window->winId()) : 0;
}

HelpSession::HelpSession(MessageBox& messages, QObject* parent)
    : QObject(parent), m_messages(messages) {}

HelpSession::~HelpSession() {
    delete m_popup.data();
    for (const QPointer<HelpViewerWindow>& w : m_windows)
        delete w.data();
}

TextPopup* HelpSession::popup() const {
    return m_popup;
}

std::vector<HelpViewerWindow*> HelpSession::windows() const {
    std::vector<HelpViewerWindow*> open;
    for (const QPointer<HelpViewerWindow>& w : m_windows) {
        if (w)
            open.push_back(w);
    }
    return open;
}

void HelpSession::closeAll() {
    if (m_popup)
        m_popup->close();
    for (const QPointer<HelpViewerWindow>& w : m_windows) {
        if (w)
            w->close();
    }
    m_windows.clear();
}

void HelpSession::warn(const std::string& text) {
    m_messages.show(text, kTitle, MessageIcon::Exclamation, MessageButtons::Ok);
}

std::shared_ptr<HelpFile> HelpSession::openFile(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    const std::string key = info.canonicalFilePath().toStdString();
    if (!key.empty()) {
        const auto cached = m_files.find(key);
        // A file that changed on disk is read again.
        if (cached != m_files.end() && cached->second.size == info.size() &&
            cached->second.modified == info.lastModified())
            return cached->second.file;
    }
    std::string error;
    std::shared_ptr<HelpFile> file = key.empty() ? nullptr : HelpFile::open(key, error);
    if (!file) {
        warn("The help file " + path + " " + (key.empty() ? "does not exist" : error) + ".");
        return nullptr;
    }
    m_files[key] = {file, info.size(), info.lastModified()};
    return file;
}

QRect HelpSession::placeBeside(QWidget* caller) const {
    // Callers often name no window; the help is then for the window the user was working in,
    // when that is not one of the engine's own.
    QWidget* window = caller ? caller->window() : QApplication::activeWindow();
    if (!window || !window->isVisible())
        return {};
    for (QWidget* w = window; w; w = w->parentWidget()) {
        if (qobject_cast<HelpViewerWindow*>(w) || qobject_cast<TextPopup*>(w))
            return {};
    }
    return window->frameGeometry();
}

HelpViewerWindow* HelpSession::windowFor(const std::shared_ptr<HelpFile>& file,
                                         const std::string& windowName, WindowHandle caller) {
    // Without a window type, the file's default window type, when it has one.
    const std::string name = windowName.empty() ? file->system().defaultWindow : windowName;
    const ChmWindowType* type = file->windowType(name);
    const std::string typeKey = type ? folded(type->name) : std::string();
    for (const QPointer<HelpViewerWindow>& w : m_windows) {
        if (!w || w->file().path() != file->path())
            continue;
        const std::string open = w->windowType() ? folded(w->windowType()->name) : std::string();
        if (open == typeKey)
            return w;
    }
    QWidget* owner = QtWindowServices::findWindow(caller);
    auto* window = new HelpViewerWindow(
        file, type ? std::optional<ChmWindowType>(*type) : std::nullopt, owner, placeBeside(owner));
    window->setObjectName(QStringLiteral("helpWindow"));
    connect(window, &HelpViewerWindow::otherHelpFileLinked, this,
            [this, file](const QString& other, const QString& path) {
                openLinkedFile(file, other, path);
            });
    connect(window, &HelpViewerWindow::externalLinkRefused, this, [this](const QUrl& url) {
        warn("The link to " + url.toDisplayString().toStdString() +
             " was not opened: help opens only web pages and e-mail addresses.");
    });
    m_windows.erase(std::remove_if(m_windows.begin(), m_windows.end(),
                                   [](const QPointer<HelpViewerWindow>& w) { return !w; }),
                    m_windows.end());
    m_windows.emplace_back(window);
    return window;
}

WindowHandle HelpSession::display(const std::shared_ptr<HelpFile>& file,
                                  const std::string& windowName, WindowHandle caller,
                                  const std::string& topic) {
    HelpViewerWindow* window = windowFor(file, windowName, caller);
    std::string path;
    if (!topic.empty()) {
        const HelpLink link = parseHelpLink(topic);
        path = resolveTopicPath("/", link.path);
        if (const auto found = file->findTopic(path))
            path = *found;
    }
    window->showTopic(path);
    window->show();
    window->raise();
    window->activateWindow();
    return windowHandleOf(window);
}

void HelpSession::openLinkedFile(const std::shared_ptr<HelpFile>& from, const QString& file,
                                 const QString& path) {
    // A name without a folder lies beside the file that links to it.
    QString name = file;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QFileInfo(name).isRelative())
        name = QFileInfo(QString::fromStdString(from->path())).dir().filePath(name);
    if (const std::shared_ptr<HelpFile> other = openFile(name.toStdString()))
        display(other, {}, 0, path.toStdString());
}

WindowHandle HelpSession::showTab(const std::shared_ptr<HelpFile>& file, const HelpTarget& target,
                                  WindowHandle caller, int tab) {
    HelpViewerWindow* window = windowFor(file, target.window, caller);
    if (window->currentTopic().empty() || !target.topic.empty())
        display(file, target.window, caller, target.topic);
    window->showTab(tab == kContentsTab ? HelpViewerWindow::Tab::Contents
                                        : HelpViewerWindow::Tab::Index);
    window->show();
    window->raise();
    return windowHandleOf(window);
}

WindowHandle HelpSession::search(const std::shared_ptr<HelpFile>& file, const HelpTarget& target,
                                 WindowHandle caller, const HH_FTS_QUERY* query) {
    HelpViewerWindow* window = windowFor(file, target.window, caller);
    if (window->currentTopic().empty() || !target.topic.empty())
        display(file, target.window, caller, target.topic);
    QString text;
    bool run = false;
    if (query && query->cbStruct >= static_cast<std::int32_t>(sizeof(HH_FTS_QUERY))) {
        if (query->pszSearchQuery)
            text = query->fUniCodeStrings
                       ? QString::fromWCharArray(
                             reinterpret_cast<const wchar_t*>(query->pszSearchQuery))
                       : QString::fromUtf8(query->pszSearchQuery);
        run = query->fExecute != 0;
    }
    window->setSearchQuery(text, run);
    window->show();
    window->raise();
    return windowHandleOf(window);
}

WindowHandle HelpSession::lookup(const std::shared_ptr<HelpFile>& file, const HelpTarget& target,
                                 WindowHandle caller, const HH_AKLINK* link, bool associative) {
    if (!link || link->cbStruct < static_cast<std::int32_t>(sizeof(HH_AKLINK)))
        return 0;
    const std::string windowName = link->pszWindow ? link->pszWindow : target.window;
    // The names the pages declare are in the search index.
    waitForCatalog(*file);
    std::vector<std::string> paths;
    for (const std::string& name : splitNames(link->pszKeywords ? link->pszKeywords : "")) {
        const std::vector<std::string> found =
            associative ? file->topicsForALink(name) : file->topicsForKeyword(name);
        for (const std::string& path : found) {
            if (std::find(paths.begin(), paths.end(), path) == paths.end())
                paths.push_back(path);
        }
    }
    if (!paths.empty()) {
        if (paths.size() == 1)
            return display(file, windowName, caller, paths.front());
        HelpViewerWindow* window = windowFor(file, windowName, caller);
        if (window->currentTopic().empty())
            window->showTopic({});
        window->show();
        window->raise();
        window->showTopics(paths);
        return windowHandleOf(window);
    }
    if (link->pszUrl && *link->pszUrl)
        return display(file, windowName, caller, link->pszUrl);
    if (link->pszMsgText && *link->pszMsgText) {
        m_messages.show(link->pszMsgText, link->pszMsgTitle ? link->pszMsgTitle : "",
                        MessageIcon::None, MessageButtons::Ok);
        return 0;
    }
    if (link->fIndexOnFail && !associative) {
        HelpViewerWindow* window = windowFor(file, windowName, caller);
        if (window->currentTopic().empty())
            window->showTopic({});
        window->showTab(HelpViewerWindow::Tab::Index);
        window->show();
        return windowHandleOf(window);
    }
    return 0;
}

WindowHandle HelpSession::showPopup(WindowHandle caller, const char* file, const HH_POPUP* popup) {
    if (!popup || popup->cbStruct < static_cast<std::int32_t>(sizeof(HH_POPUP)))
        return 0;
    QString text;
    if (file && *file) {
        // A popup text file inside a help file: "help.chm::/popups.txt".
        const HelpTarget target = parseHelpTarget(file);
        const std::shared_ptr<HelpFile> help = openFile(target.file);
        if (!help)
            return 0;
        if (popup->idString != 0) {
            const std::size_t known = help->damagedFiles().size();
            const auto found = help->popupText(target.topic, popup->idString);
            if (help->damagedFiles().size() > known) {
                warn("The help file " + target.file + " " +
                     damageSentence({help->damagedFiles().back()}) + ".");
                return 0;
            }
            text = found ? help->decode(*found)
                         : QStringLiteral("No help topic is associated with this item.");
        }
    }
    if (text.isEmpty() && popup->pszText)
        text = decodeText(popup->pszText, "windows-1252");
    if (text.isEmpty())
        return 0;

    TextPopup::Look look;
    look.font = popupFont(popup->pszFont ? decodeText(popup->pszFont, "windows-1252") : QString());
    look.text = popup->clrForeground;
    look.back = popup->clrBackground;
    look.left = popup->rcMargins.left;
    look.top = popup->rcMargins.top;
    look.right = popup->rcMargins.right;
    look.bottom = popup->rcMargins.bottom;
    if (m_popup)
        m_popup->close();
    m_popup = new TextPopup(text, look, QPoint(popup->pt.x, popup->pt.y),
                            QtWindowServices::findWindow(caller));
    m_popup->setObjectName(QStringLiteral("textPopup"));
    m_popup->show();
    return windowHandleOf(m_popup);
}

WindowHandle HelpSession::HtmlHelp(WindowHandle caller, const char* file, std::uint32_t command,
                                   std::uintptr_t data) {
    if (command == HelpCommand::HH_CLOSE_ALL) {
        closeAll();
        return 0;
    }
    if (command == HelpCommand::HH_DISPLAY_TEXT_POPUP)
        return showPopup(caller, file, reinterpret_cast<const HH_POPUP*>(data));
    if (!file || !*file)
        return 0;
    const HelpTarget target = parseHelpTarget(file);
    const std::shared_ptr<HelpFile> help = openFile(target.file);
    if (!help)
        return 0;
    const std::size_t known = help->damagedFiles().size();
    const WindowHandle shown = run(help, target, caller, command, data);
    // Pages say so where they are shown and searched; a contents, index or other file that
    // could not be read is told here, so that what looks empty is not taken for all there is.
    std::vector<std::string> unread;
    for (std::size_t i = known; i < help->damagedFiles().size(); ++i) {
        if (!isTopicPage(help->damagedFiles()[i]))
            unread.push_back(help->damagedFiles()[i]);
    }
    if (!unread.empty())
        warn("The help file " + target.file + " " + damageSentence(unread) + ".");
    return shown;
}

WindowHandle HelpSession::run(const std::shared_ptr<HelpFile>& help, const HelpTarget& target,
                              WindowHandle caller, std::uint32_t command, std::uintptr_t data) {
    switch (command) {
    case HelpCommand::HH_DISPLAY_TOPIC: {
        std::string topic = target.topic;
        if (topic.empty() && data)
            topic = reinterpret_cast<const char*>(data);
        return display(help, target.window, caller, topic);
    }
    case HelpCommand::HH_HELP_CONTEXT: {
        const auto id = static_cast<std::uint32_t>(data);
        const std::optional<std::string> topic = help->topicForContext(id);
        if (!topic) {
            warn("The help file " + target.file + " has no topic for context number " +
                 std::to_string(id) + ".");
            return 0;
        }
        return display(help, target.window, caller, *topic);
    }
    case HelpCommand::HH_DISPLAY_TOC:
        return showTab(help, target, caller, kContentsTab);
    case HelpCommand::HH_DISPLAY_INDEX:
        return showTab(help, target, caller, kIndexTab);
    case HelpCommand::HH_DISPLAY_SEARCH:
        return search(help, target, caller, reinterpret_cast<const HH_FTS_QUERY*>(data));
    case HelpCommand::HH_KEYWORD_LOOKUP:
        return lookup(help, target, caller, reinterpret_cast<const HH_AKLINK*>(data), false);
    case HelpCommand::HH_ALINK_LOOKUP:
        return lookup(help, target, caller, reinterpret_cast<const HH_AKLINK*>(data), true);
    default:
        return 0;
    }
}
