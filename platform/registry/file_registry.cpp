#include "platform/registry/file_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

constexpr long kInvalidParameter = 87;
constexpr long kWriteFault = 29;

QString folded(const std::string& text) {
    return QString::fromStdString(text).toCaseFolded();
}

bool sameName(const std::string& a, const std::string& b) {
    return a == b || folded(a) == folded(b);
}

// "HKEY_LOCAL_MACHINE\Software\X" from a root and a path that may carry stray separators.
std::string fullKeyPath(RegistryRoot root, const std::string& path) {
    std::string full = registryRootName(root);
    std::string part;
    auto flush = [&] {
        if (!part.empty())
            full += '\\' + part;
        part.clear();
    };
    for (char c : path) {
        if (c == '\\')
            flush();
        else
            part += c;
    }
    flush();
    return full;
}

// True when `key` is `path` or lies below it.
bool isAtOrBelow(const std::string& key, const std::string& path) {
    if (key.size() < path.size())
        return false;
    if (!sameName(key.substr(0, path.size()), path))
        return false;
    return key.size() == path.size() || key[path.size()] == '\\';
}

const char* typeName(std::uint32_t type) {
    return type == RegExpandSz ? "REG_EXPAND_SZ" : "REG_SZ";
}

const FileRegistry::Key* findKey(const FileRegistry::Store& store, const std::string& path) {
    for (const FileRegistry::Key& key : store.keys) {
        if (sameName(key.path, path))
            return &key;
    }
    return nullptr;
}

class FileRegistryKey : public RegistryKey {
public:
    FileRegistryKey(FileRegistry& store, std::string path, std::uint32_t access)
        : m_store(store), m_path(std::move(path)), m_access(access) {}

    long enumValue(std::uint32_t index, RegistryValueInfo& info) override {
        if (!m_open || !(m_access & RegistryAccess::QueryValue))
            return RegistryResult::AccessDenied;
        const FileRegistry::Store store = m_store.load();
        const FileRegistry::Key* key = findKey(store, m_path);
        if (!key || index >= key->values.size())
            return RegistryResult::NoMoreItems;
        const FileRegistry::Value& v = key->values[index];
        info = {v.name, v.type, v.data.size() + 1};
        return RegistryResult::Ok;
    }

    long queryValue(const std::string& name, std::uint32_t& type, std::string& data) override {
        if (!m_open || !(m_access & RegistryAccess::QueryValue))
            return RegistryResult::AccessDenied;
        const FileRegistry::Store store = m_store.load();
        const FileRegistry::Key* key = findKey(store, m_path);
        if (!key)
            return RegistryResult::NotFound;
        for (const FileRegistry::Value& v : key->values) {
            if (sameName(v.name, name)) {
                type = v.type;
                data = v.data;
                return RegistryResult::Ok;
            }
        }
        return RegistryResult::NotFound;
    }

    long setValue(const std::string& name, std::uint32_t type, const std::string& data) override {
        if (!m_open || !(m_access & RegistryAccess::SetValue))
            return RegistryResult::AccessDenied;
        if (type != RegSz && type != RegExpandSz)
            return kInvalidParameter;
        // Text values end at their first NUL, as they would when read back.
        const std::string text = data.substr(0, data.find('\0'));
        return m_store.change(m_path, true, [&](std::vector<FileRegistry::Value>& values) {
            for (FileRegistry::Value& v : values) {
                if (sameName(v.name, name)) {
                    v.type = type;
                    v.data = text;
                    return RegistryResult::Ok;
                }
            }
            values.push_back({name, type, text});
            return RegistryResult::Ok;
        });
    }

    long deleteValue(const std::string& name) override {
        if (!m_open || !(m_access & RegistryAccess::SetValue))
            return RegistryResult::AccessDenied;
        return m_store.change(m_path, false, [&](std::vector<FileRegistry::Value>& values) {
            for (auto it = values.begin(); it != values.end(); ++it) {
                if (sameName(it->name, name)) {
                    values.erase(it);
                    return RegistryResult::Ok;
                }
            }
            return RegistryResult::NotFound;
        });
    }

    long close() override {
        if (!m_open)
            return 6; // an invalid handle
        m_open = false;
        return RegistryResult::Ok;
    }

private:
    FileRegistry& m_store;
    std::string m_path;
    std::uint32_t m_access;
    bool m_open = true;
};

} // namespace

