#include "platform/help_engine/loaded_help_engine.h"

#include "platform/help_engine/help_engine_keys.h"
#include "platform/registry/registry_text.h"

#include <dlfcn.h>

#include <utility>

LoadedHelpEngine::LoadedHelpEngine(Registry& registry, std::string directFile)
    : m_registry(registry), m_directFile(std::move(directFile)) {}

LoadedHelpEngine::~LoadedHelpEngine() {
    // Loaded with RTLD_NODELETE: this drops our reference, the code stays for open windows.
    if (m_library)
        ::dlclose(m_library);
}

bool LoadedHelpEngine::load() {
    if (m_entry)
        return true;
    std::optional<std::string> path = readRegistryText(m_registry, RegistryRoot::ClassesRoot,
                                                       HelpEngineKeys::kHelpEngineFile, "");
    if ((!path || path->empty()) && !m_directFile.empty())
        path = m_directFile;
    if (!path || path->empty()) {
        m_loadError = "the help engine is not registered";
        return false;
    }
    void* library = ::dlopen(path->c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!library) {
        const char* why = ::dlerror();
        m_loadError = why ? why : "cannot load " + *path;
        return false;
    }
    void* entry = ::dlsym(library, kHtmlHelpEntryPoint);
    if (!entry) {
        m_loadError = *path + " has no entry point " + kHtmlHelpEntryPoint;
        ::dlclose(library);
        return false;
    }
    m_library = library;
    m_entry = reinterpret_cast<HtmlHelpFunction>(entry);
    m_loadError.clear();
    return true;
}

std::optional<WindowHandle> LoadedHelpEngine::HtmlHelp(WindowHandle caller, const char* file,
                                                       std::uint32_t command, std::uintptr_t data) {
    if (!load())
        return std::nullopt;
    return m_entry(caller, file, command, data);
}
