#pragma once

#include "help/chm/chm_archive.h"
#include "help/chm/chm_internal_files.h"
#include "help/chm/sitemap.h"
#include "help/chm/topic_search.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// A page the viewer shows and the search reads: an .htm or .html file, in any letter case.
bool isTopicPage(const std::string& path);
// "is damaged: /toc.hhc cannot be read", or "is damaged: 3 of its files cannot be read"; empty
// for no files.
std::string damageSentence(const std::vector<std::string>& files);

// Every topic page of a help file, read once: titles, the link names and keywords the pages
// declare, and the full-text search over their text.
struct TopicCatalog {
    std::vector<std::string> paths; // archive paths, in the archive's order
    std::vector<std::string> titles;
    TopicSearch search;
    // Folded names to topic numbers.
    std::unordered_map<std::string, std::vector<std::uint32_t>> alinks;
    std::unordered_map<std::string, std::vector<std::uint32_t>> keywords;
    // Pages the archive lists but could not give: the search knows nothing of them.
    std::vector<std::string> unreadable;
};

// A compiled help file opened for reading: its archive and what its internal files say. The
// contents, the keyword index and the topic catalog are read when first asked for and kept.
class HelpFile {
public:
    // Nothing, with a sentence in `error`, when the file cannot be opened as a help file.
    static std::shared_ptr<HelpFile> open(const std::string& path, std::string& error);
    ~HelpFile();
    HelpFile(const HelpFile&) = delete;
    HelpFile& operator=(const HelpFile&) = delete;

    const std::string& path() const { return m_path; }
    const ChmSystemInfo& system() const { return m_system; }
    // The charset of texts that do not name theirs.
    const std::string& charset() const { return m_charset; }
    // The title the file gives itself, else its file name.
    QString title() const;
    QString decode(const std::string& text) const;

    // The archive path of a topic, spelt as the archive spells it, with `path`'s "#anchor";
    // relative paths count from the archive's root. Nothing when the archive has no such file.
    std::optional<std::string> findTopic(const std::string& path) const;
    // A file of the archive; `damaged` says when it is listed but cannot be read.
    std::optional<std::string> read(const std::string& path, bool* damaged = nullptr) const;
    // The archive paths of the files that are listed but could not be read so far, in the order
    // they were met; and a sentence for them ("is damaged: … cannot be read"), empty for none.
    const std::vector<std::string>& damagedFiles() const { return m_damaged; }
    std::string damage() const; // damageSentence(damagedFiles())
    const ChmArchive& archive() const { return *m_archive; }

    // The topic a window type opens at, else the file's default topic, else the first entry of
    // the contents, else the first page.
    std::string defaultTopic(const ChmWindowType* window = nullptr) const;
    const std::map<std::uint32_t, std::string>& contextMap() const { return m_contextMap; }
    // The topic mapped to a context id, resolved against the archive.
    std::optional<std::string> topicForContext(std::uint32_t id) const;
    const std::vector<ChmWindowType>& windowTypes() const { return m_windowTypes; }
    const ChmWindowType* windowType(const std::string& name) const;

    // The contents tree and keyword index: those the window type names, else those of the
    // file's default window type, else those #SYSTEM names, else the file's one .hhc (.hhk) at
    // its root.
    const std::vector<SitemapEntry>& contents(const ChmWindowType* window = nullptr) const;
    const std::vector<SitemapEntry>& keywordIndex(const ChmWindowType* window = nullptr) const;
    std::string contentsFile(const ChmWindowType* window = nullptr) const;
    std::string indexFile(const ChmWindowType* window = nullptr) const;

    // The topic catalog; read here and now unless prepareCatalog() read it already, or is still
    // reading it, which is then waited for.
    const TopicCatalog& catalog() const;
    // Starts reading the catalog on a thread of its own (with an archive of its own), once.
    // `ready` is called on that thread when it is done; a caller that must not block waits for
    // catalogReady() in its own way, then calls catalog().
    void prepareCatalog(std::function<void()> ready = {}) const;
    bool catalogReady() const;
    // Topic paths, best first.
    std::vector<std::string> search(const std::string& query) const;
    // The topics a keyword or link name leads to: the index's and those the pages declare.
    std::vector<std::string> topicsForKeyword(const std::string& keyword) const;
    std::vector<std::string> topicsForALink(const std::string& name) const;
    // The text of popup `id` in the popup text file `file` inside the archive.
    std::optional<std::string> popupText(const std::string& file, std::uint32_t id) const;
    // The title of a topic: from the contents, else from the page.
    std::string topicTitle(const std::string& path) const;

private:
    HelpFile() = default;
    const std::vector<SitemapEntry>& sitemap(const std::string& file) const;
    std::string sitemapFile(const ChmWindowType* window, std::string ChmWindowType::*named,
                            const std::string& system, const char* ending) const;
    std::string soleRootFile(const std::string& ending) const;
    void noteDamage(const std::string& object) const;
    std::vector<std::string> catalogPaths() const;
    void adopt(std::unique_ptr<TopicCatalog> catalog) const;
    struct CatalogBuild;

    std::string m_path;
    std::unique_ptr<ChmArchive> m_archive;
    ChmSystemInfo m_system;
    std::string m_charset;
    std::string m_strings;
    std::map<std::uint32_t, std::string> m_contextMap;
    std::vector<ChmWindowType> m_windowTypes;
    mutable std::map<std::string, std::vector<SitemapEntry>> m_sitemaps;
    mutable std::unique_ptr<TopicCatalog> m_catalog;
    mutable std::shared_ptr<CatalogBuild> m_build;
    mutable std::map<std::string, std::optional<std::string>> m_soleRootFiles; // by ending
    mutable std::vector<std::string> m_damaged;
};
