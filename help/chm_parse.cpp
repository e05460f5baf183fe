#include "help/chm_parse.h"
#include "common/bytes.h"
#include "help/ascii_case.h"

#include "text/encoding.h"

#include <algorithm>
#include <cstring>

namespace velquior::help {
namespace {

// The NUL-terminated text at `at`, or up to the end when unterminated.
std::string CString(std::string_view b, std::size_t at) {
  if (at >= b.size()) return {};
  const std::string_view rest = b.substr(at);
  return std::string(rest.substr(0, rest.find('\0')));
}

std::string DecodeEntities(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') {
      out += s[i];
      continue;
    }
    const std::size_t semi = s.find(';', i);
    if (semi == std::string_view::npos || semi - i > 10) {
      out += '&';
      continue;
    }
    const std::string_view ent = s.substr(i + 1, semi - i - 1);
    static const std::pair<std::string_view, std::string_view> kNamed[] = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", "\xC2\xA0"}};
    bool done = false;
    for (const auto& [n, v] : kNamed) {
      if (ent == n) {
        out += v;
        done = true;
      }
    }
    if (!done && ent.size() > 1 && ent[0] == '#') {
      const bool hex = ent[1] == 'x' || ent[1] == 'X';
      std::uint32_t cp = 0;
      bool ok = ent.size() > (hex ? 2u : 1u);
      for (std::size_t k = hex ? 2 : 1; ok && k < ent.size(); ++k) {
        const char c = LowerAsciiChar(ent[k]);
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        if (d < 0 || cp > 0x10FFFF)
          ok = false;
        else
          cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
      }
      if (ok) {
        text::AppendUtf8(out, cp == 0 ? 0xFFFD : cp);  // a NUL would cut the text short
        done = true;
      }
    }
    if (!done) {
      out += '&';
      continue;
    }
    i = semi;
  }
  return out;
}

// One tag: its lower-case name ("ul", "/ul", "param") and attributes.
struct Tag {
  std::string name;
  std::map<std::string, std::string> attrs;  // lower-case names
};

Tag ParseTag(std::string_view body) {
  Tag tag;
  std::size_t i = 0;
  auto skip_space = [&] {
    while (i < body.size() && static_cast<unsigned char>(body[i]) <= ' ') ++i;
  };
  skip_space();
  const std::size_t name_start = i;
  while (i < body.size() && static_cast<unsigned char>(body[i]) > ' ' && body[i] != '>') ++i;
  tag.name = LowerAscii(body.substr(name_start, i - name_start));
  while (i < body.size()) {
    skip_space();
    const std::size_t a = i;
    while (i < body.size() && body[i] != '=' && static_cast<unsigned char>(body[i]) > ' ') ++i;
    std::string attr = LowerAscii(body.substr(a, i - a));
    skip_space();
    std::string value;
    if (i < body.size() && body[i] == '=') {
      ++i;
      skip_space();
      if (i < body.size() && (body[i] == '"' || body[i] == '\'')) {
        const char q = body[i++];
        const std::size_t end = body.find(q, i);
        const std::size_t stop = end == std::string_view::npos ? body.size() : end;
        value = DecodeEntities(body.substr(i, stop - i));
        i = stop == body.size() ? stop : stop + 1;
      } else {
        const std::size_t v = i;
        while (i < body.size() && static_cast<unsigned char>(body[i]) > ' ') ++i;
        value = DecodeEntities(body.substr(v, i - v));
      }
    }
    if (!attr.empty()) tag.attrs.emplace(std::move(attr), std::move(value));
    if (a == i) ++i;  // a stray character: move on
  }
  return tag;
}

}  // namespace

ContextMap ParseContextMap(std::string_view ivb, std::string_view strings) {
  ContextMap map;
  if (ivb.size() < 4) return map;
  const std::size_t declared = Le32(ivb, 0);
  const std::size_t available = std::min(declared, ivb.size() - 4);
  for (std::size_t at = 4; at + 8 <= 4 + available; at += 8) {
    const std::uint32_t context = Le32(ivb, at);
    const std::uint32_t offset = Le32(ivb, at + 4);
    if (offset >= strings.size()) continue;
    std::string name = CString(strings, offset);
    if (!name.empty()) map.emplace(context, std::move(name));  // the first entry of a number wins
  }
  return map;
}

