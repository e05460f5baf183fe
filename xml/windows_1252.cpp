#include "xml/windows_1252.h"

#include <libxml/encoding.h>

#include <new>

#include "text/encoding.h"

namespace velquior::xml::detail {
namespace {

constexpr int kFull = -1;
constexpr int kCannot = -2;
constexpr int kCut = -3;

// The length of the UTF-8 sequence a byte leads, as iconv reads it: leads
// of old five- and six-byte forms too, which only tell a cut sequence from
// a wrong one; 0 for no lead.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF7) return 4;
  if (lead >= 0xF8 && lead <= 0xFB) return 5;
  if (lead >= 0xFC && lead <= 0xFD) return 6;
  return 0;
}

// The code point of the `length` bytes at `p`, or -1 when they are not well
// formed: a byte that does not continue, a longer form than needed, a surrogate.
long Decode(const unsigned char* p, int length) {
  static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  static constexpr long kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  long cp = p[0] & kLeadBits[length];
  for (int k = 1; k < length; ++k) {
    if ((p[k] & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (p[k] & 0x3F);
  }
  if (cp < kLeast[length] || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  return cp;
}

// Whether the bytes after a lead up to `end` are all continuations: a
// sequence cut short rather than a wrong one.
bool OnlyContinuations(const unsigned char* p, const unsigned char* end) {
  for (; p < end; ++p) {
    if ((*p & 0xC0) != 0x80) return false;
  }
  return true;
}

}  // namespace

int Windows1252ToUtf8(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
  if (out == nullptr || outlen == nullptr || inlen == nullptr) return kFull;
  if (in == nullptr) {  // the start of a conversion: no state to set up
    *outlen = 0;
    *inlen = 0;
    return 0;
  }
  int read = 0, written = 0, result = 0;
  for (; read < *inlen; ++read) {
    const unsigned char byte = in[read];
    const char32_t cp = text::CodePointFromAnsi(byte);
    // The table keeps the undefined bytes as the C1 controls of their value.
    if (byte >= 0x80 && cp < 0xA0) {
      result = kCannot;
      break;
    }
    const int length = cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3;
    if (*outlen - written < length) {
      result = kFull;
      break;
    }
    if (length == 1) {
      out[written] = byte;
    } else if (length == 2) {
      out[written] = static_cast<unsigned char>(0xC0 | (cp >> 6));
      out[written + 1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    } else {
      out[written] = static_cast<unsigned char>(0xE0 | (cp >> 12));
      out[written + 1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      out[written + 2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    }
    written += length;
  }
  *inlen = read;
  *outlen = written;
  return result == 0 ? written : result;
}

int Utf8ToWindows1252(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
  if (out == nullptr || outlen == nullptr || inlen == nullptr) return kFull;
  if (in == nullptr) {
    *outlen = 0;
    *inlen = 0;
    return 0;
  }
  const unsigned char* const end = in + *inlen;
  int read = 0, written = 0, result = 0;
  while (read < *inlen) {
    if (written == *outlen) {
      result = kFull;
      break;
    }
    const unsigned char* p = in + read;
    const int length = SequenceLength(*p);
    if (length == 0) {
      result = kCannot;
      break;
    }
    if (end - p < length) {
      result = OnlyContinuations(p + 1, end) ? kCut : kCannot;
      break;
    }
    const long cp = length <= 4 ? Decode(p, length) : -1;
    // U+0080..U+009F are no characters of the code page, whose bytes there
    // are others or none.
    const int byte = cp < 0      ? -1
                     : cp < 0x80 ? static_cast<int>(cp)
                     : cp < 0xA0 ? -1
                                 : text::AnsiFromCodePoint(static_cast<char32_t>(cp));
    if (byte < 0) {
      result = kCannot;
      break;
    }
    out[written++] = static_cast<unsigned char>(byte);
    read += length;
  }
  *inlen = read;
  *outlen = written;
  return result == 0 ? written : result;
}

void RegisterWindows1252() {
  // Registered handlers are looked up before iconv and ICU, by upper-case
  // name after the aliases: these names never reach either.
  if (xmlNewCharEncodingHandler("WINDOWS-1252", Windows1252ToUtf8, Utf8ToWindows1252) == nullptr) {
    throw std::bad_alloc();
  }
  for (const char* alias : {"CP1252", "MS-ANSI"}) {
    if (xmlAddEncodingAlias("WINDOWS-1252", alias) != 0) throw std::bad_alloc();
  }
}

}  // namespace velquior::xml::detail
