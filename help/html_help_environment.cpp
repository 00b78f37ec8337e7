// Registration of help files and the installed help and browser engines.
#include "help/html_help.h"

#include "help/file_names.h"
#include "help/help_versions.h"
#include "help/registry_value.h"
#include "platform/help_engine/help_engine_keys.h"
#include "platform/registry/registry.h"
#include "platform/system/file_system.h"
#include "platform/versions/file_version.h"

#include <memory>

void HTMLHelp::HHRegister(std::string& FileToRegister) {
    if (FileToRegister.empty())
        return;
    if (!IsHelpFile(FileToRegister))
        return;
    HHCheckRegistry(FileToRegister);
    if (!m_HHRegFileName.empty()) {
        ShowInfoMessage("The file " + FileToRegister + " is already registered.  " +
                        "HHRegister will not be run as no action need be taken.");
        return;
    }
    const std::string fullName = FileToRegister;
    if (!IsHelpFile(fullName))
        return;
    std::string probe = fullName;
    if (!EnsureFileExists(probe))
        return;
    if (!hasFolderSeparator(fullName)) {
        ShowWarningMessage("Cannot register " + fullName + " without having a supplied path." +
                           "\"");
        return;
    }
    FileToRegister = bareFileName(fullName);
    const std::string folder = fullName.substr(0, fullName.size() - FileToRegister.size());

    std::unique_ptr<RegistryKey> key;
    if (m_services.registry.createKey(RegistryRoot::LocalMachine, HelpEngineKeys::kHelpFileList,
                                      RegistryAccess::SetValue | RegistryAccess::CreateSubKey,
                                      key) != RegistryResult::Ok) {
        ShowWarningMessage("HTML Help Class: HHRegister Error");
        return;
    }
    if (key->setValue(FileToRegister, RegSz, folder) == RegistryResult::Ok)
        key->close();
    else
        HHCheckRegistry(FileToRegister);
}

void HTMLHelp::HHUnRegister(std::string& FileToUnRegister) {
    if (FileToUnRegister.empty())
        return;
    if (!IsHelpFile(FileToUnRegister))
        return;
    HHCheckRegistry(FileToUnRegister);
    if (m_HHRegFileName.empty()) {
        ShowInfoMessage("The file " + FileToUnRegister + " is not registered.  " +
                        "HHUnRegister will not be run as no action need be taken.");
        return;
    }
    FileToUnRegister = bareFileName(FileToUnRegister);
    std::unique_ptr<RegistryKey> key;
    if (m_services.registry.openKey(RegistryRoot::LocalMachine, HelpEngineKeys::kHelpFileList,
                                    RegistryAccess::SetValue, key) == RegistryResult::Ok)
        key->deleteValue(FileToUnRegister);
    key.reset();
    HHCheckRegistry(FileToUnRegister);
}

bool HTMLHelp::KeyOpensWithFullAccess(const std::string& path) {
    std::unique_ptr<RegistryKey> key;
    if (m_services.registry.openKey(RegistryRoot::LocalMachine, path, RegistryAccess::AllAccess,
                                    key) != RegistryResult::Ok)
        return false;
    return key->close() == RegistryResult::Ok;
}

bool HTMLHelp::HHInstalled() {
    m_HHInstalled = KeyOpensWithFullAccess(HelpEngineKeys::kHelpEngineTypeLibrary);
    return m_HHInstalled;
}

std::string HTMLHelp::FileVersionText(const std::string& path) {
    const std::optional<FileVersion> version = readFileVersion(path);
    return version ? VersionText(*version) : std::string();
}

std::string HTMLHelp::ToLongPath(const std::string& path) {
    // There are no short (8.3) names on Linux.
    return path;
}

void HTMLHelp::LocateEngine(const char* key, std::string& version, const std::string& notRegistered,
                            const std::string& notFound) {
    const RegistryValueEntry entry = ReadRegistryValue(m_services.registry, "HKCR", key, "");
    if (entry.Data.empty()) {
        ShowErrorMessage(notRegistered);
        return;
    }
    const std::string path = ToLongPath(entry.Data);
    if (!fileExists(path)) {
        ShowErrorMessage(notFound);
        return;
    }
    // A version once found is never emptied again, also not by a file without a version.
    const std::string text = FileVersionText(path);
    if (!text.empty())
        version = text;
}

void HTMLHelp::LocateHelpEngine() {
    LocateEngine(HelpEngineKeys::kHelpEngineFile, m_HHVersion,
                 std::string("Hhctrl.ocx is not registered.  ") + "Please install HTML Help.",
                 std::string("Hhctrl.ocx is not in its registered location.  ") +
                     "Please reinstall HTML Help.");
}

void HTMLHelp::LocateBrowserEngine() {
    LocateEngine(HelpEngineKeys::kBrowserEngineFile, m_IEVersion,
                 std::string("Shdocvw.dll is not registered.  ") +
                     "Please install Internet Explorer.",
                 std::string("Internet Explorer is not in its registered location.  ") +
                     "Please reinstall Internet Explorer.");
}

void HTMLHelp::UpdateHHFriendlyName() {
    if (m_HHVersion.empty())
        LocateHelpEngine();
    m_HHFriendlyName = HelpEngineReleaseName(m_HHVersion);
}

void HTMLHelp::UpdateIEFriendlyName() {
    if (m_IEVersion.empty())
        LocateBrowserEngine();
    m_IEFriendlyName = BrowserEngineReleaseName(m_IEVersion);
}

std::string HTMLHelp::HHVersion() {
    LocateHelpEngine();
    return m_HHVersion;
}

std::string HTMLHelp::IEVersion() {
    LocateBrowserEngine();
    return m_IEVersion;
}

std::string HTMLHelp::HHFriendlyName() {
    UpdateHHFriendlyName();
    return m_HHFriendlyName;
}

std::string HTMLHelp::IEFriendlyName() {
    UpdateIEFriendlyName();
    return m_IEFriendlyName;
}

bool HTMLHelp::HHVerifyMinConfig(std::int32_t MinHHVersion, std::int32_t MinIEVersion) {
    LocateHelpEngine();
    LocateBrowserEngine();
    bool hhOK = false;
    if (const auto minimum = MinimumHelpEngineVersion(MinHHVersion))
        hhOK = VersionAtLeast(m_HHVersion, *minimum);
    else
        m_HHVersion = "unknown";
    bool ieOK = false;
    if (const auto minimum = MinimumBrowserEngineVersion(MinIEVersion))
        ieOK = VersionAtLeast(m_IEVersion, *minimum);
    else
        m_IEVersion = "unknown";
    UpdateHHFriendlyName();
    UpdateIEFriendlyName();
    return hhOK && ieOK;
}
