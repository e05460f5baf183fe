#include "tables/dbf_writer.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "common/bytes.h"
#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "platform/clock.h"
#include "tables/dbf_format.h"
#include "text/code_pages.h"

namespace velquior::tables::dbf {
namespace {

std::string Num(std::int64_t n) { return std::to_string(n); }

[[noreturn]] void CannotCreate(std::string_view label, const std::string& why) {
  throw Error(Format(msg::kTablaNoSePuedeCrear, {label, why}));
}

bool ValidName(std::string_view name) {
  if (name.empty() || name.size() > kMaxFieldNameLength) return false;
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (!letter(name[0])) return false;
  for (char c : name) {
    if (!letter(c) && !(c >= '0' && c <= '9') && c != '_') return false;
  }
  return true;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

std::string RightAligned(std::string_view s, int width) {
  std::string out(static_cast<std::size_t>(width) - s.size(), ' ');
  out += s;
  return out;
}

// Windows-1252 byte to the byte of the same character in `table` (an IBM
// code page's upper half), '?' when it has none.
struct ReverseMap {
  unsigned char to[256];
  explicit ReverseMap(const char16_t* table) {
    for (int b = 0; b < 256; ++b) {
      if (b < 0x80) {
        to[b] = static_cast<unsigned char>(b);
        continue;
      }
      char32_t cp = text::CodePointFromAnsi(static_cast<unsigned char>(b));
      to[b] = '?';
      for (int i = 0; i < 128; ++i) {
        if (table[i] == cp) {
          to[b] = static_cast<unsigned char>(0x80 + i);
          break;
        }
      }
    }
  }
};

}  // namespace

Date Today() {
  const platform::CalendarDate today = platform::LocalToday();
  if (today.year == 0) return {};
  return {today.year, today.month, today.day};
}

FieldInfo StoredField(const NewField& field) {
  FieldInfo info;
  info.name = Upper(field.name);
  switch (field.type) {
    case FieldType::kText:
      info.type = 'C';
      info.width = field.width;
      break;
    case FieldType::kInteger:
      info.type = 'N';
      info.width = kIntegerWidth;
      break;
    case FieldType::kFloat:
      info.type = 'N';
      info.width = kFloatWidth;
      info.decimals = kFloatDecimals;
      break;
  }
  return info;
}

std::string EmptyTable(const std::vector<NewField>& fields, Date date, std::string_view label) {
  if (fields.empty()) CannotCreate(label, std::string(msg::why::kSinCampos));
  if (fields.size() > static_cast<std::size_t>(kMaxFields)) {
    CannotCreate(label,
                 Format(msg::why::kDemasiadosCampos, {Num(static_cast<std::int64_t>(fields.size())), Num(kMaxFields)}));
  }
  std::vector<FieldInfo> stored;
  std::size_t record_length = 1;
  for (const auto& f : fields) {
    if (!ValidName(f.name)) CannotCreate(label, Format(msg::why::kNombreNoValido, {text::AnsiToUtf8(f.name)}));
    FieldInfo info = StoredField(f);
    for (const auto& other : stored) {
      if (other.name == info.name) CannotCreate(label, Format(msg::why::kNombreRepetido, {info.name}));
    }
    if (f.type == FieldType::kText && (f.width < 1 || f.width > kMaxTextWidth)) {
      CannotCreate(label, Format(msg::why::kAnchoTexto, {info.name, Num(f.width), Num(kMaxTextWidth)}));
    }
    record_length += static_cast<std::size_t>(info.width);
    stored.push_back(std::move(info));
  }
  if (record_length > static_cast<std::size_t>(kMaxRecordLength)) {
    CannotCreate(label, Format(msg::why::kRegistroLargo,
                               {Num(static_cast<std::int64_t>(record_length)), Num(kMaxRecordLength)}));
  }

  const std::size_t header_length = kHeaderSize + kDescriptorSize * stored.size() + 1;
  std::string out(header_length + 1, '\0');
  out[kVersionAt] = static_cast<char>(kWriteVersion);
  auto stamp = HeaderStamp(date, 0);
  std::memcpy(&out[kDateAt], stamp.data(), stamp.size());
  SetLe(out, kHeaderLengthAt, header_length, 2);
  SetLe(out, kRecordLengthAt, record_length, 2);
  out[kLanguageDriverAt] = static_cast<char>(kWriteLanguageDriver);
  std::size_t offset = 1;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const FieldInfo& f = stored[i];
    char* d = &out[kHeaderSize + kDescriptorSize * i];
    // NOLINTNEXTLINE(bugprone-not-null-terminated-result): the header is zeroed, names are NUL-padded to 11 bytes
    std::memcpy(d, f.name.data(), f.name.size());
    d[kTypeAt] = f.type;
    // Bytes 12-15: dBASE ignores them ("address in memory"); FoxPro reads
    // them as the field's place in the record, so they get the true start.
    SetLe(d + kDisplacementAt, static_cast<std::uint32_t>(offset), 4);
    d[kWidthAt] = static_cast<char>(f.width);
    d[kDecimalsAt] = static_cast<char>(f.decimals);
    offset += static_cast<std::size_t>(f.width);
  }
  out[header_length - 1] = static_cast<char>(kHeaderTerminator);
  out[header_length] = static_cast<char>(kEndOfFile);
  return out;
}

std::array<char, 7> HeaderStamp(Date date, std::uint32_t record_count) {
  std::array<char, 7> out{};
  int year = date.year - 1900;  // dBASE III: years since 1900 (124 is 2024)
  if (year < 0) year = 0;
  if (year > 255) year = 255;
  out[0] = static_cast<char>(year);
  out[1] = static_cast<char>(date.month);
  out[2] = static_cast<char>(date.day);
  SetLe(out.data() + 3, record_count, 4);
  return out;
}

WriteKind KindOf(const Field& field) {
  if (field.info.type == 'C') return WriteKind::kText;
  return field.info.decimals == 0 ? WriteKind::kInteger : WriteKind::kFloat;
}

std::optional<std::string> WhyNotWritable(const Layout& layout) {
  if (layout.flavour != Flavour::kDbase || layout.null_flags_width != 0) {
    char hex[3];
    static constexpr char kDigits[] = "0123456789ABCDEF";
    hex[0] = kDigits[layout.version >> 4];
    hex[1] = kDigits[layout.version & 15];
    hex[2] = '\0';
    return Format(msg::why::kNoSeAnadeFormato, {hex});
  }
  for (const auto& f : layout.fields) {
    if (f.info.type != 'C' && f.info.type != 'N' && f.info.type != 'F') {
      return Format(msg::why::kNoSeAnade, {text::AnsiToUtf8(f.info.name), std::string(1, f.info.type)});
    }
  }
  return std::nullopt;
}

std::string BlankRecord(const Layout& layout) {
  std::string out(layout.record_length, ' ');
  out[0] = static_cast<char>(kLiveFlag);
  return out;
}

std::optional<std::string> FormatFloat(double value, int width, int decimals) {
  if (!std::isfinite(value) || width <= 0) return std::nullopt;
  if (value == 0) value = 0;  // no "-0"
  // The longest shortest fixed form of a double is about 770 characters.
  char buf[1100];
  auto fixed = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  if (fixed.ec != std::errc()) return std::nullopt;
  std::string_view shortest(buf, static_cast<std::size_t>(fixed.ptr - buf));
  const auto w = static_cast<std::size_t>(width);

  // 1. The usual dBASE form: exactly `decimals` decimals, when that is exact.
  const std::size_t dot = shortest.find('.');
  const std::size_t has = dot == std::string_view::npos ? 0 : shortest.size() - dot - 1;
  if (decimals >= 0 && has <= static_cast<std::size_t>(decimals)) {
    std::string s(shortest);
    if (decimals > 0) {
      if (dot == std::string_view::npos) s += '.';
      s.append(static_cast<std::size_t>(decimals) - has, '0');
    }
    if (s.size() <= w) return RightAligned(s, width);
  }
  // 2. More decimals than declared, still exact.
  if (shortest.size() <= w) return RightAligned(shortest, width);
  // 3. Exponent form.
  char sci[64];
  auto e = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific);
  if (e.ec != std::errc()) return std::nullopt;
  std::string_view s(sci, static_cast<std::size_t>(e.ptr - sci));
  if (s.size() <= w) return RightAligned(s, width);
  return std::nullopt;
}

std::optional<std::string> FormatInteger(std::int64_t value, int width) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  std::string_view s(buf, static_cast<std::size_t>(r.ptr - buf));
  if (width <= 0 || s.size() > static_cast<std::size_t>(width)) return std::nullopt;
  return RightAligned(s, width);
}

void PutText(char* out, std::size_t width, std::string_view ansi, text::CodePage to) {
  const std::size_t n = ansi.size() < width ? ansi.size() : width;
  if (to == text::CodePage::kWindows1252) {
    std::memcpy(out, ansi.data(), n);
  } else {
    static const ReverseMap k850(text::detail::kCp850);
    static const ReverseMap k437(text::detail::kCp437);
    const ReverseMap& map = to == text::CodePage::kIbm850 ? k850 : k437;
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<char>(map.to[static_cast<unsigned char>(ansi[i])]);
  }
  std::memset(out + n, ' ', width - n);
}

}  // namespace velquior::tables::dbf
