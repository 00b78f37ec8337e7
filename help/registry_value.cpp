#include "help/registry_value.h"

#include "help/file_names.h"
#include "platform/registry/expand_environment.h"

#include <memory>

std::optional<RegistryRoot> RegistryRootFromName(const std::string& name) {
    static const struct {
        const char* name;
        RegistryRoot root;
    } roots[] = {{"HKCU", RegistryRoot::CurrentUser},   {"HKLM", RegistryRoot::LocalMachine},
                 {"HKU", RegistryRoot::Users},          {"HKDD", RegistryRoot::DynData},
                 {"HKCC", RegistryRoot::CurrentConfig}, {"HKCR", RegistryRoot::ClassesRoot}};
    for (const auto& r : roots) {
        if (equalsIgnoringCase(name, r.name))
            return r.root;
    }
    return std::nullopt;
}

RegistryValueEntry ReadRegistryValue(Registry& registry, const std::string& rootName,
                                     const std::string& keyPath, const std::string& valueName) {
    RegistryValueEntry entry;
    const std::optional<RegistryRoot> root = RegistryRootFromName(rootName);
    if (!root)
        return entry;
    std::unique_ptr<RegistryKey> key;
    if (registry.openKey(*root, keyPath, RegistryAccess::QueryValue, key) != RegistryResult::Ok)
        return entry;
    RegistryValueInfo info;
    for (std::uint32_t index = 0; key->enumValue(index, info) == RegistryResult::Ok; ++index) {
        if (info.type != RegSz && info.type != RegExpandSz)
            continue;
        if (!equalsIgnoringCase(info.name, valueName))
            continue;
        entry.Name = valueName;
        std::uint32_t type = RegNone;
        std::string data;
        if (key->queryValue(info.name, type, data) != RegistryResult::Ok)
            return entry;
        if (type == RegExpandSz)
            data = expandEnvironmentStrings(data);
        entry.Data = data.substr(0, data.find('\0'));
        break;
    }
    key->close();
    return entry;
}
