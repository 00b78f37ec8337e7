#include "help/file_names.h"

#include <QString>

bool hasFolderSeparator(const std::string& path) {
    return path.find_first_of("/\\") != std::string::npos;
}

std::string bareFileName(const std::string& path) {
    const std::size_t last = path.find_last_of("/\\");
    return last == std::string::npos ? path : path.substr(last + 1);
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a == b ||
           QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

bool endsWithLetters(const std::string& name, const std::string& ending) {
    return name.size() >= ending.size() &&
           equalsIgnoringCase(name.substr(name.size() - ending.size()), ending);
}
