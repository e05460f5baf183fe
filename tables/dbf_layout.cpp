#include "tables/dbf_layout.h"

#include <optional>

#include "tables/dbf_bytes.h"

namespace velquior::tables::dbf {
namespace {

using namespace bytes;  // NOLINT: the reader's own helpers

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

}  // namespace

text::CodePage CodePageOf(std::uint8_t language_driver, std::string_view driver_name, bool* declared) {
  // The language driver IDs of dBASE and FoxPro for the three code
  // pages the converter meets (the same table dbfread and GDAL use).
  static constexpr std::uint8_t k437[] = {0x01, 0x09, 0x0B, 0x0D, 0x0F, 0x11, 0x15, 0x18, 0x19, 0x1B};
  static constexpr std::uint8_t k850[] = {0x02, 0x0A, 0x0E, 0x10, 0x12, 0x14, 0x16, 0x1A, 0x1D, 0x25, 0x37};
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

int DeclaredCodePage(std::uint8_t language_driver, std::string_view driver_name) {
  // The language driver IDs of dBASE and FoxPro with the code page each one
  // stands for (many IDs share a code page: they differ in sort order).
  struct Driver {
    std::uint8_t id;
    int code_page;
  };
  static constexpr Driver kDrivers[] = {
      {0x01, 437},  {0x02, 850},   {0x03, 1252},  {0x04, 10000}, {0x08, 865},  {0x09, 437},  {0x0A, 850},  {0x0B, 437},
      {0x0D, 437},  {0x0E, 850},   {0x0F, 437},   {0x10, 850},   {0x11, 437},  {0x12, 850},  {0x13, 932},  {0x14, 850},
      {0x15, 437},  {0x16, 850},   {0x17, 865},   {0x18, 437},   {0x19, 437},  {0x1A, 850},  {0x1B, 437},  {0x1C, 863},
      {0x1D, 850},  {0x1F, 852},   {0x22, 852},   {0x23, 852},   {0x24, 860},  {0x25, 850},  {0x26, 866},  {0x37, 850},
      {0x40, 852},  {0x4D, 936},   {0x4E, 949},   {0x4F, 950},   {0x50, 874},  {0x57, 1252}, {0x58, 1252}, {0x59, 1252},
      {0x64, 852},  {0x65, 866},   {0x66, 865},   {0x67, 861},   {0x6A, 737},  {0x6B, 857},  {0x6C, 863},  {0x78, 950},
      {0x79, 949},  {0x7A, 936},   {0x7B, 932},   {0x7C, 874},   {0x7D, 1255}, {0x7E, 1256}, {0x86, 737},  {0x87, 852},
      {0x88, 857},  {0x96, 10007}, {0x97, 10029}, {0x98, 10006}, {0xC8, 1250}, {0xC9, 1251}, {0xCA, 1254}, {0xCB, 1253},
      {0xCC, 1257},
  };
  for (const Driver& d : kDrivers) {
    if (d.id == language_driver) return d.code_page;
  }
  // Level 7 names its driver: "DBWINWE0" is Windows-1252, "DB866RU0" 866.
  if (driver_name.substr(0, 5) == "DBWIN") return 1252;
  if (driver_name.size() > 2 && driver_name.substr(0, 2) == "DB") {
    int n = 0;
    for (std::size_t i = 2; i < driver_name.size() && i < 7 && driver_name[i] >= '0' && driver_name[i] <= '9'; ++i) {
      n = n * 10 + (driver_name[i] - '0');
    }
    return n;
  }
  return 0;
}

ParsedTable ParseTable(std::string_view b, std::string_view label, ShortFile short_file) {
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
  L.record_count = Le32(b, kRecordCountAt);
  L.header_length = Le16(b, kHeaderLengthAt);
  L.record_length = Le16(b, kRecordLengthAt);
  L.language_driver = U8(b, kLanguageDriverAt);
  std::string_view driver_name;
  if (level7) {
    driver_name = TrimRight(b.substr(kLanguageDriverNameAt7, kLanguageDriverNameSize7));
    if (auto nul = driver_name.find('\0'); nul != std::string_view::npos) driver_name = driver_name.substr(0, nul);
  }
  L.code_page = CodePageOf(L.language_driver, driver_name, &L.code_page_declared);
  L.declared_code_page = DeclaredCodePage(L.language_driver, driver_name);

  if (L.header_length > b.size()) {
    Damaged(label, Format(msg::why::kCabeceraMasLarga, {Num(L.header_length), Num(b.size())}));
  }

  // Field descriptors up to the terminator, all inside the header.
  const std::size_t desc_size = level7 ? kDescriptorSize7 : kDescriptorSize;
  const std::size_t name_size = level7 ? kNameSize7 : kNameSize;
  const std::size_t type_at = level7 ? kTypeAt7 : kTypeAt;
  const std::size_t width_at = level7 ? kWidthAt7 : kWidthAt;
  const std::size_t decimals_at = level7 ? kDecimalsAt7 : kDecimalsAt;
  const std::size_t limit = L.header_length;
  // Some writers end the list with a line feed: taken where the header
  // length says the list ends there, so a field's bytes are never cut.
  auto ends_header = [&](std::size_t after) {
    return after == limit || (L.flavour == Flavour::kVisualFoxPro && after + kBacklinkSize == limit);
  };
  std::vector<std::string_view> descriptors;
  std::size_t pos = header_size;
  for (;;) {
    if (pos >= limit) Damaged(label, std::string(msg::why::kSinTerminador));
    const std::uint8_t c = U8(b, pos);
    if (c == kHeaderTerminator || (c == kLineFeed && ends_header(pos + 1))) break;
    if (pos + desc_size > limit) Damaged(label, std::string(msg::why::kSinTerminador));
    descriptors.push_back(b.substr(pos, desc_size));
    pos += desc_size;
  }

  // Long character fields (FoxPro, Clipper) keep the width's high byte in
  // the decimals byte, where other writers put a decimal count: the wide
  // reading only when it makes the fields fill the record exactly.
  bool wide_text = false;
  if (!level7) {
    std::size_t wide_end = 1;
    bool high_bytes = false;
    for (std::string_view d : descriptors) {
      wide_end += U8(d, width_at);
      if (d[type_at] == 'C' && U8(d, decimals_at) != 0) {
        high_bytes = true;
        wide_end += static_cast<std::size_t>(U8(d, decimals_at)) << 8;
      }
    }
    wide_text = high_bytes && wide_end == L.record_length;
  }

  std::size_t record_end = 1;  // fields are placed by adding up widths
  int null_bits = 0;
  bool have_null_flags = false;
  for (std::string_view d : descriptors) {
    std::string_view raw_name = d.substr(0, name_size);
    if (auto nul = raw_name.find('\0'); nul != std::string_view::npos) raw_name = raw_name.substr(0, nul);
    raw_name = TrimRight(raw_name);
    Field f;
    f.stored_name = std::string(raw_name);
    f.info.name = text::ToAnsi(raw_name, L.code_page);
    f.info.type = d[type_at];
    f.info.width = U8(d, width_at);
    f.info.decimals = U8(d, decimals_at);
    if (f.info.type == 'C' && wide_text) {
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
      Damaged(label, Format(msg::why::kAnchoNoValido,
                            {shown_name, TypeForMessage(f.info.type), Num(f.info.width), Num(rule->fixed_width)}));
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

  // Every record the header counts must be complete, unless the caller
  // takes what is there.
  const std::size_t available = b.size() - L.header_length;
  const std::size_t complete = available / L.record_length;
  out.records_present = L.record_count;
  if (complete < L.record_count) {
    if (short_file == ShortFile::kRefuse) {
      Damaged(label, Format(msg::why::kFaltanRegistros, {Num(L.record_count), Num(complete)}));
    }
    out.records_present = static_cast<std::uint32_t>(complete);
  }
  out.live.reserve(out.records_present);
  for (std::size_t i = 0; i < out.records_present; ++i) {
    const std::size_t at = L.header_length + i * L.record_length;
    const std::uint8_t flag = U8(b, at);
    if (flag == kLiveFlag || flag == kLiveFlagNul) {
      out.live.push_back(at);
    } else if (flag != kDeletedFlag) {
      Damaged(label, Format(msg::why::kMarcaNoValida, {Num(i + 1), HexByte(flag)}));
    }
  }
  return out;
}

}  // namespace velquior::tables::dbf
