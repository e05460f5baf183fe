#include "help/context_strings.h"
#include "common/bytes.h"
#include "help/ascii_case.h"

#include <map>
#include <set>
#include <stdexcept>

namespace velquior::help {
namespace {

// The object a context string means, as the name to store ("index.htm").
std::string NameInFile(const std::string& stored, const std::map<std::string, std::string>& pages,
                       std::string_view stage, std::uint32_t context) {
  const std::size_t hash = stored.find('#');
  const std::string page = stored.substr(0, hash);
  const std::string fragment = hash == std::string::npos ? "" : stored.substr(hash);
  const std::string folded = LowerAscii(page);
  auto fail = [&] {
    return std::runtime_error("context " + std::to_string(context) + ": \"" + stored + "\" names no page in the file");
  };
  if (const auto it = pages.find("/" + folded); it != pages.end()) return it->second.substr(1) + fragment;
  if (folded.empty() || folded.front() != '/') throw fail();

  const std::string root = LowerAscii(stage) + "/";
  if (stage.size() > 0 && folded.starts_with(root)) {
    const auto it = pages.find(folded.substr(root.size() - 1));
    if (it == pages.end()) throw fail();
    return it->second.substr(1) + fragment;
  }
  const std::string* best = nullptr;
  for (const auto& [key, name] : pages) {
    if (folded.ends_with(key) && (best == nullptr || name.size() > best->size())) best = &name;
  }
  if (best == nullptr) throw fail();
  return best->substr(1) + fragment;
}

}  // namespace

std::string FixContextStrings(std::string_view ivb, std::string_view strings, const std::vector<std::string>& objects,
                              std::string_view stage) {
  if (ivb.size() < 4) throw std::runtime_error("#IVB is shorter than its length field");
  const std::uint32_t declared = Le32(ivb, 0);
  if (declared % 8 != 0 || declared > ivb.size() - 4) throw std::runtime_error("#IVB length does not fit its bytes");

  std::map<std::string, std::string> pages;  // folded "/name" -> as stored
  for (const std::string& o : objects) {
    if (o.size() > 1 && o.front() == '/' && o.back() != '/') pages.emplace(LowerAscii(o), o);
  }
  while (!stage.empty() && stage.back() == '/') stage.remove_suffix(1);

  std::string out(strings);
  std::set<std::uint32_t> done;
  for (std::size_t at = 4; at < 4 + declared; at += 8) {
    const std::uint32_t context = Le32(ivb, at);
    const std::uint32_t offset = Le32(ivb, at + 4);
    const std::size_t end = offset < strings.size() ? strings.find('\0', offset) : std::string_view::npos;
    if (end == std::string_view::npos) {
      throw std::runtime_error("context " + std::to_string(context) + ": offset " + std::to_string(offset) +
                               " holds no terminated string in #STRINGS");
    }
    if (!done.insert(offset).second) continue;
    const std::string stored(strings.substr(offset, end - offset));
    const std::string name = NameInFile(stored, pages, stage, context);
    if (name.size() > stored.size()) throw std::logic_error("a page name longer than the path it came from");
    out.replace(offset, stored.size(), name + std::string(stored.size() - name.size(), '\0'));
  }
  return out;
}

}  // namespace velquior::help
