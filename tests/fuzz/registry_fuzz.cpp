// The registry store as any program, or a damaged disk, may have left it: loaded whole, each
// key opened and its values read back and expanded as the help class reads them.
#include "platform/registry/expand_environment.h"
#include "platform/registry/file_registry.h"
#include "run_folder.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const std::string& storePath() {
    static const std::string path = makeRunFolder("fuzz-registry") + "/registry.json";
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (FILE* f = std::fopen(storePath().c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    const FileRegistry registry(QString::fromStdString(storePath()));
    const FileRegistry::Store store = registry.load();
    for (const FileRegistry::Key& key : store.keys) {
        for (const FileRegistry::Value& value : key.values)
            expandEnvironmentStrings(value.data);
    }
    expandEnvironmentStrings(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
