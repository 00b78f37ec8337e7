#pragma once

#include <string>

// Why the help engine library could not be loaded.
struct EngineLoadProblem {
    enum class Kind {
        NotRegistered, // neither the registry nor the program names a library
        CannotLoad,    // the system's loader refused `path`
        NoEntryPoint,  // `path` loaded but lacks the engine's entry point
    };
    Kind kind = Kind::NotRegistered;
    std::string path = {};
    // CannotLoad: what the system's loader said, when it said anything.
    std::string loaderText = {};
};

// The words for it, which complete "Help cannot be opened: ...".
std::string engineLoadReason(const EngineLoadProblem& problem);
