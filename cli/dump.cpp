#include "cli/dump.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cli/json_text.h"
#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "tables/dbf_reader.h"
#include "tables/table_file.h"
#include "text/numbers.h"
#include "text/system_code_pages.h"

namespace velquior::cli {
namespace {

using tables::Value;
namespace dbf = tables::dbf;

// A table as the dump shows it: every field, the text in UTF-8 from the
// code page the table declares, names made unique for the JSON keys.
struct Shown {
  std::string file_name;
  int code_page = 0;
  std::vector<tables::FieldInfo> fields;
  std::vector<std::string> names;  // UTF-8, unique
  std::vector<std::vector<Value>> records;
};

// A later field of a name already shown: NAME_2, NAME_3..., never a name
// that another field has.
std::vector<std::string> UniqueNames(const std::vector<std::string>& names) {
  std::set<std::string> taken(names.begin(), names.end());
  std::set<std::string> used;
  std::vector<std::string> out;
  for (const auto& name : names) {
    std::string unique = name;
    for (int n = 2; used.count(unique) != 0; ++n) {
      unique = name + "_" + std::to_string(n);
      if (taken.count(unique) != 0) unique = name;  // that one is another field's: the next number
    }
    used.insert(unique);
    out.push_back(unique);
  }
  return out;
}

// The file named `file`, found as the Table handle finds one: without
// regard to letter case, with or without ".DBF".
std::filesystem::path Locate(const std::filesystem::path& file) {
  std::filesystem::path dir = file.parent_path();
  if (dir.empty()) dir = ".";
  const std::string name = PathToUtf8(file.filename());
  std::optional<std::filesystem::path> found;
  std::error_code ec;
  if (std::filesystem::is_directory(dir, ec)) {
    found = FindFileNoCase(dir, name);
    if (!found) found = FindFileNoCase(dir, name + ".DBF");
  }
  if (!found) throw Error(Format(msg::kTablaNoExiste, {name, PathForMessage(dir)}));
  return *found;
}

// What the dump shows is the file as it is: a value that is not valid as its
// text, the complete records of a file cut short (saying so on `err`).
Shown ReadForDump(const std::filesystem::path& file, std::ostream& err) {
  const std::filesystem::path path = Locate(file);
  Shown shown;
  shown.file_name = PathToUtf8(path.filename());
  const tables::TableFile f = tables::TableFile::Open(path, tables::TableFile::Lock::kShared, shown.file_name);
  const tables::Bytes bytes = f.ReadAll();
  dbf::ReadOptions options;
  options.short_file = dbf::ShortFile::kReadPresent;
  options.values.stored_text = true;
  options.values.invalid_as_text = true;
  dbf::TableContents c = dbf::ReadTable(bytes.view(), shown.file_name, options);
  if (c.records_present < c.layout.record_count) {
    err << Format(msg::kAviso,
                  {Format(msg::kDumpRegistrosIncompletos,
                          {shown.file_name, std::to_string(c.layout.record_count), std::to_string(c.records_present)})})
        << '\n';
  }
  shown.code_page = c.layout.declared_code_page;
  std::vector<std::string> names;
  for (const auto& field : c.layout.fields) names.push_back(text::CodePageToUtf8(field.stored_name, shown.code_page));
  shown.names = UniqueNames(names);
  shown.fields = std::move(c.fields);
  shown.records = std::move(c.records);
  return shown;
}

// Value as JSON (json=true) or as the plain listing shows it.
std::string Show(const Value& v, bool json, int code_page) {
  struct Visitor {
    bool json;
    int code_page;
    std::string operator()(const tables::Null&) const { return json ? "null" : ""; }
    std::string operator()(const std::string& s) const {
      std::string u = text::CodePageToUtf8(s, code_page);
      return json ? JsonString(u) : u;
    }
    std::string operator()(std::int64_t i) const { return std::to_string(i); }
    std::string operator()(double d) const {
      if (!std::isfinite(d)) return json ? "null" : text::FormatShortest(d, '.');
      return text::FormatShortest(d, '.');
    }
    std::string operator()(bool b) const { return b ? "true" : "false"; }
  };
  return std::visit(Visitor{json, code_page}, v);
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

void DumpJson(const std::filesystem::path& file, std::ostream& out, std::ostream& err) {
  const Shown t = ReadForDump(file, err);
  out << "{\"fields\": [";
  for (std::size_t i = 0; i < t.fields.size(); ++i) {
    const auto& f = t.fields[i];
    out << (i ? ", " : "") << "{\"name\": " << JsonString(t.names[i])
        << ", \"type\": " << JsonString(std::string(1, f.type)) << ", \"width\": " << f.width
        << ", \"decimals\": " << f.decimals << "}";
  }
  out << "], \"records\": [";
  for (std::size_t r = 0; r < t.records.size(); ++r) {
    out << (r ? ", " : "") << "{";
    for (std::size_t i = 0; i < t.fields.size(); ++i) {
      out << (i ? ", " : "") << JsonString(t.names[i]) << ": " << Show(t.records[r][i], true, t.code_page);
    }
    out << "}";
  }
  out << "]}\n";
}

void DumpPlain(const std::filesystem::path& file, std::ostream& out, std::ostream& err) {
  const Shown t = ReadForDump(file, err);
  out << t.file_name << ": " << t.fields.size() << " campos, " << t.records.size() << " registros\n\n";
  for (std::size_t i = 0; i < t.fields.size(); ++i) {
    const auto& f = t.fields[i];
    out << "  ";
    Pad(out, t.names[i], 12);
    out << f.type << ' ' << f.width;
    if (f.decimals) out << ',' << f.decimals;
    out << '\n';
  }
  std::vector<std::vector<std::string>> rows;
  std::vector<std::size_t> widths;
  for (const auto& name : t.names) widths.push_back(Columns(name));
  for (const auto& record : t.records) {
    std::vector<std::string> row;
    for (std::size_t i = 0; i < t.fields.size(); ++i) {
      row.push_back(Show(record[i], false, t.code_page));
      widths[i] = std::max(widths[i], Columns(row.back()));
    }
    rows.push_back(std::move(row));
  }
  if (t.fields.empty()) return;
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
  line(t.names);
  for (std::size_t i = 0; i < widths.size(); ++i) {
    if (i) out << "-+-";
    out << std::string(widths[i], '-');
  }
  out << '\n';
  for (const auto& r : rows) line(r);
}

}  // namespace velquior::cli
