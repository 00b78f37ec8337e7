// The help file's name and place: messages, file-type tests, resolution and the registry list.
#include "help/html_help.h"

#include "help/file_names.h"
#include "help/registry_value.h"
#include "platform/help_engine/help_engine_keys.h"
#include "platform/system/file_system.h"
#include "platform/ui/message_box.h"

namespace {

constexpr char kCaption[] = "HTML Help Class";

} // namespace

HTMLHelp::HTMLHelp(HTMLHelpServices services) : m_services(std::move(services)) {}

void HTMLHelp::ShowErrorMessage(const std::string& text) {
    m_services.messages.show(text, kCaption, MessageIcon::Critical, MessageButtons::Ok);
}

void HTMLHelp::ShowWarningMessage(const std::string& text) {
    m_services.messages.show(text, kCaption, MessageIcon::Exclamation, MessageButtons::Ok);
}

void HTMLHelp::ShowInfoMessage(const std::string& text) {
    m_services.messages.show(text, kCaption, MessageIcon::Information, MessageButtons::Ok);
}

bool HTMLHelp::IsHelpFile(const std::string& name) {
    if (endsWithLetters(name, "chm"))
        return true;
    ShowWarningMessage(name + " is not a valid HTML Help file.");
    return false;
}

bool HTMLHelp::IsPopupFile(const std::string& name) {
    if (endsWithLetters(name, "txt"))
        return true;
    ShowWarningMessage("The file specified as the text popup source, '" + name +
                       "', is not a valid popup file.");
    return false;
}

bool HTMLHelp::EnsureFileExists(std::string& FileToFind) {
    if (!hasFolderSeparator(FileToFind)) {
        HHCheckRegistry(FileToFind);
        // Only a lookup of this very name counts: a check that stopped early (a name that is
        // not a help file) leaves the outcome of an earlier check behind.
        if (!m_HHRegFileName.empty() && equalsIgnoringCase(m_HHRegFileName, FileToFind))
            FileToFind = m_HHRegFilePath + m_HHRegFileName;
        else
            FileToFind = m_services.programFolder + "/" + FileToFind;
    }
    if (!fileExists(FileToFind)) {
        ShowWarningMessage("The file " + FileToFind + " does not exist." + "\n" +
                           "Please make sure the correct path and file name have been specified.");
        return false;
    }
    return true;
}

bool HTMLHelp::HHCheckRegistry(const std::string& FileToCheck) {
    std::string copy = FileToCheck;
    if (copy.empty())
        return false;
    m_HHRegFileExists = false;
    if (!IsHelpFile(copy))
        return false;
    copy = bareFileName(copy);
    const RegistryValueEntry entry =
        ReadRegistryValue(m_services.registry, "HKLM", HelpEngineKeys::kHelpFileList, copy);
    if (!equalsIgnoringCase(entry.Name, copy)) {
        m_HHRegFileName.clear();
        m_HHRegFilePath.clear();
        return false;
    }
    m_HHRegFileName = entry.Name;
    m_HHRegFilePath = entry.Data;
    std::string registered = m_HHRegFilePath + "/" + m_HHRegFileName;
    if (EnsureFileExists(registered))
        m_HHRegFileExists = true;
    return false;
}
