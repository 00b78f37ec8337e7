#include "help/chm/help_file.h"

#include "help/chm/help_target.h"
#include "help/chm/popup_text_file.h"
#include "help/chm/text_encoding.h"
#include "help/chm/topic_text.h"

#include <QFileInfo>

#include <libxml/parser.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <thread>

namespace {

bool isAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Plain ASCII, which most names and paths are, needs no trip through QString.
bool isAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string simplified(const std::string& text) {
    if (isAscii(text)) {
        std::string out;
        out.reserve(text.size());
        for (const char c : text) {
            if (!isAsciiSpace(c))
                out += c;
            else if (!out.empty() && out.back() != ' ')
                out += ' ';
        }
        if (!out.empty() && out.back() == ' ')
            out.pop_back();
        return out;
    }
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .simplified()
        .toStdString();
}

std::string folded(const std::string& text) {
    if (isAscii(text)) {
        std::string out = simplified(text);
        for (char& c : out)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + ('a' - 'A'));
        return out;
    }
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .toCaseFolded()
        .simplified()
        .toStdString();
}

} // namespace

bool isTopicPage(const std::string& path) {
    const std::string lower = QString::fromStdString(path).toLower().toStdString();
    for (const char* ending : {".htm", ".html", ".xhtml", ".shtml"}) {
        const std::string e = ending;
        if (lower.size() >= e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0)
            return true;
    }
    return false;
}

std::string damageSentence(const std::vector<std::string>& files) {
    if (files.empty())
        return {};
    if (files.size() == 1)
        return "is damaged: " + files.front() + " cannot be read";
    return "is damaged: " + std::to_string(files.size()) + " of its files cannot be read";
}

std::shared_ptr<HelpFile> HelpFile::open(const std::string& path, std::string& error) {
    std::unique_ptr<ChmArchive> archive = ChmArchive::open(path, error);
    if (!archive)
        return nullptr;
    // The internal files say where everything is: one that is there but cannot be read makes
    // the whole file unusable, rather than one that seems to lack contents or context ids.
    std::string internal[4];
    const char* names[4] = {"/#SYSTEM", "/#STRINGS", "/#IVB", "/#WINDOWS"};
    for (int i = 0; i < 4; ++i) {
        bool damaged = false;
        internal[i] = archive->read(names[i], &damaged).value_or(std::string());
        if (damaged) {
            error =
                std::string("is damaged: its internal file ") + (names[i] + 1) + " cannot be read";
            return nullptr;
        }
    }
    std::shared_ptr<HelpFile> file(new HelpFile);
    file->m_path = path;
    file->m_archive = std::move(archive);
    file->m_system = parseSystem(internal[0]);
    file->m_charset = charsetForLanguage(file->m_system.language);
    file->m_strings = std::move(internal[1]);
    file->m_contextMap = parseContextMap(internal[2], file->m_strings);
    file->m_windowTypes = parseWindowTypes(internal[3], file->m_strings);
    return file;
}

QString HelpFile::decode(const std::string& text) const {
    return decodeText(text, m_charset);
}

QString HelpFile::title() const {
    if (!m_system.title.empty())
        return decode(m_system.title);
    return QFileInfo(QString::fromStdString(m_path)).fileName();
}

std::optional<std::string> HelpFile::findTopic(const std::string& path) const {
    const std::string absolute = resolveTopicPath("/", path);
    const std::optional<std::string> spelt = m_archive->spelling(withoutAnchor(absolute));
    if (!spelt)
        return std::nullopt;
    return *spelt + anchorOf(absolute);
}

std::optional<std::string> HelpFile::read(const std::string& path, bool* damaged) const {
    const std::string object = withoutAnchor(resolveTopicPath("/", path));
    bool failed = false;
    std::optional<std::string> bytes = m_archive->read(object, &failed);
    if (failed)
        noteDamage(object);
    if (damaged)
        *damaged = failed;
    return bytes;
}

void HelpFile::noteDamage(const std::string& object) const {
    const std::string spelt = m_archive->spelling(object).value_or(object);
    if (std::find(m_damaged.begin(), m_damaged.end(), spelt) == m_damaged.end())
        m_damaged.push_back(spelt);
}

