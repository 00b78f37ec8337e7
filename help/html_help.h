#pragma once

#include "common/colour_ref.h"
#include "platform/ui/window_handle.h"

#include <cstdint>
#include <string>

class HelpEngine;
class MessageBox;
class ProgramStrings;
class Registry;
class WindowServices;

// The outside services the help class works through; real ones in the program, fakes in tests.
struct HTMLHelpServices {
    MessageBox& messages;
    Registry& registry;
    HelpEngine& engine;
    WindowServices& windows;
    const ProgramStrings& strings;
    std::string programFolder; // no trailing "/"
};

// The program's help: names a compiled help file and what to show from it, resolves and tests
// the file, and asks the help engine to show it. Problems are shown in message boxes titled
// "HTML Help Class"; operations never hand a failure back to their caller.
//
// Paths: "/" and "\" both separate folders; a bare name holds neither.
class HTMLHelp {
public:
    explicit HTMLHelp(HTMLHelpServices services);

    // The help file and what to show.
    const std::string& CHMFile() const { return m_CHMFile; }
    void setCHMFile(const std::string& vData) { m_CHMFile = vData; }
    const std::string& HHWindow() const { return m_HHWindow; }
    void setHHWindow(const std::string& vData) { m_HHWindow = vData; }
    const std::string& HHTopicURL() const { return m_HHTopicURL; }
    void setHHTopicURL(const std::string& vData) { m_HHTopicURL = vData; }
    std::int32_t HHTopicID() const { return m_HHTopicID; }
    void setHHTopicID(std::int32_t vData) { m_HHTopicID = vData; }
    const std::string& HHKeyword() const { return m_HHKeyword; }
    void setHHKeyword(const std::string& vData) { m_HHKeyword = vData; }
    const std::string& HHALink() const { return m_HHALink; }
    void setHHALink(const std::string& vData) { m_HHALink = vData; }
    const std::string& HHDefaultURL() const { return m_HHDefaultURL; }
    void setHHDefaultURL(const std::string& vData) { m_HHDefaultURL = vData; }
    const std::string& HHMsgText() const { return m_HHMsgText; }
    void setHHMsgText(const std::string& vData) { m_HHMsgText = vData; }
    const std::string& HHMsgTitle() const { return m_HHMsgTitle; }
    void setHHMsgTitle(const std::string& vData) { m_HHMsgTitle = vData; }
    bool HHShowOnTop() const { return m_HHShowOnTop; }
    void setHHShowOnTop(bool vData) { m_HHShowOnTop = vData; }

    // The outcome of the last HHCheckRegistry.
    const std::string& HHRegFileName() const { return m_HHRegFileName; }
    const std::string& HHRegFilePath() const { return m_HHRegFilePath; }
    bool HHRegFileExists() const { return m_HHRegFileExists; }

    // The text popup. Only HHPopupCustomColors can be read back.
    void setHHPopupFile(const std::string& vData) { m_HHPopupFile = vData; }
    void setHHPopupID(std::int32_t vData) { m_HHPopupID = vData; }
    void setHHPopupText(const std::string& vData) { m_HHPopupText = vData; }
    void setHHPopupType(std::int32_t vData) { m_HHPopupType = vData; }
    void setHHPopupTextColor(ColourRef vData) { m_HHPopupTextColor = vData; }
    void setHHPopupBackColor(ColourRef vData) { m_HHPopupBackColor = vData; }
    void setHHPopupCustomTextColor(ColourRef vData) { m_HHPopupCustomTextColor = vData; }
    void setHHPopupCustomBackColor(ColourRef vData) { m_HHPopupCustomBackColor = vData; }
    bool HHPopupCustomColors() const { return m_HHPopupCustomColors; }
    void setHHPopupCustomColors(bool vData) { m_HHPopupCustomColors = vData; }
    void setHHPopupTextFont(const std::string& vData) { m_HHPopupTextFont = vData; }
    void setHHPopupTextSize(const std::string& vData) { m_HHPopupTextSize = vData; }
    void setHHPopupTextBold(bool vData) { m_HHPopupTextBold = vData; }
    void setHHPopupTextItalic(bool vData) { m_HHPopupTextItalic = vData; }
    void setHHPopupTextUnderline(bool vData) { m_HHPopupTextUnderline = vData; }

