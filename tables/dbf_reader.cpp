#include "tables/dbf_reader.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior::tables::dbf {
namespace {

// ---- Bytes -----------------------------------------------------------------
// Callers check the bounds; these only assemble.

std::uint8_t U8(std::string_view b, std::size_t at) { return static_cast<std::uint8_t>(b[at]); }

std::uint16_t U16Le(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(U8(b, at) | (U8(b, at + 1) << 8));
}

std::uint32_t U32Le(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(U8(b, at)) | (static_cast<std::uint32_t>(U8(b, at + 1)) << 8) |
         (static_cast<std::uint32_t>(U8(b, at + 2)) << 16) | (static_cast<std::uint32_t>(U8(b, at + 3)) << 24);
}

std::uint32_t U32Be(std::string_view b, std::size_t at) {
  return (static_cast<std::uint32_t>(U8(b, at)) << 24) | (static_cast<std::uint32_t>(U8(b, at + 1)) << 16) |
         (static_cast<std::uint32_t>(U8(b, at + 2)) << 8) | static_cast<std::uint32_t>(U8(b, at + 3));
}

std::uint64_t U64Le(std::string_view b, std::size_t at) {
  return static_cast<std::uint64_t>(U32Le(b, at)) | (static_cast<std::uint64_t>(U32Le(b, at + 4)) << 32);
}

std::uint64_t U64Be(std::string_view b, std::size_t at) {
  return (static_cast<std::uint64_t>(U32Be(b, at)) << 32) | static_cast<std::uint64_t>(U32Be(b, at + 4));
}

bool AllBytes(std::string_view b, char c) {
  for (char x : b) {
    if (x != c) return false;
  }
  return true;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : bytes) {
    auto c = static_cast<unsigned char>(ch);
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

std::string HexByte(std::uint8_t c) { return Hex(std::string_view(reinterpret_cast<const char*>(&c), 1)); }

std::string Num(std::uint64_t n) { return std::to_string(n); }

[[noreturn]] void Damaged(std::string_view label, const std::string& why) {
  throw Error(Format(msg::kTablaDanada, {label, why}));
}

// Blanks and NULs around a value.
bool IsPad(char c) { return c == ' ' || c == '\0'; }

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsPad(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view TrimBoth(std::string_view s) {
  while (!s.empty() && IsPad(s.front())) s.remove_prefix(1);
  return TrimRight(s);
}

// A type letter for a message: the letter, or its byte in hexadecimal.
std::string TypeForMessage(char type) {
  auto c = static_cast<unsigned char>(type);
  if (c > 0x20 && c < 0x7F) return std::string(1, type);
  return "0x" + HexByte(c);
}

// ---- Field types -------------------------------------------------------------

struct TypeRule {
  Decoding decoding;
  int fixed_width;  // 0: any width
};

std::optional<TypeRule> RuleFor(char type, Flavour flavour) {
  const bool level7 = flavour == Flavour::kDbase7;
  switch (type) {
    case 'C':
    case 'V':
      return TypeRule{Decoding::kText, 0};
    case 'N':
      return TypeRule{Decoding::kNumber, 0};
    case 'F':
      return TypeRule{Decoding::kFloatText, 0};
    case 'D':
      return TypeRule{Decoding::kDate, 0};
    case 'L':
      return TypeRule{Decoding::kLogical, 1};
    case 'I':
    case '+':
      return TypeRule{level7 ? Decoding::kInt32Sortable : Decoding::kInt32Le, 4};
    case 'O':
      return TypeRule{level7 ? Decoding::kDoubleSortable : Decoding::kDoubleLe, 8};
    case 'B':
      // A double in Visual FoxPro; a memo block number in dBASE III/IV/V.
      if (flavour == Flavour::kVisualFoxPro) return TypeRule{Decoding::kDoubleLe, 8};
      return TypeRule{Decoding::kMemo, 0};
    case 'Y':
      return TypeRule{Decoding::kCurrency, 8};
    case 'T':
      return TypeRule{Decoding::kDateTimeLe, 8};
    case '@':
      return TypeRule{level7 ? Decoding::kTimestamp7 : Decoding::kDateTimeLe, 8};
    case 'M':
    case 'G':
    case 'P':
    case 'W':
    case 'Q':
      return TypeRule{Decoding::kMemo, 0};
    default:
      return std::nullopt;
  }
}

// ---- Values ------------------------------------------------------------------

[[noreturn]] void InvalidValue(std::string_view label, std::size_t record_number, const Field& f,
                               const std::string& shown) {
  Damaged(label, Format(msg::why::kValorNoValido, {Num(record_number), text::AnsiToUtf8(f.info.name), shown}));
}

// Decimal text of an N or F field, already trimmed and not blank. nullopt when
// it is no number. The writers' forms: "-12", "1.5", ".5", "5.", "1.5E+20",
// "+3"; a comma is taken as the point (some writers follow the locale).
std::optional<Value> ParseDecimal(std::string_view s, bool integral_field, bool float_type) {
  char buf[300];
  if (s.size() >= sizeof buf) return std::nullopt;
  std::size_t n = 0, i = 0;
  if (s[i] == '+' || s[i] == '-') {
    if (s[i] == '-') buf[n++] = '-';
    ++i;
  }
  bool digits = false, point = false, exponent = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      buf[n++] = c;
    } else if ((c == '.' || c == ',') && !point) {
      point = true;
      buf[n++] = '.';
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    exponent = true;
    buf[n++] = 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) buf[n++] = s[i++];
    bool exp_digits = false;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
      buf[n++] = s[i];
      exp_digits = true;
    }
    if (!exp_digits) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;

  if (integral_field && !float_type && !point && !exponent) {
    std::int64_t v = 0;
    auto [p, ec] = std::from_chars(buf, buf + n, v);
    if (ec == std::errc() && p == buf + n) return Value(v);
    // Too large for 64 bits: read it as a double below.
  }
  double d = 0;
  auto [p, ec] = std::from_chars(buf, buf + n, d);
  if (ec != std::errc() || p != buf + n || !std::isfinite(d)) return std::nullopt;
  if (integral_field && !float_type && d == std::trunc(d) && std::fabs(d) < 9.2e18) {
    return Value(static_cast<std::int64_t>(d));
  }
  return Value(d);
}

// Gregorian date of a Julian day number.
void CivilFromJulianDay(std::int64_t jdn, std::int64_t& y, int& m, int& d) {
  std::int64_t l = jdn + 68569;
  std::int64_t n = 4 * l / 146097;
  l = l - (146097 * n + 3) / 4;
  std::int64_t i = 4000 * (l + 1) / 1461001;
  l = l - 1461 * i / 4 + 31;
  std::int64_t j = 80 * l / 2447;
  d = static_cast<int>(l - 2447 * j / 80);
  l = j / 11;
  m = static_cast<int>(j + 2 - 12 * l);
  y = 100 * (n - 49) + i + l;
}

void Append2(std::string& out, int v) {
  out += static_cast<char>('0' + v / 10);
  out += static_cast<char>('0' + v % 10);
}

// "YYYYMMDD HH:MM:SS"
std::string DateTimeText(std::int64_t jdn, std::int64_t ms) {
  std::int64_t y;
  int m, d;
  CivilFromJulianDay(jdn, y, m, d);
  std::string out;
  std::string year = std::to_string(y);
  out.append(year.size() < 4 ? 4 - year.size() : 0, '0');
  out += year;
  Append2(out, m);
  Append2(out, d);
  std::int64_t s = ms / 1000;
  out += ' ';
  Append2(out, static_cast<int>(s / 3600));
  out += ':';
  Append2(out, static_cast<int>(s / 60 % 60));
  out += ':';
  Append2(out, static_cast<int>(s % 60));
  return out;
}

constexpr std::int64_t kMsPerDay = 86400000;
constexpr std::int64_t kJulianDayOf00010101 = 1721426;
constexpr std::int64_t kJulianDayOf99991231 = 5373484;

bool NullBitSet(const Layout& layout, std::string_view record, int bit) {
  if (bit < 0) return false;
  auto byte = static_cast<std::size_t>(bit / 8);
  if (byte >= layout.null_flags_width) return false;
  return ((U8(record, layout.null_flags_offset + byte) >> (bit % 8)) & 1) != 0;
}

}  // namespace