std::string HelpFile::damage() const {
    return damageSentence(m_damaged);
}

const ChmWindowType* HelpFile::windowType(const std::string& name) const {
    const std::string wanted = folded(name);
    for (const ChmWindowType& t : m_windowTypes) {
        if (folded(t.name) == wanted)
            return &t;
    }
    return nullptr;
}

std::string HelpFile::defaultTopic(const ChmWindowType* window) const {
    if (window) {
        for (const std::string* candidate : {&window->defaultFile, &window->homeFile}) {
            if (candidate->empty())
                continue;
            if (auto topic = findTopic(*candidate))
                return *topic;
        }
    }
    if (!m_system.defaultTopic.empty()) {
        if (auto topic = findTopic(m_system.defaultTopic))
            return *topic;
    }
    for (const SitemapEntry& entry : contents(window)) {
        if (entry.local().empty())
            continue;
        if (auto topic = findTopic(entry.local()))
            return *topic;
    }
    for (const std::string& path : m_archive->files()) {
        if (isTopicPage(path))
            return path;
    }
    return {};
}

std::optional<std::string> HelpFile::topicForContext(std::uint32_t id) const {
    const auto it = m_contextMap.find(id);
    if (it == m_contextMap.end())
        return std::nullopt;
    // The help compiler stores the path it was given, often absolute on the machine that built
    // the file: the topic is the longest tail of that path that the archive holds.
    std::string path = it->second;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    const std::string anchor = anchorOf(path);
    path = withoutAnchor(path);
    std::size_t start = 0;
    while (start < path.size()) {
        const std::string tail = path.substr(start);
        if (auto topic = findTopic(tail))
            return *topic + anchor;
        const std::size_t slash = path.find('/', start + 1);
        if (slash == std::string::npos)
            break;
        start = slash;
    }
    return std::nullopt;
}

std::string HelpFile::contentsFile(const ChmWindowType* window) const {
    return sitemapFile(window, &ChmWindowType::contentsFile, m_system.contentsFile, ".hhc");
}

std::string HelpFile::indexFile(const ChmWindowType* window) const {
    return sitemapFile(window, &ChmWindowType::indexFile, m_system.indexFile, ".hhk");
}

std::string HelpFile::sitemapFile(const ChmWindowType* window, std::string ChmWindowType::*named,
                                  const std::string& system, const char* ending) const {
    if (window && !(window->*named).empty())
        return window->*named;
    // Many help compilers name the contents and index only in the default window type.
    const ChmWindowType* fallback = windowType(m_system.defaultWindow);
    if (fallback && !(fallback->*named).empty())
        return fallback->*named;
    if (!system.empty())
        return system;
    auto& sole = m_soleRootFiles[ending];
    if (!sole)
        sole = soleRootFile(ending);
    return *sole;
}

std::string HelpFile::soleRootFile(const std::string& ending) const {
    std::string found;
    for (const std::string& path : m_archive->files()) {
        if (path.find('/', 1) != std::string::npos || path.size() <= ending.size() ||
            QString::fromStdString(path.substr(path.size() - ending.size()))
                    .compare(QString::fromStdString(ending), Qt::CaseInsensitive) != 0)
            continue;
        if (!found.empty())
            return {};
        found = path;
    }
    return found;
}

const std::vector<SitemapEntry>& HelpFile::sitemap(const std::string& file) const {
    const auto cached = m_sitemaps.find(file);
    if (cached != m_sitemaps.end())
        return cached->second;
    std::vector<SitemapEntry> entries;
    if (!file.empty()) {
        if (const std::optional<std::string> bytes = read(file))
            entries = parseSitemap(*bytes, htmlEncodingFor(*bytes, m_charset));
    }
    return m_sitemaps.emplace(file, std::move(entries)).first->second;
}

const std::vector<SitemapEntry>& HelpFile::contents(const ChmWindowType* window) const {
    return sitemap(contentsFile(window));
}

const std::vector<SitemapEntry>& HelpFile::keywordIndex(const ChmWindowType* window) const {
    return sitemap(indexFile(window));
}