ChmSystem ParseSystem(std::string_view system) {
  ChmSystem out;
  std::size_t at = 4;  // after the version
  while (at + 4 <= system.size()) {
    const std::uint16_t code = Le16(system, at);
    const std::size_t length = Le16(system, at + 2);
    at += 4;
    if (length > system.size() - at) break;
    const std::string_view data = system.substr(at, length);
    at += length;
    switch (code) {
      case 0:
        out.contents_file = CString(data, 0);
        break;
      case 1:
        out.index_file = CString(data, 0);
        break;
      case 2:
        out.default_topic = CString(data, 0);
        break;
      case 3:
        out.title = CString(data, 0);
        break;
      default:
        break;
    }
  }
  return out;
}

std::vector<SitemapEntry> ParseSitemap(std::string_view html) {
  std::vector<SitemapEntry> roots;
  // Lists open now; the innermost last. Each holds where its entries go.
  std::vector<std::vector<SitemapEntry>*> lists;
  std::vector<SitemapEntry>* current = &roots;
  SitemapEntry pending;
  bool in_object = false;
  bool sitemap_object = false;
  constexpr std::size_t kMaxDepth = 64;

  std::size_t i = 0;
  while (i < html.size()) {
    const std::size_t lt = html.find('<', i);
    if (lt == std::string_view::npos) break;
    if (html.substr(lt, 4) == "<!--") {
      const std::size_t end = html.find("-->", lt + 4);
      i = end == std::string_view::npos ? html.size() : end + 3;
      continue;
    }
    const std::size_t gt = html.find('>', lt + 1);
    if (gt == std::string_view::npos) break;
    const Tag tag = ParseTag(html.substr(lt + 1, gt - lt - 1));
    i = gt + 1;

    if (tag.name == "ul") {
      // A nested list holds the children of the entry before it; too deep,
      // it stays in its parent's list.
      std::vector<SitemapEntry>* into = current;
      if (!lists.empty() && !current->empty() && lists.size() < kMaxDepth) into = &current->back().children;
      lists.push_back(current);
      current = into;
    } else if (tag.name == "/ul") {
      if (!lists.empty()) {
        current = lists.back();
        lists.pop_back();
      }
    } else if (tag.name == "object") {
      in_object = true;
      auto type = tag.attrs.find("type");
      sitemap_object = type != tag.attrs.end() && LowerAscii(type->second) == "text/sitemap";
      pending = {};
    } else if (tag.name == "param" && in_object) {
      const auto n = tag.attrs.find("name");
      const auto v = tag.attrs.find("value");
      if (n != tag.attrs.end() && v != tag.attrs.end()) {
        const std::string key = LowerAscii(n->second);
        if (key == "name" && pending.name.empty()) pending.name = v->second;
        if (key == "local" && pending.local.empty()) pending.local = v->second;
      }
    } else if (tag.name == "/object") {
      if (in_object && sitemap_object && (!pending.name.empty() || !pending.local.empty())) {
        current->push_back(std::move(pending));
      }
      pending = {};
      in_object = false;
      sitemap_object = false;
    }
  }
  return roots;
}

int FindIndexEntry(const std::vector<SitemapEntry>& index, std::string_view keyword) {
  const std::string key = LowerAscii(keyword);
  if (key.empty()) return -1;
  for (std::size_t i = 0; i < index.size(); ++i) {
    if (LowerAscii(index[i].name) == key) return static_cast<int>(i);
  }
  for (std::size_t i = 0; i < index.size(); ++i) {
    if (LowerAscii(index[i].name).starts_with(key)) return static_cast<int>(i);
  }
  return -1;
}

std::pair<std::string, std::string> SplitTopicName(std::string_view name) {
  const std::size_t sep = name.find("::");
  if (sep == std::string_view::npos) return {std::string(name), {}};
  std::string page(name.substr(sep + 2));
  if (page.empty() || page.front() != '/') page.insert(page.begin(), '/');
  return {std::string(name.substr(0, sep)), page};
}

std::string PagePath(std::string_view stored) {
  std::string name(stored.substr(0, stored.find('#')));
  std::replace(name.begin(), name.end(), '\\', '/');
  if (name.empty() || name.front() == '/') return name;
  return "/" + name;
}

}  // namespace velquior::help
