#include "cli/dump.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "tables/table.h"
#include "text/encoding.h"
#include "text/numbers.h"

namespace velquior::cli {
namespace {

using tables::Value;

tables::Table OpenForDump(const std::filesystem::path& file) {
  std::filesystem::path dir = file.parent_path();
  if (dir.empty()) dir = ".";
  return tables::Table(dir, file.filename().string());
}

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (char ch : utf8) {
    auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          static constexpr char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

// Value as JSON (json=true) or as the plain listing shows it.
std::string Show(const Value& v, bool json) {
  struct Visitor {
    bool json;
    std::string operator()(const tables::Null&) const { return json ? "null" : ""; }
    std::string operator()(const std::string& s) const {
      std::string u = text::AnsiToUtf8(s);
      return json ? JsonString(u) : u;
    }
    std::string operator()(std::int64_t i) const { return std::to_string(i); }
    std::string operator()(double d) const {
      if (!std::isfinite(d)) return json ? "null" : text::FormatShortest(d, '.');
      return text::FormatShortest(d, '.');
    }
    std::string operator()(bool b) const { return b ? "true" : "false"; }
  };
  return std::visit(Visitor{json}, v);
}

// Display width of UTF-8 text, one column per code point.
std::size_t Columns(std::string_view utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void Pad(std::ostream& out, std::string_view s, std::size_t width) {
  out << s;
  for (std::size_t n = Columns(s); n < width; ++n) out << ' ';
}

}  // namespace

void DumpJson(const std::filesystem::path& file, std::ostream& out) {
  tables::Table t = OpenForDump(file);
  t.Open();
  const auto& fields = t.Fields();
  out << "{\"fields\": [";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto& f = fields[i];
    out << (i ? ", " : "") << "{\"name\": " << JsonString(text::AnsiToUtf8(f.name))
        << ", \"type\": " << JsonString(std::string(1, f.type)) << ", \"width\": " << f.width
        << ", \"decimals\": " << f.decimals << "}";
  }
  out << "], \"records\": [";
  bool first_record = true;
  for (t.First(); !t.Eof(); t.Next()) {
    out << (first_record ? "" : ", ") << "{";
    first_record = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      out << (i ? ", " : "") << JsonString(text::AnsiToUtf8(fields[i].name)) << ": "
          << Show(t.AsValue(fields[i].name), true);
    }
    out << "}";
  }
  out << "]}\n";
}

void DumpPlain(const std::filesystem::path& file, std::ostream& out) {
  tables::Table t = OpenForDump(file);
  t.Open();
  const auto& fields = t.Fields();
  out << t.FileName() << ": " << fields.size() << " campos, " << t.RecordCount() << " registros\n\n";
  for (const auto& f : fields) {
    out << "  ";
    Pad(out, text::AnsiToUtf8(f.name), 12);
    out << f.type << ' ' << f.width;
    if (f.decimals) out << ',' << f.decimals;
    out << '\n';
  }
  std::vector<std::vector<std::string>> rows;
  std::vector<std::size_t> widths;
  std::vector<std::string> header;
  for (const auto& f : fields) {
    header.push_back(text::AnsiToUtf8(f.name));
    widths.push_back(Columns(header.back()));
  }
  for (t.First(); !t.Eof(); t.Next()) {
    std::vector<std::string> row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      row.push_back(Show(t.AsValue(fields[i].name), false));
      widths[i] = std::max(widths[i], Columns(row.back()));
    }
    rows.push_back(std::move(row));
  }
  if (fields.empty()) return;
  out << '\n';
  auto line = [&](const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i) out << " | ";
      if (i + 1 == cells.size()) {
        out << cells[i];
      } else {
        Pad(out, cells[i], widths[i]);
      }
    }
    out << '\n';
  };
  line(header);
  for (std::size_t i = 0; i < widths.size(); ++i) {
    if (i) out << "-+-";
    out << std::string(widths[i], '-');
  }
  out << '\n';
  for (const auto& r : rows) line(r);
}

}  // namespace velquior::cli
