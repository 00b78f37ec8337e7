#include "platform/help_engine/help_engine_messages.h"

#include "platform/help_engine/help_engine.h"

std::string engineLoadReason(const EngineLoadProblem& problem) {
    switch (problem.kind) {
    case EngineLoadProblem::Kind::NotRegistered:
        break;
    case EngineLoadProblem::Kind::CannotLoad:
        return problem.loaderText.empty() ? "cannot load " + problem.path : problem.loaderText;
    case EngineLoadProblem::Kind::NoEntryPoint:
        return problem.path + " has no entry point " + kHtmlHelpEntryPoint;
    }
    return "the help engine is not registered";
}
