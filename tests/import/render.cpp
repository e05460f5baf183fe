#include "tests/import/render.h"

#include "text/encoding.h"

namespace velquior::testing {

std::string Render(const xml::Node& n) {
  if (n.nodeName() == "#text") return text::AnsiToUtf8(n.text());
  std::string out = n.nodeName();
  auto attrs = n.attributes();
  if (attrs.length() > 0) {
    out += "[";
    for (long i = 0; i < attrs.length(); ++i) {
      out += (i ? "," : "") + attrs.item(i)->name() + "=" + text::AnsiToUtf8(attrs.item(i)->text());
    }
    out += "]";
  }
  auto kids = n.childNodes();
  if (kids.length() > 0) {
    out += "(";
    for (long i = 0; i < kids.length(); ++i) out += (i ? " " : "") + Render(*kids.item(i));
    out += ")";
  }
  return out;
}

std::string RenderTimeTables(const std::filesystem::path& file) {
  xml::Document saved;
  if (!saved.load(file).ok) return "(does not load)";
  auto all = saved.documentElement()->selectNodes("time-tables");
  if (all.length() != 1) return "(" + std::to_string(all.length()) + " time-tables)";
  return Render(*all.item(0));
}

}  // namespace velquior::testing