bool IsTextDecoding(Decoding d) {
  switch (d) {
    case Decoding::kText:
    case Decoding::kDate:
    case Decoding::kMemo:
    case Decoding::kDateTimeLe:
    case Decoding::kTimestamp7:
      return true;
    default:
      return false;
  }
}

text::CodePage CodePageOf(std::uint8_t language_driver, std::string_view driver_name, bool* declared) {
  // The language driver IDs of dBASE and FoxPro for the three code
  // pages the converter meets (the same table dbfread and GDAL use).
  static constexpr std::uint8_t k437[] = {0x01, 0x09, 0x0B, 0x0D, 0x0F, 0x11, 0x15, 0x18, 0x19, 0x1B};
  static constexpr std::uint8_t k850[] = {0x02, 0x0A, 0x0E, 0x10, 0x12, 0x14, 0x16,
                                          0x1A, 0x1D, 0x25, 0x37};
  if (declared != nullptr) *declared = language_driver != 0;
  for (auto b : k437) {
    if (b == language_driver) return text::CodePage::kIbm437;
  }
  for (auto b : k850) {
    if (b == language_driver) return text::CodePage::kIbm850;
  }
  // 0x03, 0x57, 0x58, 0x59 are Windows-1252. Level 7 names its driver too
  // ("DBWINWE0", "DB437US0", "DB850ES0"...): it decides for a byte we lack.
  if (language_driver != 0x03 && language_driver != 0x57 && language_driver != 0x58 && language_driver != 0x59) {
    if (driver_name.substr(0, 5) == "DB437") return text::CodePage::kIbm437;
    if (driver_name.substr(0, 5) == "DB850") return text::CodePage::kIbm850;
  }
  // Undeclared (0) and every other code page: Windows-1252, the host's own.
  return text::CodePage::kWindows1252;
}