namespace {

// Reads every page of `paths` into `catalog`; stops early, with what it has, when `cancel` is
// set.
void readPages(const ChmArchive& archive, const std::string& charset,
               std::vector<std::string> paths, TopicCatalog& catalog,
               const std::atomic<bool>* cancel = nullptr) {
    catalog.paths = std::move(paths);
    // The pages are read in the order the archive stores them, so that its unpacking runs on
    // from one page to the next instead of starting again at a restart point for most of them;
    // their text joins the index in the catalog's own order.
    struct PageText {
        std::string title;
        std::string body;
        TopicText declared;
        bool damaged = false;
    };
    std::vector<PageText> texts(catalog.paths.size());
    std::vector<std::uint32_t> order(catalog.paths.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return archive.placeOf(catalog.paths[a]) < archive.placeOf(catalog.paths[b]);
    });
    for (const std::uint32_t i : order) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return;
        // A page that cannot be read stays in the catalog with nothing to find in it.
        PageText& text = texts[i];
        std::string page = archive.read(catalog.paths[i], &text.damaged).value_or(std::string());
        makePageUtf8(page, charset);
        scanPageText(page, text.title, text.body);
        // Only pages with objects can declare link names or keywords; those get the parser.
        if (mayDeclareNames(page))
            text.declared = readTopicText(page, "UTF-8");
    }
    for (std::uint32_t i = 0; i < texts.size(); ++i) {
        PageText& text = texts[i];
        if (text.damaged)
            catalog.unreadable.push_back(catalog.paths[i]);
        catalog.search.add(text.title, text.body);
        catalog.titles.push_back(simplified(text.title));
        for (const std::string& name : text.declared.alinks)
            catalog.alinks[folded(name)].push_back(i);
        for (const std::string& name : text.declared.keywords)
            catalog.keywords[folded(name)].push_back(i);
        text = PageText();
    }
}

} // namespace

// A catalog being read on a thread of its own. The thread touches only this and an archive of
// its own; the file takes the result over on its own thread.
struct HelpFile::CatalogBuild {
    std::thread thread;
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    bool done = false;
    std::unique_ptr<TopicCatalog> result; // none when the file could not be opened again
    std::vector<std::function<void()>> ready;
};

HelpFile::~HelpFile() {
    if (m_build && m_build->thread.joinable()) {
        m_build->cancel = true;
        m_build->thread.join();
    }
}

std::vector<std::string> HelpFile::catalogPaths() const {
    // Every page of the archive's listing, and any page the contents names that the listing
    // lacks but a look-up finds.
    std::vector<std::string> paths;
    std::set<std::string> seen;
    for (const std::string& path : m_archive->files()) {
        if (isTopicPage(path) && seen.insert(folded(path)).second)
            paths.push_back(path);
    }
    for (const SitemapEntry& entry : contents()) {
        for (const std::string& local : entry.locals) {
            // Most entries name pages of the listing: those need no look-up in the archive.
            if (seen.count(folded(withoutAnchor(resolveTopicPath("/", local)))))
                continue;
            const std::optional<std::string> topic = findTopic(local);
            if (topic && seen.insert(folded(withoutAnchor(*topic))).second)
                paths.push_back(withoutAnchor(*topic));
        }
    }
    return paths;
}

void HelpFile::prepareCatalog(std::function<void()> ready) const {
    if (m_catalog)
        return;
    if (m_build) {
        std::lock_guard<std::mutex> lock(m_build->mutex);
        if (!m_build->done && ready)
            m_build->ready.push_back(std::move(ready));
        return;
    }
    // The HTML parser sets itself up once, before any thread uses it.
    xmlInitParser();
    auto build = std::make_shared<CatalogBuild>();
    if (ready)
        build->ready.push_back(std::move(ready));
    build->thread =
        std::thread([build, path = m_path, charset = m_charset, paths = catalogPaths()]() mutable {
            std::string error;
            std::unique_ptr<TopicCatalog> catalog;
            if (const auto archive = ChmArchive::open(path, error)) {
                catalog = std::make_unique<TopicCatalog>();
                readPages(*archive, charset, std::move(paths), *catalog, &build->cancel);
            }
            std::vector<std::function<void()>> callbacks;
            {
                std::lock_guard<std::mutex> lock(build->mutex);
                build->result = std::move(catalog);
                build->done = true;
                callbacks.swap(build->ready);
            }
            for (const auto& callback : callbacks)
                callback();
        });
    m_build = std::move(build);
}

