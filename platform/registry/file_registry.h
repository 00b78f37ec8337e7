#pragma once

#include "platform/registry/registry.h"

#include <functional>
#include <string>
#include <vector>

#include <QString>

// The registry as a per-user file: $XDG_CONFIG_HOME/sorvinta/registry.json. Every operation
// reads the file afresh and every change is written whole through a temporary file and a rename,
// under a lock file, so two programs that share the store never see half a write. A store that
// cannot be parsed reads as empty; the first change moves it aside to "<file>.damaged" instead of
// overwriting it.
class FileRegistry : public Registry {
public:
    explicit FileRegistry(QString path = defaultPath());
    static QString defaultPath();
    const QString& path() const { return m_path; }

    long openKey(RegistryRoot root, const std::string& path, std::uint32_t access,
                 std::unique_ptr<RegistryKey>& key) override;
    long createKey(RegistryRoot root, const std::string& path, std::uint32_t access,
                   std::unique_ptr<RegistryKey>& key) override;

    struct Value {
        std::string name;
        std::uint32_t type = RegNone;
        std::string data;
    };
    struct Key {
        std::string path; // full path from the root's name, as first written
        std::vector<Value> values;
    };
    struct Store {
        std::vector<Key> keys;
        bool damaged = false; // the file exists but is not a store
    };

    // Reading and changing the whole store; used by the open keys.
    Store load() const;
    long change(const std::string& keyPath, bool createKey,
                const std::function<long(std::vector<Value>&)>& edit);
    bool writable() const;

private:
    QString m_path;
};

// "HKEY_LOCAL_MACHINE" and the other full names of the roots, as the store file names them.
const char* registryRootName(RegistryRoot root);
