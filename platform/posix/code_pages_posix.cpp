#include "platform/code_pages.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace velquior::platform {
namespace {

// The converter's name of a code page number.
std::string IconvName(int code_page) {
  switch (code_page) {
    case 10000:
      return "MACINTOSH";
    case 10007:
      return "MAC-CYRILLIC";
    case 10029:
      return "MAC-CENTRALEUROPE";
    default:
      return "CP" + std::to_string(code_page);
  }
}

class Converter {
 public:
  explicit Converter(int code_page) : cd_(iconv_open("UTF-8", IconvName(code_page).c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::string Convert(std::string_view bytes) {
    std::string out;
    char buf[256];
    char* in = const_cast<char*>(bytes.data());  // iconv's signature; it does not write there
    std::size_t in_left = bytes.size();
    while (in_left > 0) {
      char* to = buf;
      std::size_t to_left = sizeof buf;
      const std::size_t r = iconv(cd_, &in, &in_left, &to, &to_left);
      out.append(buf, static_cast<std::size_t>(to - buf));
      if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      // A byte that starts no character, or a sequence cut short: one
      // replacement for it, and on with the next byte.
      out += "\xEF\xBF\xBD";  // U+FFFD
      ++in;
      --in_left;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* to = buf;
    std::size_t to_left = sizeof buf;
    iconv(cd_, nullptr, nullptr, &to, &to_left);  // a stateful code page's closing bytes
    out.append(buf, static_cast<std::size_t>(to - buf));
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> SystemCodePageToUtf8(std::string_view bytes, int code_page) {
  if (code_page <= 0) return std::nullopt;
  Converter c(code_page);
  if (!c.ok()) return std::nullopt;
  return c.Convert(bytes);
}

}  // namespace velquior::platform
