#pragma once

#include "platform/registry/registry.h"

#include <optional>
#include <string>

// The text of one value (expandable text expanded), or nothing when the key or value is
// missing or holds no text.
std::optional<std::string> readRegistryText(Registry& registry, RegistryRoot root,
                                            const std::string& keyPath,
                                            const std::string& valueName);

// Writes a text value, creating the key; true on success.
bool writeRegistryText(Registry& registry, RegistryRoot root, const std::string& keyPath,
                       const std::string& valueName, const std::string& text);
