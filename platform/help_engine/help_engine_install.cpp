#include "platform/help_engine/help_engine_install.h"

#include "platform/help_engine/help_engine_keys.h"
#include "platform/registry/registry_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <link.h>

std::string loadedLibraryFile(const std::string& prefix) {
    struct Search {
        const std::string& prefix;
        std::string found;
    } search{prefix, {}};
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            auto* s = static_cast<Search*>(data);
            const std::string path = info->dlpi_name ? info->dlpi_name : "";
            const std::string name = path.substr(path.find_last_of('/') + 1);
            if (name.rfind(s->prefix, 0) != 0)
                return 0;
            s->found = path;
            return 1;
        },
        &search);
    if (search.found.empty())
        return {};
    // The versioned file behind the loaded name: libQt6Widgets.so.6 is a link to .so.6.4.2.
    const QString real = QFileInfo(QString::fromStdString(search.found)).canonicalFilePath();
    return real.isEmpty() ? search.found : real.toStdString();
}

HelpEngineFiles installedHelpEngineFiles() {
    const QString engine = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                           QStringLiteral("/" SORVINTA_HELP_ENGINE_FROM_BINDIR));
    return {engine.toStdString(), loadedLibraryFile("libQt6Widgets.so")};
}

bool registerHelpEngine(Registry& registry, const HelpEngineFiles& files) {
    const auto ensure = [&](RegistryRoot root, const char* key, const std::string& text) {
        if (readRegistryText(registry, root, key, "") == text)
            return true;
        return writeRegistryText(registry, root, key, "", text);
    };
    bool ok = ensure(RegistryRoot::ClassesRoot, HelpEngineKeys::kHelpEngineFile, files.helpEngine);
    if (!files.browserEngine.empty())
        ok = ensure(RegistryRoot::ClassesRoot, HelpEngineKeys::kBrowserEngineFile,
                    files.browserEngine) &&
             ok;
    ok = ensure(RegistryRoot::LocalMachine, HelpEngineKeys::kHelpEngineTypeLibrary,
                "Sorvinta help engine") &&
         ok;
    return ok;
}