ParsedTable ParseTable(std::string_view b, std::string_view label) {
  ParsedTable out;
  Layout& L = out.layout;
  if (b.empty()) Damaged(label, Format(msg::why::kArchivoCorto, {"0"}));
  L.version = U8(b, kVersionAt);
  auto flavour = FlavourOf(L.version);
  if (!flavour) Damaged(label, Format(msg::why::kVersionDesconocida, {HexByte(L.version)}));
  L.flavour = *flavour;
  const bool level7 = L.flavour == Flavour::kDbase7;
  const std::size_t header_size = level7 ? kHeaderSize7 : kHeaderSize;
  if (b.size() < header_size) Damaged(label, Format(msg::why::kArchivoCorto, {Num(b.size())}));

  L.date[0] = U8(b, kDateAt);
  L.date[1] = U8(b, kDateAt + 1);
  L.date[2] = U8(b, kDateAt + 2);
  L.record_count = U32Le(b, kRecordCountAt);
  L.header_length = U16Le(b, kHeaderLengthAt);
  L.record_length = U16Le(b, kRecordLengthAt);
  L.language_driver = U8(b, kLanguageDriverAt);
  std::string_view driver_name;
  if (level7) {
    driver_name = TrimRight(b.substr(kLanguageDriverNameAt7, kLanguageDriverNameSize7));
    if (auto nul = driver_name.find('\0'); nul != std::string_view::npos) driver_name = driver_name.substr(0, nul);
  }
  L.code_page = CodePageOf(L.language_driver, driver_name, &L.code_page_declared);

  if (L.header_length > b.size()) {
    Damaged(label, Format(msg::why::kCabeceraMasLarga, {Num(L.header_length), Num(b.size())}));
  }

  // Field descriptors up to the 0x0D terminator, all inside the header.
  const std::size_t desc_size = level7 ? kDescriptorSize7 : kDescriptorSize;
  const std::size_t name_size = level7 ? kNameSize7 : kNameSize;
  const std::size_t type_at = level7 ? kTypeAt7 : kTypeAt;
  const std::size_t width_at = level7 ? kWidthAt7 : kWidthAt;
  const std::size_t decimals_at = level7 ? kDecimalsAt7 : kDecimalsAt;
  const std::size_t limit = L.header_length;
  std::size_t pos = header_size;
  std::size_t record_end = 1;  // fields are placed by adding up widths
  int null_bits = 0;
  bool have_null_flags = false;
  for (;;) {
    if (pos >= limit) Damaged(label, std::string(msg::why::kSinTerminador));
    if (U8(b, pos) == kHeaderTerminator) break;
    if (pos + desc_size > limit) Damaged(label, std::string(msg::why::kSinTerminador));
    std::string_view d = b.substr(pos, desc_size);
    pos += desc_size;

    std::string_view raw_name = d.substr(0, name_size);
    if (auto nul = raw_name.find('\0'); nul != std::string_view::npos) raw_name = raw_name.substr(0, nul);
    raw_name = TrimRight(raw_name);
    Field f;
    f.info.name = text::ToAnsi(raw_name, L.code_page);
    f.info.type = d[type_at];
    f.info.width = U8(d, width_at);
    f.info.decimals = U8(d, decimals_at);
    // Long character fields (FoxPro, Clipper) keep the width's high byte in
    // the decimals byte.
    if (f.info.type == 'C' && !level7) {
      f.info.width |= f.info.decimals << 8;
      f.info.decimals = 0;
    }
    const std::string shown_name = text::AnsiToUtf8(f.info.name);
    if (f.info.width == 0) Damaged(label, Format(msg::why::kAnchoCero, {shown_name}));
    f.offset = record_end;
    record_end += static_cast<std::size_t>(f.info.width);

    if (f.info.type == kNullFlagsType) {
      if (!have_null_flags) {
        have_null_flags = true;
        L.null_flags_offset = f.offset;
        L.null_flags_width = static_cast<std::size_t>(f.info.width);
      }
      continue;  // hidden: no field a caller sees
    }
    auto rule = RuleFor(f.info.type, L.flavour);
    if (!rule) Damaged(label, Format(msg::why::kTipoDesconocido, {shown_name, TypeForMessage(f.info.type)}));
    if (rule->fixed_width != 0 && f.info.width != rule->fixed_width) {
      Damaged(label, Format(msg::why::kAnchoNoValido, {shown_name, TypeForMessage(f.info.type), Num(f.info.width),
                                                  Num(rule->fixed_width)}));
    }
    f.decoding = rule->decoding;
    if (L.flavour == Flavour::kVisualFoxPro) {
      // _NULLFLAGS bits in field order: a V or Q field's length bit first,
      // then the null bit of a nullable field.
      if (f.info.type == 'V' || f.info.type == 'Q') f.length_bit = null_bits++;
      if ((U8(d, kFlagsAt) & kFlagNullable) != 0) f.null_bit = null_bits++;
    }
    L.fields.push_back(std::move(f));
  }
  if (L.fields.empty()) Damaged(label, std::string(msg::why::kSinCampos));
  if (L.record_length < record_end) {
    Damaged(label, Format(msg::why::kRegistroCorto, {Num(L.record_length), Num(record_end)}));
  }

  // Every record the header counts must be complete.
  const std::size_t available = b.size() - L.header_length;
  const std::size_t complete = available / L.record_length;
  if (complete < L.record_count) Damaged(label, Format(msg::why::kFaltanRegistros, {Num(L.record_count), Num(complete)}));
  out.live.reserve(L.record_count);
  for (std::size_t i = 0; i < L.record_count; ++i) {
    const std::size_t at = L.header_length + i * L.record_length;
    const std::uint8_t flag = U8(b, at);
    if (flag == kLiveFlag) {
      out.live.push_back(at);
    } else if (flag != kDeletedFlag) {
      Damaged(label, Format(msg::why::kMarcaNoValida, {Num(i + 1), HexByte(flag)}));
    }
  }
  return out;
}