const char* registryRootName(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    case RegistryRoot::CurrentUser:
        return "HKEY_CURRENT_USER";
    case RegistryRoot::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::Users:
        return "HKEY_USERS";
    case RegistryRoot::CurrentConfig:
        return "HKEY_CURRENT_CONFIG";
    case RegistryRoot::DynData:
        return "HKEY_DYN_DATA";
    }
    return "";
}

FileRegistry::FileRegistry(QString path) : m_path(std::move(path)) {}

QString FileRegistry::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/sorvinta/registry.json");
}

FileRegistry::Store FileRegistry::load() const {
    Store store;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return store;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        store.damaged = true;
        return store;
    }
    const QJsonObject keys = doc.object().value(QStringLiteral("keys")).toObject();
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        Key key{it.key().toStdString(), {}};
        for (const QJsonValue& item : it.value().toArray()) {
            const QJsonObject v = item.toObject();
            const QString type = v.value(QStringLiteral("type")).toString();
            key.values.push_back({v.value(QStringLiteral("name")).toString().toStdString(),
                                  type == QLatin1String("REG_EXPAND_SZ") ? RegExpandSz : RegSz,
                                  v.value(QStringLiteral("data")).toString().toStdString()});
        }
        store.keys.push_back(std::move(key));
    }
    return store;
}

bool FileRegistry::writable() const {
    const QFileInfo file(m_path);
    if (file.exists() && !file.isWritable())
        return false;
    // The nearest folder that exists must take new files (the store is replaced by a rename).
    QDir dir = file.absoluteDir();
    while (!dir.exists() && !dir.isRoot())
        dir.setPath(QFileInfo(dir.path()).absolutePath());
    return QFileInfo(dir.path()).isWritable();
}

long FileRegistry::change(const std::string& keyPath, bool createKey,
                          const std::function<long(std::vector<Value>&)>& edit) {
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        return RegistryResult::AccessDenied;
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(5000))
        return RegistryResult::AccessDenied;

    Store store = load();
    if (store.damaged) {
        // Keep what was there for whoever wants to look at it; start a fresh store.
        const QString aside = m_path + QStringLiteral(".damaged");
        QFile::remove(aside);
        if (!QFile::rename(m_path, aside))
            return kWriteFault;
        store = Store{};
    }
    Key* target = nullptr;
    for (Key& key : store.keys) {
        if (sameName(key.path, keyPath)) {
            target = &key;
            break;
        }
    }
    if (!target) {
        if (!createKey)
            return RegistryResult::NotFound;
        store.keys.push_back({keyPath, {}});
        target = &store.keys.back();
    }
    const long result = edit(target->values);
    if (result != RegistryResult::Ok)
        return result;

    QJsonObject keys;
    for (const Key& key : store.keys) {
        QJsonArray values;
        for (const Value& v : key.values) {
            values.append(
                QJsonObject{{QStringLiteral("name"), QString::fromStdString(v.name)},
                            {QStringLiteral("type"), QString::fromLatin1(typeName(v.type))},
                            {QStringLiteral("data"), QString::fromStdString(v.data)}});
        }
        keys.insert(QString::fromStdString(key.path), values);
    }
    QSaveFile out(m_path);
    if (!out.open(QIODevice::WriteOnly))
        return RegistryResult::AccessDenied;
    out.write(QJsonDocument(QJsonObject{{QStringLiteral("keys"), keys}}).toJson());
    return out.commit() ? RegistryResult::Ok : kWriteFault;
}

long FileRegistry::openKey(RegistryRoot root, const std::string& path, std::uint32_t access,
                           std::unique_ptr<RegistryKey>& key) {
    key.reset();
    if ((access & RegistryAccess::Writes) && !writable())
        return RegistryResult::AccessDenied;
    const std::string full = fullKeyPath(root, path);
    // A root always exists; any other key exists once it or a key below it was created.
    bool found = full == registryRootName(root);
    if (!found) {
        for (const Key& k : load().keys)
            found = found || isAtOrBelow(k.path, full);
    }
    if (!found)
        return RegistryResult::NotFound;
    key = std::make_unique<FileRegistryKey>(*this, full, access);
    return RegistryResult::Ok;
}

long FileRegistry::createKey(RegistryRoot root, const std::string& path, std::uint32_t access,
                             std::unique_ptr<RegistryKey>& key) {
    key.reset();
    if (!writable())
        return RegistryResult::AccessDenied;
    const std::string full = fullKeyPath(root, path);
    const long result = change(full, true, [](std::vector<Value>&) { return RegistryResult::Ok; });
    if (result != RegistryResult::Ok)
        return result;
    key = std::make_unique<FileRegistryKey>(*this, full, access);
    return RegistryResult::Ok;
}
