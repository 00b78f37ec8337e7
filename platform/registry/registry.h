#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The six roots of the store.
enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };

// Value types. Only text values are read back as text.
enum RegistryType : std::uint32_t { RegNone = 0, RegSz = 1, RegExpandSz = 2, RegBinary = 3 };

// Access rights asked for when a key is opened; anything that writes needs a writable store.
namespace RegistryAccess {
constexpr std::uint32_t QueryValue = 0x1;
constexpr std::uint32_t SetValue = 0x2;
constexpr std::uint32_t CreateSubKey = 0x4;
constexpr std::uint32_t EnumerateSubKeys = 0x8;
constexpr std::uint32_t AllAccess = 0xF003F;
constexpr std::uint32_t Writes = SetValue | CreateSubKey | 0x10000 /* delete */;
} // namespace RegistryAccess

// Result codes: 0 is success.
namespace RegistryResult {
constexpr long Ok = 0;
constexpr long NotFound = 2;
constexpr long AccessDenied = 5;
constexpr long NoMoreItems = 259;
} // namespace RegistryResult

struct RegistryValueInfo {
    std::string name;
    std::uint32_t type = RegNone;
    std::size_t dataSize = 0; // bytes, with the terminating NUL of a text value
};

// An open key. It closes when destroyed; close() reports the result of closing.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // The index-th value of the key, in the order the values were first written.
    virtual long enumValue(std::uint32_t index, RegistryValueInfo& info) = 0;
    // The value of that name (letter case aside); the empty name is the key's default value.
    virtual long queryValue(const std::string& name, std::uint32_t& type, std::string& data) = 0;
    virtual long setValue(const std::string& name, std::uint32_t type, const std::string& data) = 0;
    virtual long deleteValue(const std::string& name) = 0;
    virtual long close() = 0;
};

// A hierarchical store of named values under the six roots. Key paths are separated by "\" and,
// like value names, match without regard to letter case.
class Registry {
public:
    virtual ~Registry() = default;
    virtual long openKey(RegistryRoot root, const std::string& path, std::uint32_t access,
                         std::unique_ptr<RegistryKey>& key) = 0;
    // Opens the key, creating it and any missing parent first.
    virtual long createKey(RegistryRoot root, const std::string& path, std::uint32_t access,
                           std::unique_ptr<RegistryKey>& key) = 0;
};
