#pragma once

#include "help/chm/chm_internal_files.h"

#include <QMainWindow>
#include <QRect>
#include <QUrl>

#include <memory>
#include <optional>
#include <string>

class HelpFile;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QSplitter;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TopicBrowser;

// The help window: a navigation pane with the contents, the keyword index and the search beside
// the topic, as the window type asks for, and a tool bar. It shows one help file.
class HelpViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    enum class Tab { Contents, Index, Search };
    // The command number of "Jump to URL…" in the window's Options menu.
    static constexpr unsigned kJumpToUrlCommand = 0xEFFF;

    // `windowType` may be null: the window then takes the file's own defaults. `beside` is the
    // place of the window the help is for, which the new window keeps clear of where it can;
    // empty for none.
    HelpViewerWindow(std::shared_ptr<const HelpFile> file, std::optional<ChmWindowType> windowType,
                     QWidget* parent = nullptr, const QRect& beside = {});

    const HelpFile& file() const { return *m_file; }
    const std::optional<ChmWindowType>& windowType() const { return m_windowType; }

    // An archive path with its "#anchor"; empty for the window's default topic.
    void showTopic(const std::string& path);
    std::string currentTopic() const;
    // Brings the navigation pane into view at this tab (where the window has that tab).
    void showTab(Tab tab);
    bool hasTab(Tab tab) const;
    void setNavigationVisible(bool visible);
    bool navigationVisible() const;
    // Puts a query into the search tab and, when asked, runs it.
    void setSearchQuery(const QString& query, bool run);
    void runSearch();
    // Shows the topics of an index entry: one directly, several through "Topics Found".
    void showTopics(const std::vector<std::string>& paths);

    // The window's parts, for tests and tools.
    TopicBrowser* browser() const { return m_browser; }
    QTabWidget* tabs() const { return m_tabs; }
    QTreeWidget* contentsTree() const { return m_contents; }
    QLineEdit* indexField() const { return m_indexField; }
    QListWidget* indexList() const { return m_indexList; }
    QLineEdit* searchField() const { return m_searchField; }
    QListWidget* searchResults() const { return m_searchResults; }
    QLabel* searchStatus() const { return m_searchStatus; }

signals:
    void otherHelpFileLinked(const QString& file, const QString& path);
    // A link that leaves the help file for something other than the web or e-mail.
    void externalLinkRefused(const QUrl& url);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* page(Tab tab) const;
    QMargins frameMarginsOrGuess();
    QSize smallestFramedSize(const QMargins& frame) const;
    void keepFrameOnScreen();
    void buildToolBar();
    void buildNavigation();
    void placeWindow(const QRect& beside);
    QWidget* buildContentsTab();
    QWidget* buildIndexTab();
    QWidget* buildSearchTab();
    void fillContents();
    void fillIndex();
    void syncContents(const QUrl& source);
    void indexTyped(const QString& text);
    void indexChosen();
    void searchChosen();
    void jumpToUrl();
    void goHome();

    std::shared_ptr<const HelpFile> m_file;
    std::optional<ChmWindowType> m_windowType;
    QSplitter* m_splitter = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTreeWidget* m_contents = nullptr;
    QWidget* m_contentsTab = nullptr;
    QLineEdit* m_indexField = nullptr;
    QListWidget* m_indexList = nullptr;
    QWidget* m_indexTab = nullptr;
    QLineEdit* m_searchField = nullptr;
    QListWidget* m_searchResults = nullptr;
    QLabel* m_searchStatus = nullptr;
    QWidget* m_searchTab = nullptr;
    std::vector<std::string> m_searchPaths;
    TopicBrowser* m_browser = nullptr;
    QAction* m_hideShow = nullptr;
    bool m_filled = false;
    bool m_waitingForIndex = false;
};
