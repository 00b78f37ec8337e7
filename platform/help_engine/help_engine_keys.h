#pragma once

// Where the registry names the help engine and the browser engine it renders with.
namespace HelpEngineKeys {
// Under the classes root; the default value is the engine library's path.
inline constexpr char kHelpEngineFile[] =
    "CLSID\\{4662DAB0-D393-11D0-9A56-00C04FB68B66}\\InprocServer32";
inline constexpr char kBrowserEngineFile[] =
    "CLSID\\{0A89A860-D7B1-11CE-8350-444553540000}\\InProcServer32";
// Under the local-machine root; present once the engine is installed.
inline constexpr char kHelpEngineTypeLibrary[] =
    "SOFTWARE\\Classes\\TypeLib\\{ADB880A2-D8FF-11CF-9377-00AA003B7A11}";
// Under the local-machine root; one value per registered help file.
inline constexpr char kHelpFileList[] = "Software\\Microsoft\\Windows\\HTML Help";
} // namespace HelpEngineKeys
