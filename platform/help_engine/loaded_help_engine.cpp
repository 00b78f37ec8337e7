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

std::string LoadedHelpEngine::loadError() const {
    return m_loadProblem ? engineLoadReason(*m_loadProblem) : std::string();
}

Result<void, EngineLoadProblem> LoadedHelpEngine::load() {
    if (m_entry)
        return {};
    // Each failure is remembered until a load works.
    const auto fail = [this](EngineLoadProblem problem) {
        m_loadProblem = problem;
        return Failed{std::move(problem)};
    };
    std::optional<std::string> path = readRegistryText(m_registry, RegistryRoot::ClassesRoot,
                                                       HelpEngineKeys::kHelpEngineFile, "");
    if ((!path || path->empty()) && !m_directFile.empty())
        path = m_directFile;
    if (!path || path->empty())
        return fail({EngineLoadProblem::Kind::NotRegistered});
    void* library = ::dlopen(path->c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!library) {
        const char* why = ::dlerror();
        return fail({EngineLoadProblem::Kind::CannotLoad, *path, why ? why : ""});
    }
    void* entry = ::dlsym(library, kHtmlHelpEntryPoint);
    if (!entry) {
        ::dlclose(library);
        return fail({EngineLoadProblem::Kind::NoEntryPoint, *path});
    }
    m_library = library;
    m_entry = reinterpret_cast<HtmlHelpFunction>(entry);
    m_loadProblem.reset();
    return {};
}

std::optional<WindowHandle> LoadedHelpEngine::HtmlHelp(WindowHandle caller, const char* file,
                                                       std::uint32_t command, std::uintptr_t data) {
    if (!load())
        return std::nullopt;
    return m_entry(caller, file, command, data);
}
