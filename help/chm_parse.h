#pragma once
// Parsers for what a .chm holds inside: the context map (#IVB, #STRINGS),
// the project's settings (#SYSTEM) and the contents and index sitemaps
// (.hhc, .hhk). Every one takes bytes as read and trusts none of them:
// offsets and lengths past the end end the parse, never the program.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velquior::help {

// Context number -> the page name the compiler stored for it.
using ContextMap = std::map<std::uint32_t, std::string>;
ContextMap ParseContextMap(std::string_view ivb, std::string_view strings);

struct ChmSystem {
  std::string contents_file;  // "SAGA.hhc"
  std::string index_file;     // "SAGA.hhk"
  std::string default_topic;  // "index.htm"
  std::string title;
};
ChmSystem ParseSystem(std::string_view system);

struct SitemapEntry {
  std::string name;
  std::string local;  // the page, as written; may be empty
  std::vector<SitemapEntry> children;
  bool operator==(const SitemapEntry&) const = default;
};
// The <UL>/<LI>/<OBJECT type="text/sitemap"> tree; entities decoded.
std::vector<SitemapEntry> ParseSitemap(std::string_view html);

// The index entry for a keyword: the first whose name equals it, else the
// first that starts with it, letter case ignored; -1 when none.
int FindIndexEntry(const std::vector<SitemapEntry>& index, std::string_view keyword);

// "C:/x/SAGA.chm::/intro.htm" -> {"C:/x/SAGA.chm", "/intro.htm"}; no "::"
// gives an empty page.
std::pair<std::string, std::string> SplitTopicName(std::string_view name);

// The path inside the file of a page name as the file's tables store it:
// "/" + the name with backslashes as slashes, the fragment kept off; "" for
// an empty name.
std::string PagePath(std::string_view stored);

}  // namespace velquior::help