bool HelpFile::catalogReady() const {
    if (m_catalog)
        return true;
    if (!m_build)
        return false;
    std::lock_guard<std::mutex> lock(m_build->mutex);
    return m_build->done;
}

void HelpFile::adopt(std::unique_ptr<TopicCatalog> catalog) const {
    for (const std::string& path : catalog->unreadable)
        noteDamage(path);
    m_catalog = std::move(catalog);
}

const TopicCatalog& HelpFile::catalog() const {
    if (m_catalog)
        return *m_catalog;
    if (m_build) {
        m_build->thread.join();
        std::unique_ptr<TopicCatalog> built = std::move(m_build->result);
        m_build.reset();
        // The file could not be opened a second time (it went): this one's archive reads it.
        if (built) {
            adopt(std::move(built));
            return *m_catalog;
        }
    }
    auto catalog = std::make_unique<TopicCatalog>();
    readPages(*m_archive, m_charset, catalogPaths(), *catalog);
    adopt(std::move(catalog));
    return *m_catalog;
}

std::vector<std::string> HelpFile::search(const std::string& query) const {
    const TopicCatalog& c = catalog();
    std::vector<std::string> paths;
    for (const TopicSearch::Hit& hit : c.search.search(query))
        paths.push_back(c.paths[hit.topic]);
    return paths;
}

namespace {

void addUnique(std::vector<std::string>& list, const std::string& path) {
    if (std::find(list.begin(), list.end(), path) == list.end())
        list.push_back(path);
}

} // namespace

std::vector<std::string> HelpFile::topicsForKeyword(const std::string& keyword) const {
    std::vector<std::string> topics;
    const std::string wanted = folded(keyword);
    const std::vector<SitemapEntry>& index = keywordIndex();
    std::vector<std::string> seeAlso;
    for (const SitemapEntry& entry : index) {
        if (folded(entry.name()) != wanted)
            continue;
        for (const std::string& local : entry.locals) {
            if (auto topic = findTopic(local))
                addUnique(topics, *topic);
        }
        if (!entry.seeAlso.empty())
            seeAlso.push_back(folded(entry.seeAlso));
    }
    // One step along "See Also" entries, never in circles.
    for (const std::string& other : seeAlso) {
        if (other == wanted)
            continue;
        for (const SitemapEntry& entry : index) {
            if (folded(entry.name()) != other)
                continue;
            for (const std::string& local : entry.locals) {
                if (auto topic = findTopic(local))
                    addUnique(topics, *topic);
            }
        }
    }
    const TopicCatalog& c = catalog();
    const auto declared = c.keywords.find(wanted);
    if (declared != c.keywords.end()) {
        for (std::uint32_t i : declared->second)
            addUnique(topics, c.paths[i]);
    }
    return topics;
}

std::vector<std::string> HelpFile::topicsForALink(const std::string& name) const {
    std::vector<std::string> topics;
    const TopicCatalog& c = catalog();
    const auto declared = c.alinks.find(folded(name));
    if (declared != c.alinks.end()) {
        for (std::uint32_t i : declared->second)
            addUnique(topics, c.paths[i]);
    }
    return topics;
}

std::optional<std::string> HelpFile::popupText(const std::string& file, std::uint32_t id) const {
    const std::optional<std::string> bytes = read(file);
    if (!bytes)
        return std::nullopt;
    const auto popups = parsePopupTextFile(*bytes);
    const auto it = popups.find(id);
    if (it == popups.end())
        return std::nullopt;
    return it->second;
}

std::string HelpFile::topicTitle(const std::string& path) const {
    const std::string wanted = folded(withoutAnchor(path));
    for (const SitemapEntry& entry : contents()) {
        if (entry.local().empty())
            continue;
        const std::optional<std::string> topic = findTopic(entry.local());
        if (topic && folded(withoutAnchor(*topic)) == wanted)
            return entry.name();
    }
    if (const std::optional<std::string> bytes = read(path)) {
        const TopicText text = readTopicText(*bytes, htmlEncodingFor(*bytes, m_charset));
        if (!text.title.empty())
            return simplified(text.title);
    }
    return {};
}
