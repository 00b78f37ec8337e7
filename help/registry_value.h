#pragma once

#include "platform/registry/registry.h"

#include <optional>
#include <string>

// One value found by ReadRegistryValue; both fields empty when nothing was found.
struct RegistryValueEntry {
    std::string Name;
    std::string Data;
};

// "HKCU", "HKLM", "HKU", "HKDD", "HKCC" or "HKCR", in any letter case; nothing otherwise.
std::optional<RegistryRoot> RegistryRootFromName(const std::string& name);

// The first text value of the key whose name matches `valueName` (letter case aside; the empty
// name is the key's default value). Name is `valueName` as passed; Data is the value's text,
// expanded for an expandable value. A failed read of a matching value keeps Name and leaves
// Data empty.
RegistryValueEntry ReadRegistryValue(Registry& registry, const std::string& rootName,
                                     const std::string& keyPath, const std::string& valueName);
