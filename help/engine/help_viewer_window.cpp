#include "help/engine/help_viewer_window.h"

#include "help/chm/help_file.h"
#include "help/chm/help_target.h"
#include "help/engine/catalog_wait.h"
#include "help/engine/help_window_place.h"
#include "help/engine/topic_browser.h"
#include "help/engine/topics_found_dialog.h"
#include "platform/ui/window_services.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kEntryRole = Qt::UserRole + 1;

QString folded(const std::string& path) {
    return QString::fromStdString(withoutAnchor(path)).toCaseFolded();
}

} // namespace

HelpViewerWindow::HelpViewerWindow(std::shared_ptr<const HelpFile> file,
                                   std::optional<ChmWindowType> windowType, QWidget* parent,
                                   const QRect& beside)
    : QMainWindow(parent, Qt::Window), m_file(std::move(file)),
      m_windowType(std::move(windowType)) {
    setAttribute(Qt::WA_DeleteOnClose);
    const QString caption = m_windowType && !m_windowType->caption.empty()
                                ? m_file->decode(m_windowType->caption)
                                : m_file->title();
    setWindowTitle(caption);

    m_browser = new TopicBrowser(m_file, this);
    m_browser->setObjectName(QStringLiteral("topic"));
    connect(m_browser, &TopicBrowser::otherHelpFileLinked, this,
            &HelpViewerWindow::otherHelpFileLinked);
    connect(m_browser, &TopicBrowser::externalLinkRefused, this,
            &HelpViewerWindow::externalLinkRefused);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpViewerWindow::syncContents);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    buildNavigation();
    m_splitter->addWidget(m_tabs);
    m_splitter->addWidget(m_browser);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);

    const bool noToolBar = m_windowType && (m_windowType->properties & kWindowNoToolbar);
    buildToolBar();
    if (noToolBar) {
        for (QToolBar* bar : findChildren<QToolBar*>())
            bar->hide();
    }
    // Without a window type the file's defaults give every pane; a window type shows the
    // navigation pane only when it asks for three panes, and maybe closed at first.
    const bool triPane = !m_windowType || (m_windowType->properties & kWindowTriPane);
    if (m_windowType) {
        const int number = m_windowType->navigationTab;
        const Tab tab = number == 1 ? Tab::Index : number == 2 ? Tab::Search : Tab::Contents;
        if (hasTab(tab))
            m_tabs->setCurrentWidget(page(tab));
    }
    setNavigationVisible(triPane && !(m_windowType && m_windowType->navigationClosed));
    placeWindow(beside);
    // The search index is read from now on, beside the window, for the first search to find.
    prepareCatalogInBackground(*m_file);
}

// The window manager's frame around this window. Before the window is mapped the platform may
// not know it yet (X11 learns it from the window manager afterwards): then room is kept for a
// title bar and borders of the style's size, and keepFrameOnScreen() corrects the guess.
QMargins HelpViewerWindow::frameMarginsOrGuess() {
    winId();
    const QMargins known = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (!known.isNull() || QGuiApplication::platformName() != QLatin1String("xcb"))
        return known;
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    return QMargins(border, title + border, border, border);
}

QSize HelpViewerWindow::smallestFramedSize(const QMargins& frame) const {
    return minimumSizeHint().expandedTo(minimumSize()).grownBy(frame);
}

