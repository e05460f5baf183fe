#include "tables/dbf_values.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "tables/dbf_bytes.h"

namespace velquior::tables::dbf {
namespace {

using namespace bytes;  // NOLINT: the reader's own helpers

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

Value DecodeValue(const Layout& L, std::string_view record, std::size_t index, std::string_view label,
                  std::size_t record_number, ValueReading how) {
  const Field& f = L.fields.at(index);
  auto as_text = [&](std::string_view s) -> Value {
    return how.stored_text ? std::string(s) : text::ToAnsi(s, L.code_page);
  };
  // `shown`: the trimmed text, or the bytes in hexadecimal for a binary field.
  auto invalid = [&](std::string_view shown) -> Value {
    if (how.invalid_as_text) return as_text(shown);
    InvalidValue(label, record_number, f, text::AnsiToUtf8(shown));
  };
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
      return as_text(TrimRight(raw));
    }
    case Decoding::kNumber:
    case Decoding::kFloatText: {
      std::string_view s = TrimBoth(raw);
      if (s.empty() || AllBytes(s, '*')) return Null{};  // blanks, or the asterisks of GDAL and pyshp
      auto v = ParseDecimal(s, f.info.decimals == 0, f.decoding == Decoding::kFloatText);
      if (!v) return invalid(s);
      return *v;
    }
    case Decoding::kDate: {
      std::string_view s = TrimBoth(raw);
      if (s.empty() || AllBytes(s, '0')) return Null{};
      return as_text(s);
    }
    case Decoding::kLogical:
      switch (raw[0]) {
        case 'T':
        case 't':
        case 'Y':
        case 'y':
          return true;
        case 'F':
        case 'f':
        case 'N':
        case 'n':
          return false;
        case ' ':
        case '?':
        case '\0':
          return Null{};
        default:
          return invalid(raw);
      }
    case Decoding::kInt32Le:
      return static_cast<std::int64_t>(static_cast<std::int32_t>(Le32(raw, 0)));
    case Decoding::kInt32Sortable:
      if (AllBytes(raw, '\0')) return Null{};
      return static_cast<std::int64_t>(static_cast<std::int32_t>(Be32(raw, 0) ^ 0x80000000u));
    case Decoding::kDoubleLe:
      return std::bit_cast<double>(Le64(raw, 0));
    case Decoding::kDoubleSortable: {
      if (AllBytes(raw, '\0')) return Null{};
      std::uint64_t u = Be64(raw, 0);
      constexpr std::uint64_t kSign = 0x8000000000000000ull;
      u = (u & kSign) != 0 ? (u ^ kSign) : ~u;
      return std::bit_cast<double>(u);
    }
    case Decoding::kCurrency: {
      auto v = static_cast<std::int64_t>(Le64(raw, 0));
      if (v % 10000 == 0) return v / 10000;
      return static_cast<double>(v) / 10000.0;
    }
    case Decoding::kDateTimeLe: {
      if (AllBytes(raw, '\0') || AllBytes(raw, ' ')) return Null{};
      std::uint32_t day = Le32(raw, 0), ms = Le32(raw, 4);
      if (day == 0) return Null{};
      if (day > kJulianDayOf99991231 || ms >= kMsPerDay) return invalid(Hex(raw));
      return DateTimeText(day, ms);
    }
    case Decoding::kTimestamp7: {
      if (AllBytes(raw, '\0')) return Null{};
      std::uint64_t u = Be64(raw, 0);
      // Real files store the plain double; a sign-flipped one (as O) is taken too.
      if ((u & 0x8000000000000000ull) != 0) u ^= 0x8000000000000000ull;
      double ms = std::bit_cast<double>(u);
      constexpr double kMax = static_cast<double>(kJulianDayOf99991231 - kJulianDayOf00010101 + 2) * kMsPerDay;
      if (!std::isfinite(ms) || ms < static_cast<double>(kMsPerDay) || ms >= kMax) {
        return invalid(Hex(raw));
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

}  // namespace velquior::tables::dbf