    // The help environment; each read looks again (html_help_environment.cpp).
    bool HHInstalled();
    std::string HHVersion();
    std::string IEVersion();
    std::string HHFriendlyName();
    std::string IEFriendlyName();

    // The window of the last display call; warns and gives 0 when there is none.
    WindowHandle HHWndHandle();

    // File resolution (html_help_files.cpp). EnsureFileExists resolves a bare name through the
    // registered help files or the program's folder and writes the result back.
    bool EnsureFileExists(std::string& FileToFind);
    // Always false; the outcome is in HHRegFileName, HHRegFilePath and HHRegFileExists.
    bool HHCheckRegistry(const std::string& FileToCheck);

    // Registration (html_help_environment.cpp). Both leave the bare name in the argument once
    // they got as far as writing.
    void HHRegister(std::string& FileToRegister);
    void HHUnRegister(std::string& FileToUnRegister);
    bool HHVerifyMinConfig(std::int32_t MinHHVersion, std::int32_t MinIEVersion);

    // Display (html_help_display.cpp). CallingForm 0 means no calling window.
    void HHDisplayTopicURL(WindowHandle CallingForm);
    void HHDisplayTopicID(WindowHandle CallingForm);
    void HHDisplaySearch(WindowHandle CallingForm);
    void HHDisplayKeyword(WindowHandle CallingForm);
    void HHDisplayIndex(WindowHandle CallingForm);
    void HHDisplayContents(WindowHandle CallingForm);
    void HHDisplayALink(WindowHandle CallingForm);
    void HHDisplayPopup(WindowHandle CallingForm);
    void HHClose();
    void HHDeleteJumpURLSysMenu(WindowHandle HH_hWnd);
    void HHInvokeWhatsThisHelp(WindowHandle CallingForm);
    std::string HHSetHelpFile(std::int16_t intSelHelpFile) const;

private:
    void ShowErrorMessage(const std::string& text);
    void ShowWarningMessage(const std::string& text);
    void ShowInfoMessage(const std::string& text);
    bool IsHelpFile(const std::string& name);
    bool IsPopupFile(const std::string& name);

    bool KeyOpensWithFullAccess(const std::string& path);
    void LocateHelpEngine();
    void LocateBrowserEngine();
    void LocateEngine(const char* key, std::string& version, const std::string& notRegistered,
                      const std::string& notFound);
    static std::string FileVersionText(const std::string& path);
    static std::string ToLongPath(const std::string& path);
    void UpdateHHFriendlyName();
    void UpdateIEFriendlyName();

    // The steps the display operations share.
    enum class Wording { Contents, Keyword };
    bool fileIsReady();
    bool ownerFor(WindowHandle CallingForm, Wording wording, WindowHandle& owner);
    void callEngine(WindowHandle owner, const char* file, std::uint32_t command,
                    std::uintptr_t data, bool record);
    void displayFile(WindowHandle CallingForm, std::uint32_t command, std::uintptr_t data);
    std::string targetText() const;
    bool windowIsBlank() const;

    HTMLHelpServices m_services;

    std::string m_CHMFile;
    std::string m_HHWindow;
    std::string m_HHTopicURL;
    std::int32_t m_HHTopicID = 0;
    std::string m_HHKeyword;
    std::string m_HHALink;
    std::string m_HHDefaultURL;
    std::string m_HHMsgText;
    std::string m_HHMsgTitle;
    bool m_HHShowOnTop = false;
    std::string m_HHRegFileName;
    std::string m_HHRegFilePath;
    bool m_HHRegFileExists = false;
    std::string m_HHPopupFile;
    std::int32_t m_HHPopupID = 0;
    std::string m_HHPopupText;
    std::int32_t m_HHPopupType = 0;
    ColourRef m_HHPopupTextColor = 0;
    ColourRef m_HHPopupBackColor = 0;
    ColourRef m_HHPopupCustomTextColor = 0;
    ColourRef m_HHPopupCustomBackColor = 0;
    bool m_HHPopupCustomColors = false;
    std::string m_HHPopupTextFont;
    std::string m_HHPopupTextSize;
    bool m_HHPopupTextBold = false;
    bool m_HHPopupTextItalic = false;
    bool m_HHPopupTextUnderline = false;
    bool m_HHInstalled = false;
    std::string m_HHVersion;
    std::string m_IEVersion;
    std::string m_HHFriendlyName;
    std::string m_IEFriendlyName;
    WindowHandle m_HHWndHandle = 0;
};