void HelpViewerWindow::placeWindow(const QRect& beside) {
    // The screen of the window the help is for, else the main screen.
    const QScreen* screen = beside.isEmpty() ? nullptr : QGuiApplication::screenAt(beside.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QMargins frame = frameMarginsOrGuess();
    QRect box(0, 0, 900, 640);
    box.moveCenter(area.center());
    if (m_windowType) {
        const ChmWindowType& t = *m_windowType;
        if (t.left >= 0 && t.top >= 0 && t.right > t.left && t.bottom > t.top)
            box = QRect(QPoint(t.left, t.top), QPoint(t.right - 1, t.bottom - 1));
    }
    // The rectangle placed is the whole window, frame included: the title bar must be on the
    // screen and keep clear of the other window as much as the borders.
    box = placeHelpWindow(box.marginsAdded(frame), area, beside, smallestFramedSize(frame))
              .marginsRemoved(frame);
    setGeometry(box);
    const int nav = m_windowType && m_windowType->navigationWidth > 50
                        ? std::min(m_windowType->navigationWidth, box.width() / 2)
                        : std::min(250, box.width() / 3);
    m_splitter->setSizes({nav, box.width() - nav});
}

void HelpViewerWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A window manager reports its frame only after the window is mapped, and may take a
    // moment to: look again while it settles.
    for (const int ms : {0, 100, 300, 1000})
        QTimer::singleShot(ms, this, &HelpViewerWindow::keepFrameOnScreen);
}

void HelpViewerWindow::keepFrameOnScreen() {
    // A Wayland window has no place of its own on the screen to correct.
    if (!isVisible() || isMaximized() || isFullScreen() ||
        QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect framed = frameGeometry();
    if (area.contains(framed))
        return;
    const QRect inside = geometry();
    const QMargins frame(inside.left() - framed.left(), inside.top() - framed.top(),
                         framed.right() - inside.right(), framed.bottom() - inside.bottom());
    setGeometry(
        placeHelpWindow(framed, area, QRect(), smallestFramedSize(frame)).marginsRemoved(frame));
}

void HelpViewerWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Help"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    m_hideShow = bar->addAction(style()->standardIcon(QStyle::SP_FileDialogListView),
                                QStringLiteral("Hide"));
    connect(m_hideShow, &QAction::triggered, this,
            [this] { setNavigationVisible(!navigationVisible()); });
    QAction* back =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
    QAction* forward =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"));
    QAction* home =
        bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Home"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(home, &QAction::triggered, this, &HelpViewerWindow::goHome);

    // The window's own menu, the one "Jump to URL…" lives in.
    auto* options = new QMenu(QStringLiteral("Options"), this);
    options->setObjectName(QStringLiteral("windowMenu"));
    auto* jump = new QAction(QStringLiteral("Jump to URL…"), this);
    jump->setObjectName(QStringLiteral("jumpToUrl"));
    jump->setProperty(kMenuCommandProperty, kJumpToUrlCommand);
    connect(jump, &QAction::triggered, this, &HelpViewerWindow::jumpToUrl);
    options->addAction(jump);
    options->addSeparator();
    options->addAction(m_hideShow);
    options->addAction(back);
    options->addAction(forward);
    options->addAction(home);
    auto* button = new QToolButton(bar);
    button->setText(QStringLiteral("Options"));
    button->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setMenu(options);
    bar->addWidget(button);
}

void HelpViewerWindow::buildNavigation() {
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("navigation"));
    m_contentsTab = buildContentsTab();
    m_indexTab = buildIndexTab();
    m_searchTab = buildSearchTab();
    const ChmWindowType* type = m_windowType ? &*m_windowType : nullptr;
    if (!m_file->contentsFile(type).empty())
        m_tabs->addTab(m_contentsTab, QStringLiteral("Contents"));
    if (!m_file->indexFile(type).empty())
        m_tabs->addTab(m_indexTab, QStringLiteral("Index"));
    const bool search =
        !m_windowType || (m_windowType->properties & (kWindowSearchTab | kWindowAdvancedSearch));
    if (search || m_tabs->count() == 0)
        m_tabs->addTab(m_searchTab, QStringLiteral("Search"));
    // The tabs are filled when they are first seen. A tab with a field to type in takes the
    // keyboard at once, so that what the user types is not lost.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        if (m_tabs->currentWidget() == m_indexTab) {
            fillIndex();
            m_indexField->setFocus();
        } else if (m_tabs->currentWidget() == m_searchTab) {
            m_searchField->setFocus();
        }
    });
}

