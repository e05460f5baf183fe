#include "tables/dbf_reader.h"

#include "common/files.h"

namespace velquior::tables::dbf {

std::optional<std::size_t> FindField(const Layout& layout, std::string_view name) {
  // Callers spell the names as stored: an exact match first, it is cheaper.
  for (std::size_t i = 0; i < layout.fields.size(); ++i) {
    if (layout.fields[i].info.name == name) return i;
  }
  for (std::size_t i = 0; i < layout.fields.size(); ++i) {
    if (EqualsNoCaseAscii(layout.fields[i].info.name, name)) return i;
  }
  return std::nullopt;
}

TableContents ReadTable(std::string_view bytes, std::string_view label, const ReadOptions& options) {
  ParsedTable parsed = ParseTable(bytes, label, options.short_file);
  TableContents out;
  out.layout = std::move(parsed.layout);
  out.records_present = parsed.records_present;
  const Layout& L = out.layout;
  for (const auto& f : L.fields) out.fields.push_back(f.info);
  out.records.reserve(parsed.live.size());
  for (std::size_t at : parsed.live) {
    std::string_view record = bytes.substr(at, L.record_length);
    const std::size_t number = (at - L.header_length) / L.record_length + 1;
    std::vector<Value> values;
    values.reserve(L.fields.size());
    for (std::size_t i = 0; i < L.fields.size(); ++i) {
      values.push_back(DecodeValue(L, record, i, label, number, options.values));
    }
    out.records.push_back(std::move(values));
  }
  return out;
}

TableContents ReadTable(const std::filesystem::path& path) {
  const std::string bytes = ReadFileBytes(path);
  return ReadTable(bytes, PathToUtf8(path.filename()));
}

}  // namespace velquior::tables::dbf
