#include "platform/registry/registry_text.h"

#include "platform/registry/expand_environment.h"

std::optional<std::string> readRegistryText(Registry& registry, RegistryRoot root,
                                            const std::string& keyPath,
                                            const std::string& valueName) {
    std::unique_ptr<RegistryKey> key;
    if (registry.openKey(root, keyPath, RegistryAccess::QueryValue, key) != RegistryResult::Ok)
        return std::nullopt;
    std::uint32_t type = RegNone;
    std::string data;
    if (key->queryValue(valueName, type, data) != RegistryResult::Ok)
        return std::nullopt;
    if (type == RegExpandSz)
        return expandEnvironmentStrings(data);
    if (type == RegSz)
        return data;
    return std::nullopt;
}

bool writeRegistryText(Registry& registry, RegistryRoot root, const std::string& keyPath,
                       const std::string& valueName, const std::string& text) {
    std::unique_ptr<RegistryKey> key;
    if (registry.createKey(root, keyPath, RegistryAccess::SetValue, key) != RegistryResult::Ok)
        return false;
    return key->setValue(valueName, RegSz, text) == RegistryResult::Ok;
}
