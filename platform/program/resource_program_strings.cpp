#include "platform/program/resource_program_strings.h"

#include <charconv>
#include <sstream>

#include <QFile>

ResourceProgramStrings::ResourceProgramStrings() {
    QFile file(QStringLiteral(":/strings.txt"));
    if (file.open(QIODevice::ReadOnly))
        m_strings = parse(file.readAll().toStdString());
}

std::optional<std::string> ResourceProgramStrings::loadString(std::int32_t id) const {
    const auto it = m_strings.find(id);
    if (it == m_strings.end())
        return std::nullopt;
    return it->second;
}

std::map<std::int32_t, std::string> ResourceProgramStrings::parse(const std::string& text) {
    std::map<std::int32_t, std::string> strings;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        std::int32_t id = 0;
        const auto [end, error] = std::from_chars(line.data(), line.data() + tab, id);
        if (error != std::errc() || end != line.data() + tab)
            continue;
        std::string value;
        for (std::size_t i = tab + 1; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == 'n') {
                value += '\n';
                ++i;
            } else if (line[i] != '\r') {
                value += line[i];
            }
        }
        strings[id] = value;
    }
    return strings;
}