QWidget* HelpViewerWindow::buildContentsTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(2, 2, 2, 2);
    m_contents = new QTreeWidget(tab);
    m_contents->setObjectName(QStringLiteral("contents"));
    m_contents->setHeaderHidden(true);
    m_contents->setRootIsDecorated(true);
    layout->addWidget(m_contents);
    connect(m_contents, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const QString path = item->data(0, kPathRole).toString();
        if (!path.isEmpty())
            showTopic(path.toStdString());
    });
    connect(m_contents, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString path = item->data(0, kPathRole).toString();
        if (!path.isEmpty())
            showTopic(path.toStdString());
    });
    fillContents();
    return tab;
}

void HelpViewerWindow::fillContents() {
    const ChmWindowType* type = m_windowType ? &*m_windowType : nullptr;
    std::vector<QTreeWidgetItem*> parents;
    for (const SitemapEntry& entry : m_file->contents(type)) {
        const auto level = static_cast<std::size_t>(entry.level);
        parents.resize(std::min(parents.size(), level));
        auto* item =
            parents.empty() ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents.back());
        item->setText(0, QString::fromStdString(entry.name()));
        if (!entry.local().empty()) {
            const HelpLink link = parseHelpLink(entry.local());
            if (!link.external && link.file.empty()) {
                if (const auto topic = m_file->findTopic(link.path))
                    item->setData(0, kPathRole, QString::fromStdString(*topic));
            }
        }
        parents.push_back(item);
    }
    m_contents->expandToDepth(0);
}

QWidget* HelpViewerWindow::buildIndexTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* prompt = new QLabel(QStringLiteral("Type in the keyword to find:"), tab);
    layout->addWidget(prompt);
    m_indexField = new QLineEdit(tab);
    m_indexField->setAccessibleName(QStringLiteral("Keyword to find"));
    prompt->setBuddy(m_indexField);
    m_indexField->setObjectName(QStringLiteral("indexField"));
    layout->addWidget(m_indexField);
    m_indexList = new QListWidget(tab);
    m_indexList->setObjectName(QStringLiteral("index"));
    layout->addWidget(m_indexList);
    auto* display = new QPushButton(QStringLiteral("&Display"), tab);
    layout->addWidget(display, 0, Qt::AlignRight);
    connect(m_indexField, &QLineEdit::textEdited, this, &HelpViewerWindow::indexTyped);
    connect(m_indexField, &QLineEdit::returnPressed, this, &HelpViewerWindow::indexChosen);
    connect(m_indexList, &QListWidget::itemActivated, this, &HelpViewerWindow::indexChosen);
    connect(display, &QPushButton::clicked, this, &HelpViewerWindow::indexChosen);
    return tab;
}

void HelpViewerWindow::fillIndex() {
    if (m_filled)
        return;
    m_filled = true;
    const ChmWindowType* type = m_windowType ? &*m_windowType : nullptr;
    const std::vector<SitemapEntry>& index = m_file->keywordIndex(type);
    for (std::size_t i = 0; i < index.size(); ++i) {
        auto* item = new QListWidgetItem(QString(index[i].level * 4, QLatin1Char(' ')) +
                                             QString::fromStdString(index[i].name()),
                                         m_indexList);
        item->setData(kEntryRole, static_cast<int>(i));
    }
}

