// Showing help: the display operations, the text popup and the window operations.
#include "help/html_help.h"

#include "platform/help_engine/help_engine.h"
#include "platform/program/program_strings.h"
#include "platform/ui/message_box.h"
#include "platform/ui/window_services.h"

namespace {

// The menu command of the help window's "Jump to URL…" item.
constexpr std::uint32_t kJumpToUrlCommand = 0xEFFF;

std::string missingWindowWarning(const char* operation) {
    return std::string("The ") + operation + " method was called " +
           "without a form being specified, while HHShowOnTop " + "was set to True.";
}

std::uintptr_t pointer(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

const char* textOrNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

} // namespace

bool HTMLHelp::windowIsBlank() const {
    return m_HHWindow.find_first_not_of(' ') == std::string::npos;
}

std::string HTMLHelp::targetText() const {
    return windowIsBlank() ? m_CHMFile : m_CHMFile + ">" + m_HHWindow;
}

bool HTMLHelp::fileIsReady() {
    return IsHelpFile(m_CHMFile) && EnsureFileExists(m_CHMFile);
}

bool HTMLHelp::ownerFor(WindowHandle CallingForm, Wording wording, WindowHandle& owner) {
    owner = 0;
    if (!m_HHShowOnTop)
        return true;
    if (CallingForm == 0) {
        ShowWarningMessage(missingWindowWarning(wording == Wording::Keyword ? "HHDisplayKeyword"
                                                                            : "HHDisplayContents"));
        return false;
    }
    owner = CallingForm;
    return true;
}

void HTMLHelp::callEngine(WindowHandle owner, const char* file, std::uint32_t command,
                          std::uintptr_t data, bool record) {
    // An engine that cannot be reached skips the call; the operation carries on.
    const std::optional<WindowHandle> window =
        m_services.engine.HtmlHelp(owner, file, command, data);
    if (window && record)
        m_HHWndHandle = *window;
}

void HTMLHelp::displayFile(WindowHandle CallingForm, std::uint32_t command, std::uintptr_t data) {
    if (!fileIsReady())
        return;
    const std::string target = targetText();
    WindowHandle owner = 0;
    if (!ownerFor(CallingForm, Wording::Contents, owner))
        return;
    callEngine(owner, target.c_str(), command, data, true);
}

void HTMLHelp::HHDisplayTopicURL(WindowHandle CallingForm) {
    const std::string topic = m_HHTopicURL;
    displayFile(CallingForm, HelpCommand::HH_DISPLAY_TOPIC, pointer(topic.c_str()));
}

void HTMLHelp::HHDisplayTopicID(WindowHandle CallingForm) {
    displayFile(CallingForm, HelpCommand::HH_HELP_CONTEXT,
                static_cast<std::uintptr_t>(static_cast<std::uint32_t>(m_HHTopicID)));
}

void HTMLHelp::HHDisplaySearch(WindowHandle CallingForm) {
    static const char empty[] = "";
    HH_FTS_QUERY query{};
    query.cbStruct = sizeof query;
    query.fUniCodeStrings = 0;
    query.pszSearchQuery = empty;
    query.iProximity = 0;
    query.fStemmedSearch = 0;
    query.fTitleOnly = 0;
    query.fExecute = 1;
    query.pszWindow = empty;
    displayFile(CallingForm, HelpCommand::HH_DISPLAY_SEARCH, pointer(&query));
}

void HTMLHelp::HHDisplayIndex(WindowHandle CallingForm) {
    displayFile(CallingForm, HelpCommand::HH_DISPLAY_INDEX, 0);
}

void HTMLHelp::HHDisplayContents(WindowHandle CallingForm) {
    displayFile(CallingForm, HelpCommand::HH_DISPLAY_TOC, 0);
}

namespace {

HH_AKLINK lookupRecord(const std::string& names, const std::string& url, const std::string& text,
                       const std::string& title, const char* window) {
    HH_AKLINK link{};
    link.cbStruct = sizeof link;
    link.fReserved = 0;
    link.pszKeywords = names.c_str();
    link.pszUrl = textOrNull(url);
    link.pszMsgText = textOrNull(text);
    link.pszMsgTitle = textOrNull(title);
    link.pszWindow = window;
    link.fIndexOnFail = 0;
    return link;
}

} // namespace

void HTMLHelp::HHDisplayKeyword(WindowHandle CallingForm) {
    if (!fileIsReady())
        return;
    WindowHandle owner = 0;
    if (!ownerFor(CallingForm, Wording::Keyword, owner))
        return;
    const std::string file = m_CHMFile;
    callEngine(owner, file.c_str(), HelpCommand::HH_DISPLAY_TOPIC, 0, true);
    const HH_AKLINK link = lookupRecord(m_HHKeyword, m_HHDefaultURL, m_HHMsgText, m_HHMsgTitle,
                                        windowIsBlank() ? nullptr : m_HHWindow.c_str());
    callEngine(owner, file.c_str(), HelpCommand::HH_KEYWORD_LOOKUP, pointer(&link), true);
}

void HTMLHelp::HHDisplayALink(WindowHandle CallingForm) {
    if (!fileIsReady())
        return;
    const HH_AKLINK link = lookupRecord(m_HHALink, m_HHDefaultURL, m_HHMsgText, m_HHMsgTitle,
                                        windowIsBlank() ? nullptr : m_HHWindow.c_str());
    WindowHandle owner = 0;
    if (!ownerFor(CallingForm, Wording::Contents, owner))
        return;
    const std::string file = m_CHMFile;
    callEngine(owner, file.c_str(), HelpCommand::HH_ALINK_LOOKUP, pointer(&link), true);
}

void HTMLHelp::HHDisplayPopup(WindowHandle CallingForm) {
    const std::int32_t t = m_HHPopupType;
    if (t == 0)
        return;
    if (t == 1 && !fileIsReady())
        return;
    const ScreenPoint cursor = m_services.windows.cursorPos();

    HH_POPUP popup{};
    popup.cbStruct = sizeof popup;
    popup.hinst = nullptr;
    std::string text;
    if (t == 2) {
        text = m_services.strings.loadString(m_HHPopupID).value_or(std::string());
        popup.idString = 0;
        popup.pszText = text.c_str();
    } else if (t == 4) {
        popup.idString = 0;
        if (m_HHPopupText.empty())
            return;
        text = m_HHPopupText;
        popup.pszText = text.c_str();
    } else {
        popup.idString = static_cast<std::uint32_t>(m_HHPopupID);
        popup.pszText = nullptr;
    }
    popup.pt = {cursor.x, cursor.y};
    popup.clrForeground = m_HHPopupCustomColors ? m_HHPopupCustomTextColor : m_HHPopupTextColor;
    popup.clrBackground = m_HHPopupCustomColors ? m_HHPopupCustomBackColor : m_HHPopupBackColor;
    popup.rcMargins = {-1, -1, -1, -1};

    if (m_HHPopupTextFont.empty())
        m_HHPopupTextFont = "Arial";
    if (m_HHPopupTextSize.empty())
        m_HHPopupTextSize = "10";
    std::string font = m_HHPopupTextFont + ", " + m_HHPopupTextSize + ", ascii, ";
    if (m_HHPopupTextBold)
        font += "Bold ";
    if (m_HHPopupTextItalic)
        font += "Italic ";
    if (m_HHPopupTextUnderline)
        font += "Underline";
    popup.pszFont = font.c_str();

    if (t == 1) {
        if (!IsPopupFile(m_HHPopupFile))
            return;
        const std::string target = m_CHMFile + "::/" + m_HHPopupFile;
        callEngine(CallingForm, target.c_str(), HelpCommand::HH_DISPLAY_TEXT_POPUP, pointer(&popup),
                   false);
    } else if (t == 2 || t == 4) {
        callEngine(CallingForm, nullptr, HelpCommand::HH_DISPLAY_TEXT_POPUP, pointer(&popup),
                   false);
    } else {
        return;
    }

    // Each popup starts from the plain look again.
    m_HHPopupTextColor = 0;
    m_HHPopupBackColor = 0;
    m_HHPopupCustomTextColor = 0;
    m_HHPopupCustomBackColor = 0;
    m_HHPopupTextFont = "Arial";
    m_HHPopupTextSize = "10";
    m_HHPopupTextBold = false;
    m_HHPopupTextItalic = false;
    m_HHPopupTextUnderline = false;
}

void HTMLHelp::HHClose() {
    callEngine(0, "", HelpCommand::HH_CLOSE_ALL, 0, false);
}

void HTMLHelp::HHDeleteJumpURLSysMenu(WindowHandle HH_hWnd) {
    m_services.windows.deleteMenuCommand(HH_hWnd, kJumpToUrlCommand);
}

void HTMLHelp::HHInvokeWhatsThisHelp(WindowHandle CallingForm) {
    m_services.windows.enterContextHelp(CallingForm);
}

std::string HTMLHelp::HHSetHelpFile(std::int16_t intSelHelpFile) const {
    if (intSelHelpFile == 1)
        return m_services.programFolder + "/Library.chm";
    if (intSelHelpFile == 2)
        return "Library.txt";
    return {};
}

WindowHandle HTMLHelp::HHWndHandle() {
    if (m_HHWndHandle == 0) {
        ShowWarningMessage("No HTML Help window handle to retrieve.");
        return 0;
    }
    return m_HHWndHandle;
}
