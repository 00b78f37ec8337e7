#pragma once

#include "common/result.h"
#include "platform/help_engine/help_engine.h"
#include "platform/help_engine/help_engine_messages.h"

#include <optional>
#include <string>

class Registry;

// The help engine library, loaded on first use from the path the registry lists for it, or,
// while the registry names none (it could not be written, or not yet), from `directFile`. While
// it cannot be loaded (no entry, no file, no entry point) every call answers "not reachable",
// and the next call tries again. Once loaded it stays in memory for the life of the program:
// its windows may outlive this object.
class LoadedHelpEngine : public HelpEngine {
public:
    explicit LoadedHelpEngine(Registry& registry, std::string directFile = {});
    ~LoadedHelpEngine() override;
    LoadedHelpEngine(const LoadedHelpEngine&) = delete;
    LoadedHelpEngine& operator=(const LoadedHelpEngine&) = delete;

    std::optional<WindowHandle> HtmlHelp(WindowHandle caller, const char* file,
                                         std::uint32_t command, std::uintptr_t data) override;

    // Why the last load failed, in words, for tools that want to say so; empty after a load
    // that worked.
    std::string loadError() const;
    std::string unreachableReason() const override { return loadError(); }

private:
    Result<void, EngineLoadProblem> load();

    Registry& m_registry;
    std::string m_directFile;
    void* m_library = nullptr;
    HtmlHelpFunction m_entry = nullptr;
    std::optional<EngineLoadProblem> m_loadProblem;
};