void HelpViewerWindow::indexTyped(const QString& text) {
    fillIndex();
    const QString wanted = text.trimmed();
    for (int row = 0; row < m_indexList->count(); ++row) {
        if (m_indexList->item(row)->text().trimmed().startsWith(wanted, Qt::CaseInsensitive)) {
            m_indexList->setCurrentRow(row);
            m_indexList->scrollToItem(m_indexList->item(row), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void HelpViewerWindow::indexChosen() {
    fillIndex();
    const QListWidgetItem* item = m_indexList->currentItem();
    if (!item)
        return;
    const ChmWindowType* type = m_windowType ? &*m_windowType : nullptr;
    const std::vector<SitemapEntry>& index = m_file->keywordIndex(type);
    const auto i = static_cast<std::size_t>(item->data(kEntryRole).toInt());
    if (i >= index.size())
        return;
    const SitemapEntry& entry = index[i];
    if (entry.locals.empty() && !entry.seeAlso.empty()) {
        m_indexField->setText(QString::fromStdString(entry.seeAlso));
        indexTyped(m_indexField->text());
        return;
    }
    std::vector<std::string> paths;
    for (const std::string& local : entry.locals) {
        if (const auto topic = m_file->findTopic(local))
            paths.push_back(*topic);
    }
    showTopics(paths);
}

void HelpViewerWindow::showTopics(const std::vector<std::string>& paths) {
    if (paths.empty())
        return;
    if (paths.size() == 1) {
        showTopic(paths.front());
        return;
    }
    std::vector<TopicsFoundDialog::Topic> topics;
    for (const std::string& path : paths) {
        std::string title = m_file->topicTitle(path);
        topics.push_back({QString::fromStdString(title.empty() ? path : title), path});
    }
    auto* dialog = new TopicsFoundDialog(topics, this);
    dialog->setObjectName(QStringLiteral("topicsFound"));
    connect(dialog, &TopicsFoundDialog::topicChosen, this,
            [this](const std::string& path) { showTopic(path); });
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
}

QWidget* HelpViewerWindow::buildSearchTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* prompt = new QLabel(QStringLiteral("Type in the word(s) to search for:"), tab);
    layout->addWidget(prompt);
    auto* row = new QHBoxLayout;
    m_searchField = new QLineEdit(tab);
    m_searchField->setAccessibleName(QStringLiteral("Words to search for"));
    prompt->setBuddy(m_searchField);
    m_searchField->setObjectName(QStringLiteral("searchField"));
    auto* list = new QPushButton(QStringLiteral("&List Topics"), tab);
    row->addWidget(m_searchField, 1);
    row->addWidget(list);
    layout->addLayout(row);
    m_searchStatus = new QLabel(tab);
    layout->addWidget(m_searchStatus);
    m_searchResults = new QListWidget(tab);
    m_searchResults->setObjectName(QStringLiteral("searchResults"));
    layout->addWidget(m_searchResults);
    auto* display = new QPushButton(QStringLiteral("&Display"), tab);
    layout->addWidget(display, 0, Qt::AlignRight);
    connect(m_searchField, &QLineEdit::returnPressed, this, &HelpViewerWindow::runSearch);
    connect(list, &QPushButton::clicked, this, &HelpViewerWindow::runSearch);
    connect(m_searchResults, &QListWidget::itemActivated, this, &HelpViewerWindow::searchChosen);
    connect(display, &QPushButton::clicked, this, &HelpViewerWindow::searchChosen);
    return tab;
}

void HelpViewerWindow::runSearch() {
    // A search asked for while an earlier one waits for the index is that one: it reads the
    // field once the index is there.
    if (m_waitingForIndex)
        return;
    m_searchResults->clear();
    m_searchPaths.clear();
    if (m_searchField->text().trimmed().isEmpty()) {
        m_searchStatus->clear();
        return;
    }
    if (!m_file->catalogReady()) {
        m_searchStatus->setText(QStringLiteral("Searching..."));
        const QPointer<HelpViewerWindow> alive(this);
        m_waitingForIndex = true;
        waitForCatalog(*m_file);
        if (!alive)
            return;
        m_waitingForIndex = false;
    }
    const std::string query = m_searchField->text().trimmed().toStdString();
    if (query.empty()) {
        m_searchStatus->clear();
        return;
    }
    const TopicCatalog& catalog = m_file->catalog();
    for (const TopicSearch::Hit& hit : catalog.search.search(query)) {
        const std::string& path = catalog.paths[hit.topic];
        const std::string& title = catalog.titles[hit.topic];
        m_searchResults->addItem(QString::fromStdString(title.empty() ? path : title));
        m_searchPaths.push_back(path);
    }
    QString status = m_searchPaths.empty()
                         ? QStringLiteral("No topics found.")
                         : QStringLiteral("Topics found: %1").arg(m_searchPaths.size());
    // What the search could not read, it cannot have found.
    if (!catalog.unreadable.empty())
        status += QStringLiteral("\nPart of the help file could not be read: %1 of its pages "
                                 "were left out.")
                      .arg(catalog.unreadable.size());
    m_searchStatus->setText(status);
    if (!m_searchPaths.empty())
        m_searchResults->setCurrentRow(0);
}

void HelpViewerWindow::searchChosen() {
    const int row = m_searchResults->currentRow();
    if (row >= 0 && row < static_cast<int>(m_searchPaths.size()))
        showTopic(m_searchPaths[static_cast<std::size_t>(row)]);
}

void HelpViewerWindow::syncContents(const QUrl& source) {
    // The browser's history takes the new page only after it announced it: use the announced one.
    const QString current = folded(TopicBrowser::pathOf(source));
    QTreeWidgetItemIterator it(m_contents);
    for (; *it; ++it) {
        if (folded((*it)->data(0, kPathRole).toString().toStdString()) == current) {
            const QSignalBlocker block(m_contents);
            m_contents->setCurrentItem(*it);
            return;
        }
    }
}

void HelpViewerWindow::showTopic(const std::string& path) {
    const ChmWindowType* type = m_windowType ? &*m_windowType : nullptr;
    m_browser->showTopic(path.empty() ? m_file->defaultTopic(type) : path);
}

std::string HelpViewerWindow::currentTopic() const {
    return m_browser->currentTopic();
}

void HelpViewerWindow::goHome() {
    std::string home;
    if (m_windowType && !m_windowType->homeFile.empty()) {
        if (const auto topic = m_file->findTopic(m_windowType->homeFile))
            home = *topic;
    }
    showTopic(home);
}

QWidget* HelpViewerWindow::page(Tab tab) const {
    return tab == Tab::Contents ? m_contentsTab : tab == Tab::Index ? m_indexTab : m_searchTab;
}

bool HelpViewerWindow::hasTab(Tab tab) const {
    return m_tabs->indexOf(page(tab)) >= 0;
}

void HelpViewerWindow::showTab(Tab tab) {
    // A window type without this tab still shows it when asked to.
    if (!hasTab(tab))
        m_tabs->addTab(page(tab), tab == Tab::Contents ? QStringLiteral("Contents")
                                  : tab == Tab::Index  ? QStringLiteral("Index")
                                                       : QStringLiteral("Search"));
    m_tabs->setCurrentWidget(page(tab));
    if (tab == Tab::Index)
        fillIndex();
    setNavigationVisible(true);
}

void HelpViewerWindow::setNavigationVisible(bool visible) {
    m_tabs->setVisible(visible);
    m_hideShow->setText(visible ? QStringLiteral("Hide") : QStringLiteral("Show"));
}

bool HelpViewerWindow::navigationVisible() const {
    return !m_tabs->isHidden();
}

void HelpViewerWindow::setSearchQuery(const QString& query, bool run) {
    showTab(Tab::Search);
    m_searchField->setText(query);
    m_searchField->setFocus();
    if (run && !query.trimmed().isEmpty())
        runSearch();
}

void HelpViewerWindow::jumpToUrl() {
    bool ok = false;
    const QString address =
        QInputDialog::getText(this, QStringLiteral("Jump to URL"), QStringLiteral("Address:"),
                              QLineEdit::Normal, QString(), &ok);
    if (!ok || address.trimmed().isEmpty())
        return;
    m_browser->openLink(QUrl(address.trimmed()));
}
