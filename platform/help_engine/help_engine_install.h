#pragma once

#include <string>

class Registry;

// The files the registry names for the help engine and for the browser engine it renders with.
struct HelpEngineFiles {
    std::string helpEngine;
    std::string browserEngine;
};

// The engine library that came with this program (beside it in the build tree and after
// install alike), and the Qt Widgets library this process runs with.
HelpEngineFiles installedHelpEngineFiles();

// The real file of a library this process has loaded whose file name starts with `prefix`
// ("libQt6Widgets.so"), or empty.
std::string loadedLibraryFile(const std::string& prefix);

// Makes the registry name these files and mark the engine installed, writing only what differs.
// True when everything is in place afterwards.
bool registerHelpEngine(Registry& registry, const HelpEngineFiles& files);
