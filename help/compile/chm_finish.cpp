// Finishes a help file the help compiler has just written:
//   chm_finish FILE.chm PROJECT.hhp
// It repairs the header's second identifier and the directory header (see
// help/chm/chm_directory.h), then checks that every
// context id the project's [MAP] section declares leads to a topic of the file. The compiler
// drops [MAP] lines it cannot read without a word (a tab as separator, a trailing comment, id 0,
// a missing #include), so the declared ids are read here from the project itself.
// Exit code 0 when the file is good, 1 with one line per problem otherwise.

#include "help/chm/chm_directory.h"
#include "help/chm/help_file.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

struct Declared {
    std::string name;
    std::string where;
};

std::string trimmed(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

// Reads "#define NAME VALUE" and "#include FILE" lines; `problems` collects what cannot count.
void readMapLines(std::istream& in, const std::string& where, const std::string& folder,
                  std::multimap<std::uint32_t, Declared>& ids, std::vector<std::string>& problems,
                  int depth) {
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string text = trimmed(line);
        const std::string at = where + ":" + std::to_string(number);
        if (text.empty() || text.rfind("//", 0) == 0 || text.rfind(";", 0) == 0)
            continue;
        std::istringstream words(text);
        std::string directive;
        words >> directive;
        if (directive == "#include") {
            std::string file;
            std::getline(words, file);
            file = trimmed(file);
            if (file.size() >= 2 && (file.front() == '"' || file.front() == '<'))
                file = file.substr(1, file.size() - 2);
            std::ifstream header(folder + "/" + file);
            if (!header || depth > 8) {
                problems.push_back(at + ": cannot read the included file " + file);
                continue;
            }
            readMapLines(header, file, folder, ids, problems, depth + 1);
        } else if (directive == "#define") {
            std::string name, value, rest;
            words >> name >> value;
            std::getline(words, rest);
            if (!trimmed(rest).empty()) {
                problems.push_back(at + ": text after the value (the compiler drops this line)");
                continue;
            }
            if (line.find('\t') != std::string::npos) {
                problems.push_back(at + ": a tab separates the words (the compiler drops this "
                                        "line); use blanks");
                continue;
            }
            char* end = nullptr;
            const unsigned long id = std::strtoul(value.c_str(), &end, 0);
            if (value.empty() || *end != '\0' || id == 0 || id > 0xFFFFFFFFul) {
                problems.push_back(at + ": " + name + " needs a context id from 1 up, not '" +
                                   value + "'");
                continue;
            }
            ids.emplace(static_cast<std::uint32_t>(id), Declared{name, at});
        } else if (where.find(".hhp") == std::string::npos || text[0] != '[') {
            problems.push_back(at + ": not a #define or #include line: " + text);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: chm_finish FILE.chm PROJECT.hhp\n");
        return 2;
    }
    const std::string chm = argv[1];
    const std::string project = argv[2];
    std::vector<std::string> problems;

    std::string error;
    if (repairSecondIdentifier(chm, error) == DirectoryRepair::Failed ||
        repairFirstListingChunk(chm, error) == DirectoryRepair::Failed) {
        std::fprintf(stderr, "%s %s\n", chm.c_str(), error.c_str());
        return 1;
    }

    std::ifstream hhp(project);
    if (!hhp) {
        std::fprintf(stderr, "cannot read %s\n", project.c_str());
        return 1;
    }
    const std::size_t slash = project.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : project.substr(0, slash);
    // Only the [MAP] section's lines.
    std::stringstream map;
    std::string line;
    bool inMap = false;
    while (std::getline(hhp, line)) {
        const std::string text = trimmed(line);
        if (!text.empty() && text[0] == '[') {
            inMap = text == "[MAP]";
            map << "\n";
            continue;
        }
        map << (inMap ? line : std::string()) << "\n";
    }
    std::multimap<std::uint32_t, Declared> ids;
    readMapLines(map, project, folder, ids, problems, 0);

    const std::shared_ptr<HelpFile> file = HelpFile::open(chm, error);
    if (!file) {
        std::fprintf(stderr, "%s %s\n", chm.c_str(), error.c_str());
        return 1;
    }
    for (const auto& [id, declared] : ids) {
        if (ids.count(id) > 1)
            problems.push_back(declared.where + ": context id " + std::to_string(id) +
                               " is declared more than once");
        else if (!file->contextMap().count(id))
            problems.push_back(declared.where + ": " + declared.name + " (" + std::to_string(id) +
                               ") has no [ALIAS] topic in the file");
        else if (!file->topicForContext(id))
            problems.push_back(declared.where + ": " + declared.name + " (" + std::to_string(id) +
                               ") leads to no topic of the file");
    }
    for (const auto& [id, text] : file->contextMap()) {
        if (!file->topicForContext(id))
            problems.push_back(chm + ": context id " + std::to_string(id) + " leads to " + text +
                               ", which the file does not hold");
    }
    for (const std::string& p : problems)
        std::fprintf(stderr, "%s\n", p.c_str());
    return problems.empty() ? 0 : 1;
}
