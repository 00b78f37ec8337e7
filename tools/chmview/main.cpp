// chmview: opens a compiled help file in the program's help viewer, or prints what it holds.
//   chmview FILE.chm | FILE.chm::/topic.htm | FILE.chm>Window
//   chmview --contents FILE.chm      the contents tree
//   chmview --index FILE.chm         the keyword index
//   chmview --search WORDS FILE.chm  the topics that hold every word, best first
//   chmview --topic ID FILE.chm      the topic a context id leads to
// Trees print one entry a line: two blanks of indent per level, the name, a tab and the topic
// path (several paths are separated by tabs). Exit code 1 with one line on standard error when
// the file cannot be read, also when the damage shows only on the way (a search still prints
// what it found in the rest); 2 for a wrong command line.

#include "help/chm/help_file.h"
#include "help/chm/help_target.h"
#include "help/engine/help_session.h"
#include "platform/ui/qt_message_box.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kUsage[] = "usage: chmview FILE.chm[::/topic.htm][>Window]\n"
                      "       chmview --contents FILE.chm\n"
                      "       chmview --index FILE.chm\n"
                      "       chmview --search WORDS FILE.chm\n"
                      "       chmview --topic ID FILE.chm\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

// A sitemap local as the archive spells it, or as written when the archive lacks it.
std::string topicPath(const HelpFile& file, const std::string& local) {
    const HelpLink link = parseHelpLink(local);
    if (link.external || !link.file.empty())
        return local;
    const auto topic = file.findTopic(link.path);
    return topic ? *topic : local;
}

void printTree(const HelpFile& file, const std::vector<SitemapEntry>& entries) {
    for (const SitemapEntry& e : entries) {
        std::string line(2 * static_cast<std::size_t>(e.level), ' ');
        line += e.name();
        line += '\t';
        for (std::size_t i = 0; i < e.locals.size(); ++i) {
            if (i > 0)
                line += '\t';
            line += topicPath(file, e.locals[i]);
        }
        std::printf("%s\n", line.c_str());
    }
}

// Damage met only while reading: one line, as for a file that does not open, and exit code 1.
int damageOrDone(const HelpFile& file, const char* afterwards = "") {
    if (file.damagedFiles().empty())
        return 0;
    std::fflush(stdout);
    std::fprintf(stderr, "chmview: %s %s%s\n", file.path().c_str(), file.damage().c_str(),
                 afterwards);
    return 1;
}

std::shared_ptr<HelpFile> openOrSay(const std::string& path) {
    std::string error;
    std::shared_ptr<HelpFile> file = HelpFile::open(path, error);
    if (!file)
        std::fprintf(stderr, "chmview: %s %s\n", path.c_str(), error.c_str());
    return file;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h")
        return args.empty() ? usage() : (std::fputs(kUsage, stdout), 0);

    const std::string& option = args[0];
    if (option == "--contents" || option == "--index") {
        if (args.size() != 2)
            return usage();
        const auto file = openOrSay(args[1]);
        if (!file)
            return 1;
        printTree(*file, option == "--contents" ? file->contents() : file->keywordIndex());
        return damageOrDone(*file);
    }
    if (option == "--search" || option == "--topic") {
        if (args.size() != 3)
            return usage();
        const auto file = openOrSay(args[2]);
        if (!file)
            return 1;
        if (option == "--search") {
            for (const std::string& path : file->search(args[1]))
                std::printf("%s\n", path.c_str());
            return damageOrDone(*file, "; the search covered only the rest");
        }
        char* end = nullptr;
        const unsigned long id = std::strtoul(args[1].c_str(), &end, 0);
        if (args[1].empty() || *end != '\0' || id > 0xFFFFFFFFul)
            return usage();
        const auto topic = file->topicForContext(static_cast<std::uint32_t>(id));
        if (!topic) {
            std::fprintf(stderr, "chmview: %s has no topic for context id %s\n", args[2].c_str(),
                         args[1].c_str());
            return 1;
        }
        std::printf("%s\n", topic->c_str());
        return 0;
    }
    if (option.rfind("--", 0) == 0 || args.size() != 1)
        return usage();

    // Check the file before any window opens, so a bad file is one line, not a dialog.
    const HelpTarget target = parseHelpTarget(args[0]);
    if (!openOrSay(target.file))
        return 1;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("chmview"));
    QtMessageBox messages;
    HelpSession session(messages);
    if (session.HtmlHelp(0, args[0].c_str(), HelpCommand::HH_DISPLAY_TOPIC, 0) == 0)
        return 1;
    return QApplication::exec();
}
