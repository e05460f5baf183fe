#pragma once
// The dBASE file layouts: where things are in the header and the field
// descriptors of every flavour the engine reads, and the choices behind the
// one layout it writes. Nothing here does I/O.
//
// File = header, field descriptors, 0x0D (0x0A from some writers),
// (flavour-specific area), records, optional 0x1A. Every record starts with
// its deletion flag (' ' or, from some writers, 0x00 live; '*' deleted) followed by the fields in descriptor order,
// each exactly its width. The header length (bytes 8-9) says where the first record starts and the record length (bytes
// 10-11) how long each one is; the record count (bytes 4-7) is the authority on how many there are.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace velquior::tables::dbf {

// ---- Header ----------------------------------------------------------------
inline constexpr std::size_t kHeaderSize = 32;   // dBASE III/IV/V, FoxPro, Visual FoxPro
inline constexpr std::size_t kHeaderSize7 = 68;  // dBASE level 7
inline constexpr std::size_t kVersionAt = 0;
inline constexpr std::size_t kDateAt = 1;           // YY MM DD, three bytes
inline constexpr std::size_t kRecordCountAt = 4;    // uint32 little-endian
inline constexpr std::size_t kHeaderLengthAt = 8;   // uint16 little-endian
inline constexpr std::size_t kRecordLengthAt = 10;  // uint16 little-endian
inline constexpr std::size_t kLanguageDriverAt = 29;
inline constexpr std::size_t kLanguageDriverNameAt7 = 32;  // level 7: 32 bytes, NUL-padded
inline constexpr std::size_t kLanguageDriverNameSize7 = 32;

// ---- Field descriptors -----------------------------------------------------
inline constexpr std::size_t kDescriptorSize = 32;
inline constexpr std::size_t kNameSize = 11;  // NUL-padded, 10 characters at most
inline constexpr std::size_t kTypeAt = 11;
inline constexpr std::size_t kDisplacementAt = 12;  // not trusted on reading, see dbf_reader.cpp
inline constexpr std::size_t kWidthAt = 16;
inline constexpr std::size_t kDecimalsAt = 17;
inline constexpr std::size_t kFlagsAt = 18;  // Visual FoxPro only

inline constexpr std::size_t kDescriptorSize7 = 48;
inline constexpr std::size_t kNameSize7 = 32;
inline constexpr std::size_t kTypeAt7 = 32;
inline constexpr std::size_t kWidthAt7 = 33;
inline constexpr std::size_t kDecimalsAt7 = 34;

// Visual FoxPro field flags.
inline constexpr std::uint8_t kFlagSystem = 0x01;
inline constexpr std::uint8_t kFlagNullable = 0x02;
inline constexpr std::uint8_t kFlagBinary = 0x04;

inline constexpr unsigned char kHeaderTerminator = 0x0D;
inline constexpr unsigned char kLineFeed = 0x0A;  // ends the field list of some writers
inline constexpr unsigned char kEndOfFile = 0x1A;
inline constexpr unsigned char kLiveFlag = ' ';
inline constexpr unsigned char kLiveFlagNul = 0x00;  // some writers' live flag
inline constexpr unsigned char kDeletedFlag = '*';

// Visual FoxPro: the area after the field list where a database's path goes.
inline constexpr std::size_t kBacklinkSize = 263;

// Visual FoxPro: the hidden field whose bits say which values are NULL.
inline constexpr char kNullFlagsType = '0';

// ---- Flavours --------------------------------------------------------------
enum class Flavour {
  kDbase,         // dBASE III, IV, V, FoxBASE+, FoxPro 2: 32-byte header and descriptors
  kVisualFoxPro,  // as kDbase plus field flags, _NULLFLAGS, binary I/B/Y/T; B is a double
  kDbase7,        // 68-byte header, 48-byte descriptors, big-endian sortable I and O
};

// The flavour of a version byte, or nullopt for a byte no dBASE writer uses.
// 0x02 is left out on purpose: it is dBASE II's, whose header is a different
// structure altogether (FoxBASE's 0x02 tables are not met in practice).
constexpr std::optional<Flavour> FlavourOf(std::uint8_t version) {
  switch (version) {
    case 0x03:  // dBASE III PLUS / FoxBASE+ / dBASE IV and V without memo
    case 0x05:  // dBASE V
    case 0x43:  // dBASE IV SQL table
    case 0x63:  // dBASE IV SQL system table
    case 0x7B:  // dBASE IV with memo
    case 0x83:  // dBASE III PLUS with memo
    case 0x8B:  // dBASE IV with memo
    case 0xCB:  // dBASE IV SQL table with memo
    case 0xE5:  // HiPer-Six (Clipper SMT memo)
    case 0xF5:  // FoxPro 2 with memo
    case 0xFB:  // FoxBASE
      return Flavour::kDbase;
    case 0x30:  // Visual FoxPro
    case 0x31:  // Visual FoxPro with autoincrement
    case 0x32:  // Visual FoxPro with Varchar/Varbinary
      return Flavour::kVisualFoxPro;
    case 0x04:  // dBASE level 7
    case 0x8C:  // dBASE level 7 with memo
      return Flavour::kDbase7;
    default:
      return std::nullopt;
  }
}

// ---- What the engine writes ------------------------------------------------
//
// dBASE III PLUS, the layout every dBASE reader opens: version 0x03, no memo,
// no production index, 32-byte descriptors, 0x0D, records, 0x1A.
inline constexpr std::uint8_t kWriteVersion = 0x03;

// Language driver 0x57 ("ANSI", Windows-1252). Of the two bytes writers use
// for code page 1252, 0x57 is the dBASE language driver ID, which dBASE
// itself, GDAL and ArcGIS read as Windows-1252 and which GDAL
// and Perl XBase write; 0x03 is Visual FoxPro's code page mark, which a
// dBASE-only reader need not know. dbfread and the Python dbf module read
// both as cp1252.
inline constexpr std::uint8_t kWriteLanguageDriver = 0x57;

// Limits of dBASE III PLUS, the oldest reader we write for.
inline constexpr int kMaxTextWidth = 254;
inline constexpr int kMaxFields = 128;
inline constexpr int kMaxRecordLength = 4000;
inline constexpr std::size_t kMaxFieldNameLength = 10;

// 32-bit integer: N(11,0) holds every int32, -2147483648 included (11 characters).
inline constexpr int kIntegerWidth = 11;

// Floating point (ASIGT.HORAS, weekly hours such as 2.5 or 16): N(19,4).
// Width 19 is the widest numeric field dBASE III PLUS accepts, so no reader
// refuses the table, and it leaves 14 positions for sign and integer part.
// Four decimals hold exactly, in the usual fixed form ("    2.5000"), every
// value written with up to four decimals - halves, quarters, tenths,
// hundredths, 0.125 - which covers how weekly hours are written. A value that
// needs more decimals is still stored exactly, in its shortest round-trip
// form (fixed "0.8333333333333334", else exponent "1e+20"), when that fits
// the 19 positions; else Post refuses it with an error naming the field.
// Readers take the number from the text, so these forms read back exactly.
inline constexpr int kFloatWidth = 19;
inline constexpr int kFloatDecimals = 4;

// Appended records are written in batches of about this many bytes (and at
// Close, destruction and before another handle reads the file). After each
// batch the header's count and date are rewritten, so the file on disk is
// always a complete table of the records written so far.
inline constexpr std::size_t kFlushBytes = std::size_t{64} * 1024;

}  // namespace velquior::tables::dbf