Value DecodeValue(const Layout& L, std::string_view record, std::size_t index, std::string_view label,
                  std::size_t record_number) {
  const Field& f = L.fields.at(index);
  const auto width = static_cast<std::size_t>(f.info.width);
  if (record.size() < L.record_length || f.offset + width > record.size()) {
    Damaged(label, Format(msg::why::kRegistroIncompleto, {Num(record_number)}));
  }
  if (NullBitSet(L, record, f.null_bit)) return Null{};
  std::string_view raw = record.substr(f.offset, width);

  switch (f.decoding) {
    case Decoding::kText: {
      if (NullBitSet(L, record, f.length_bit)) {
        // Visual FoxPro V shorter than its width: the last byte is the length.
        std::size_t len = U8(raw, width - 1);
        raw = raw.substr(0, len < width ? len : width - 1);
      }
      return text::ToAnsi(TrimRight(raw), L.code_page);
    }
    case Decoding::kNumber:
    case Decoding::kFloatText: {
      std::string_view s = TrimBoth(raw);
      if (s.empty() || AllBytes(s, '*')) return Null{};  // blanks, or the asterisks of GDAL and pyshp
      auto v = ParseDecimal(s, f.info.decimals == 0, f.decoding == Decoding::kFloatText);
      if (!v) InvalidValue(label, record_number, f, text::AnsiToUtf8(s));
      return *v;
    }
    case Decoding::kDate: {
      std::string_view s = TrimBoth(raw);
      if (s.empty() || AllBytes(s, '0')) return Null{};
      return text::ToAnsi(s, L.code_page);
    }
    case Decoding::kLogical:
      switch (raw[0]) {
        case 'T': case 't': case 'Y': case 'y':
          return true;
        case 'F': case 'f': case 'N': case 'n':
          return false;
        case ' ': case '?': case '\0':
          return Null{};
        default:
          InvalidValue(label, record_number, f, text::AnsiToUtf8(raw));
      }
    case Decoding::kInt32Le:
      return static_cast<std::int64_t>(static_cast<std::int32_t>(U32Le(raw, 0)));
    case Decoding::kInt32Sortable:
      if (AllBytes(raw, '\0')) return Null{};
      return static_cast<std::int64_t>(static_cast<std::int32_t>(U32Be(raw, 0) ^ 0x80000000u));
    case Decoding::kDoubleLe:
      return std::bit_cast<double>(U64Le(raw, 0));
    case Decoding::kDoubleSortable: {
      if (AllBytes(raw, '\0')) return Null{};
      std::uint64_t u = U64Be(raw, 0);
      constexpr std::uint64_t kSign = 0x8000000000000000ull;
      u = (u & kSign) != 0 ? (u ^ kSign) : ~u;
      return std::bit_cast<double>(u);
    }
    case Decoding::kCurrency: {
      auto v = static_cast<std::int64_t>(U64Le(raw, 0));
      if (v % 10000 == 0) return v / 10000;
      return static_cast<double>(v) / 10000.0;
    }
    case Decoding::kDateTimeLe: {
      if (AllBytes(raw, '\0') || AllBytes(raw, ' ')) return Null{};
      std::uint32_t day = U32Le(raw, 0), ms = U32Le(raw, 4);
      if (day == 0) return Null{};
      if (day > kJulianDayOf99991231 || ms >= kMsPerDay) InvalidValue(label, record_number, f, Hex(raw));
      return DateTimeText(day, ms);
    }
    case Decoding::kTimestamp7: {
      if (AllBytes(raw, '\0')) return Null{};
      std::uint64_t u = U64Be(raw, 0);
      // Real files store the plain double; a sign-flipped one (as O) is taken too.
      if ((u & 0x8000000000000000ull) != 0) u ^= 0x8000000000000000ull;
      double ms = std::bit_cast<double>(u);
      constexpr double kMax = static_cast<double>(kJulianDayOf99991231 - kJulianDayOf00010101 + 2) * kMsPerDay;
      if (!std::isfinite(ms) || ms < static_cast<double>(kMsPerDay) || ms >= kMax) {
        InvalidValue(label, record_number, f, Hex(raw));
      }
      auto total = static_cast<std::int64_t>(std::floor(ms));
      std::int64_t ordinal = total / kMsPerDay;  // 0001-01-01 is day 1
      return DateTimeText(ordinal + kJulianDayOf00010101 - 1, total % kMsPerDay);
    }
    case Decoding::kMemo:
      return std::string();
  }
  return Null{};
}

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

TableContents ReadTable(std::string_view bytes, std::string_view label) {
  ParsedTable parsed = ParseTable(bytes, label);
  TableContents out;
  out.layout = std::move(parsed.layout);
  const Layout& L = out.layout;
  for (const auto& f : L.fields) out.fields.push_back(f.info);
  out.records.reserve(parsed.live.size());
  for (std::size_t at : parsed.live) {
    std::string_view record = bytes.substr(at, L.record_length);
    const std::size_t number = (at - L.header_length) / L.record_length + 1;
    std::vector<Value> values;
    values.reserve(L.fields.size());
    for (std::size_t i = 0; i < L.fields.size(); ++i) values.push_back(DecodeValue(L, record, i, label, number));
    out.records.push_back(std::move(values));
  }
  return out;
}

TableContents ReadTable(const std::filesystem::path& path) {
  const std::string bytes = ReadFileBytes(path);
  return ReadTable(bytes, path.filename().string());
}

}  // namespace velquior::tables::dbf
