#pragma once

#include <string>

// What the help engine is asked to show: "file.chm", "file.chm::/topic.htm",
// "file.chm>Window" or "file.chm::/topic.htm#anchor>Window".
struct HelpTarget {
    std::string file;
    std::string topic;  // with its "#anchor"; empty for the file's default topic
    std::string window; // window type name; empty for none
};
HelpTarget parseHelpTarget(const std::string& text);

// A link as a page or a caller writes it, split into the help file it names (empty for the
// current one) and the path inside: "ms-its:other.chm::/a.htm", "mk:@MSITStore:x.chm::/a.htm",
// "its:x.chm::/a.htm" and plain relative or absolute paths. `external` is set for links that
// leave the help file's world: any other scheme ("http:", "file:", "ftp:", ...). Of those, only
// web pages and e-mail addresses (http:, https:, mailto:) are `openable` by the desktop; a help
// file may come from anyone, and a link to a local file or program must not open at a click.
struct HelpLink {
    std::string file;
    std::string path;
    bool external = false;
    bool openable = false;
};
HelpLink parseHelpLink(const std::string& link);

// The absolute path inside an archive that `link` names from the page at `base` ("/dir/a.htm"):
// "." and ".." resolved, "\" read as "/", the "#anchor" kept.
std::string resolveTopicPath(const std::string& base, const std::string& link);

// The path and the "#anchor" (with its "#") of a topic path.
std::string withoutAnchor(const std::string& path);
std::string anchorOf(const std::string& path);
