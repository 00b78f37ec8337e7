#pragma once

#include "platform/help_engine/help_engine.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <map>
#include <memory>
#include <string>
#include <vector>

class HelpFile;
class HelpViewerWindow;
class MessageBox;
class TextPopup;
struct HelpTarget;

// What the help engine does for each command: it opens help files (each read once and kept,
// with its search), shows them in help windows (one per file and window type, reused), looks
// up keywords and link names, and shows text popups. Answers the handle of the window shown,
// 0 for none.
class HelpSession : public QObject {
    Q_OBJECT
public:
    explicit HelpSession(MessageBox& messages, QObject* parent = nullptr);
    ~HelpSession() override;

    WindowHandle HtmlHelp(WindowHandle caller, const char* file, std::uint32_t command,
                          std::uintptr_t data);

    std::vector<HelpViewerWindow*> windows() const;
    TextPopup* popup() const;
    void closeAll();

    // The engine's own messages carry this title.
    static constexpr const char* kTitle = "Help";

private:
    std::shared_ptr<HelpFile> openFile(const std::string& path);
    WindowHandle run(const std::shared_ptr<HelpFile>& help, const HelpTarget& target,
                     WindowHandle caller, std::uint32_t command, std::uintptr_t data);
    // Where the window is that a new help window should keep clear of; empty for none.
    QRect placeBeside(QWidget* caller) const;
    HelpViewerWindow* windowFor(const std::shared_ptr<HelpFile>& file,
                                const std::string& windowName, WindowHandle caller);
    WindowHandle display(const std::shared_ptr<HelpFile>& file, const std::string& windowName,
                         WindowHandle caller, const std::string& topic);
    WindowHandle showTab(const std::shared_ptr<HelpFile>& file, const HelpTarget& target,
                         WindowHandle caller, int tab);
    WindowHandle search(const std::shared_ptr<HelpFile>& file, const HelpTarget& target,
                        WindowHandle caller, const HH_FTS_QUERY* query);
    WindowHandle lookup(const std::shared_ptr<HelpFile>& file, const HelpTarget& target,
                        WindowHandle caller, const HH_AKLINK* link, bool associative);
    WindowHandle showPopup(WindowHandle caller, const char* file, const HH_POPUP* popup);
    void openLinkedFile(const std::shared_ptr<HelpFile>& from, const QString& file,
                        const QString& path);
    void warn(const std::string& text);

    struct OpenFile {
        std::shared_ptr<HelpFile> file;
        qint64 size = 0;
        QDateTime modified;
    };
    MessageBox& m_messages;
    std::map<std::string, OpenFile> m_files; // by canonical path
    std::vector<QPointer<HelpViewerWindow>> m_windows;
    QPointer<TextPopup> m_popup;
};

// The handle of a top-level window, as the engine answers it.
WindowHandle windowHandleOf(QWidget* window);
