// Fields by name: decoded from the current record when read, encoded into
// the pending record when set.

#include <cmath>
#include <cstring>

#include "tables/table_impl.h"
#include "text/encoding.h"
#include "text/numbers.h"

namespace velquior::tables {
namespace {

std::string ValueText(const Value& v) {
  struct Visitor {
    std::string operator()(const Null&) const { return {}; }
    std::string operator()(const std::string& s) const { return s; }
    std::string operator()(std::int64_t i) const { return std::to_string(i); }
    std::string operator()(double d) const { return text::FormatShortest(d, text::DecimalSeparator()); }
    std::string operator()(bool b) const { return b ? "True" : "False"; }
  };
  return std::visit(Visitor{}, v);
}

}  // namespace

void Table::Impl::FieldMissing(std::string_view name) const {
  std::string m = Format(msg::kCampoNoEncontrado, {text::AnsiToUtf8(name)});
  if (!component.empty()) m = component + ": " + m;
  throw Error(m);
}

Value Table::Impl::Decode(std::size_t index) const {
  std::size_t number = 0;
  std::string_view record = CurrentRecord(&number);
  return dbf::DecodeValue(layout, record, index, file_name, number);
}

std::string Table::Impl::AsText(std::string_view field) const {
  const std::size_t i = FieldIndex(field);
  return ValueText(Decode(i));
}

std::int32_t Table::Impl::AsInteger(std::string_view field) const {
  const std::size_t i = FieldIndex(field);
  Value v = Decode(i);
  if (dbf::IsTextDecoding(layout.fields[i].decoding)) return text::StrToInt(ValueText(v));
  if (auto* n = std::get_if<std::int64_t>(&v)) {
    if (*n < INT32_MIN || *n > INT32_MAX) throw Error(Format(msg::kEnteroNoValido, {std::to_string(*n)}));
    return static_cast<std::int32_t>(*n);
  }
  if (auto* d = std::get_if<double>(&v)) return text::RoundHalfEven(*d);
  if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  return 0;  // blank number
}

double Table::Impl::AsFloat(std::string_view field) const {
  const std::size_t i = FieldIndex(field);
  Value v = Decode(i);
  if (dbf::IsTextDecoding(layout.fields[i].decoding)) return text::StrToFloat(ValueText(v));
  if (auto* n = std::get_if<std::int64_t>(&v)) return static_cast<double>(*n);
  if (auto* d = std::get_if<double>(&v)) return *d;
  if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  return 0;  // blank number
}

void Table::Impl::DoesNotFit(std::string_view shown_value, std::size_t index) const {
  throw Error(Format(msg::kValorNoCabe, {file_name, shown_value, text::AnsiToUtf8(layout.fields[index].info.name)}));
}

void Table::Impl::Put(std::size_t index, const std::optional<std::string>& formatted, std::string_view shown_value) {
  if (!formatted) DoesNotFit(shown_value, index);
  std::size_t width = 0;
  char* out = PendingField(index, &width);
  std::memcpy(out, formatted->data(), width);
}

void Table::Impl::PutBlank(std::size_t index) {
  std::size_t width = 0;
  char* out = PendingField(index, &width);
  std::memset(out, ' ', width);
}

void Table::Impl::PutText(std::size_t index, std::string_view ansi) {
  std::size_t width = 0;
  char* out = PendingField(index, &width);
  dbf::PutText(out, width, ansi, layout.code_page);
}

void Table::Impl::SetText(std::string_view field, std::string_view value) {
  const std::size_t i = FieldIndex(field);
  const dbf::Field& f = layout.fields[i];
  switch (dbf::KindOf(f)) {
    case dbf::WriteKind::kText:
      return PutText(i, value);
    case dbf::WriteKind::kInteger:
      if (value.empty()) return PutBlank(i);
      return Put(i, dbf::FormatInteger(text::StrToInt(value), f.info.width), text::AnsiToUtf8(value));
    case dbf::WriteKind::kFloat:
      if (value.empty()) return PutBlank(i);
      return Put(i, dbf::FormatFloat(text::StrToFloat(value), f.info.width, f.info.decimals), text::AnsiToUtf8(value));
  }
}

void Table::Impl::SetFloat(std::string_view field, double value) {
  const std::size_t i = FieldIndex(field);
  const dbf::Field& f = layout.fields[i];
  switch (dbf::KindOf(f)) {
    case dbf::WriteKind::kText:
      return PutText(i, text::FormatShortest(value, text::DecimalSeparator()));
    case dbf::WriteKind::kInteger: {
      const double r = std::nearbyint(value);  // halves to even
      if (!std::isfinite(r) || r < -2147483648.0 || r > 2147483647.0) {
        DoesNotFit(text::FormatShortest(value, text::DecimalSeparator()), i);
      }
      return Put(i, dbf::FormatInteger(text::RoundHalfEven(value), f.info.width),
                 text::FormatShortest(value, text::DecimalSeparator()));
    }
    case dbf::WriteKind::kFloat: {
      auto formatted = dbf::FormatFloat(value, f.info.width, f.info.decimals);
      if (!formatted) DoesNotFit(text::FormatShortest(value, text::DecimalSeparator()), i);
      return Put(i, formatted, {});
    }
  }
}

}  // namespace velquior::tables
