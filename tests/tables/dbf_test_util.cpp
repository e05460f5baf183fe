#include "tests/tables/dbf_test_util.h"

#include <bit>
#include <cstring>
#include <random>

#include "text/encoding.h"
#include "text/numbers.h"

namespace velquior::testing::dbf {

std::filesystem::path WritersDbfDir() { return std::filesystem::path(VELQUIOR_TEST_FIXTURES) / "dbf-writers"; }

std::string MakeTable(const TableSpec& layout) {
  const bool level7 = (layout.version & 0x07) == 0x04;
  const std::size_t header = level7 ? 68 : 32;
  const std::size_t desc = level7 ? 48 : 32;
  const std::size_t header_length = header + desc * layout.fields.size() + 1 + layout.backlink;
  std::size_t record_length = 1;
  for (const auto& f : layout.fields) record_length += static_cast<std::size_t>(f.width);

  std::string out(header_length, '\0');
  out[0] = static_cast<char>(layout.version);
  out[1] = 124;  // 2024-09-02
  out[2] = 9;
  out[3] = 2;
  PutLe32(
      out, 4,
      layout.count_override != 0xFFFFFFFF ? layout.count_override : static_cast<std::uint32_t>(layout.records.size()));
  PutLe16(out, 8, static_cast<std::uint16_t>(header_length));
  PutLe16(out, 10, static_cast<std::uint16_t>(record_length));
  out[29] = static_cast<char>(layout.language_driver);
  if (level7) std::memcpy(&out[32], layout.driver_name.data(), std::min<std::size_t>(layout.driver_name.size(), 32));
  std::size_t offset = 1;
  for (std::size_t i = 0; i < layout.fields.size(); ++i) {
    const FieldSpec& f = layout.fields[i];
    char* d = &out[header + desc * i];
    std::memcpy(d, f.name.data(), std::min<std::size_t>(f.name.size(), level7 ? 32 : 11));
    if (level7) {
      d[32] = f.type;
      d[33] = static_cast<char>(f.width);
      d[34] = static_cast<char>(f.decimals);
    } else {
      d[11] = f.type;
      std::string disp = Le32(static_cast<std::uint32_t>(offset));
      std::memcpy(d + 12, disp.data(), 4);
      d[16] = static_cast<char>(f.width & 0xFF);
      d[17] = static_cast<char>(f.type == 'C' ? (f.width >> 8) : f.decimals);
      d[18] = static_cast<char>(f.flags);
    }
    offset += static_cast<std::size_t>(f.width);
  }
  out[header + desc * layout.fields.size()] = 0x0D;
  for (const auto& r : layout.records) out += r;
  if (layout.eof_marker) out += '\x1A';
  return out;
}

namespace {
std::string Record(char flag, std::initializer_list<std::string_view> pieces) {
  std::string out(1, flag);
  for (auto p : pieces) out += p;
  return out;
}
}  // namespace

std::string LiveRecord(std::initializer_list<std::string_view> pieces) { return Record(' ', pieces); }
std::string DeletedRecord(std::initializer_list<std::string_view> pieces) { return Record('*', pieces); }

std::string Le32(std::uint32_t v) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

std::string Le64(std::uint64_t v) {
  std::string out(8, '\0');
  for (int i = 0; i < 8; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

std::string Be32(std::uint32_t v) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[3 - i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

std::string Be64(std::uint64_t v) {
  std::string out(8, '\0');
  for (int i = 0; i < 8; ++i) out[7 - i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

std::string LeDouble(double v) { return Le64(std::bit_cast<std::uint64_t>(v)); }

std::string Sortable32(std::int32_t v) { return Be32(static_cast<std::uint32_t>(v) ^ 0x80000000u); }

std::string SortableDouble(double v) {
  std::uint64_t u = std::bit_cast<std::uint64_t>(v);
  u = v >= 0 ? (u ^ 0x8000000000000000ull) : ~u;
  return Be64(u);
}

void PutLe16(std::string& bytes, std::size_t at, std::uint16_t v) {
  bytes[at] = static_cast<char>(v & 0xFF);
  bytes[at + 1] = static_cast<char>(v >> 8);
}

void PutLe32(std::string& bytes, std::size_t at, std::uint32_t v) {
  std::string le = Le32(v);
  std::memcpy(&bytes[at], le.data(), 4);
}

std::string Garbage(std::uint32_t seed, std::size_t size) {
  std::mt19937 rng(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(rng() & 0xFF);
  return out;
}

std::string Padded(std::string_view s, std::size_t width) {
  std::string out(s.substr(0, width));
  out.append(width - out.size(), ' ');
  return out;
}

std::string RightAligned(std::string_view s, std::size_t width) {
  std::string out(width > s.size() ? width - s.size() : 0, ' ');
  out += s;
  return out;
}

std::string Show(const tables::Value& v) {
  struct Visitor {
    std::string operator()(const tables::Null&) const { return "null"; }
    std::string operator()(const std::string& s) const { return "text '" + text::AnsiToUtf8(s) + "'"; }
    std::string operator()(std::int64_t i) const { return "integer " + std::to_string(i); }
    std::string operator()(double d) const { return "float " + text::FormatShortest(d, '.'); }
    std::string operator()(bool b) const { return b ? "true" : "false"; }
  };
  return std::visit(Visitor{}, v);
}

}  // namespace velquior::testing::dbf
