// The own Windows-1252 handler against iconv's CP1252, which the Linux build
// used before: the same characters, the same refusals, stopping at the same
// byte. Except for the tag characters U+E0000..U+E007F, which iconv drops and
// the handler refuses, so that libxml2 writes them as references.

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <string>

#include "text/encoding.h"
#include "xml/windows_1252.h"

namespace velquior::xml {
namespace {

struct Outcome {
  int status;  // 0, or -2 for a refusal, -3 for a cut sequence
  std::size_t read;
  std::string out;
  bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
  *os << o.status << " after " << o.read << ": " << testing::PrintToString(o.out);
}

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  Outcome operator()(std::string in) {
    char out[64];
    char* ip = in.data();
    char* op = out;
    std::size_t il = in.size(), ol = sizeof out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    const std::size_t rc = iconv(cd_, &ip, &il, &op, &ol);
    const int status = rc != static_cast<std::size_t>(-1) ? 0 : errno == EILSEQ ? -2 : errno == EINVAL ? -3 : -99;
    return {status, in.size() - il, std::string(out, op)};
  }

 private:
  iconv_t cd_;
};

Outcome Own(decltype(&detail::Windows1252ToUtf8) convert, const std::string& in) {
  unsigned char out[64];
  int outlen = sizeof out, inlen = static_cast<int>(in.size());
  const int rc = convert(out, &outlen, reinterpret_cast<const unsigned char*>(in.data()), &inlen);
  return {rc < 0 ? rc : 0, static_cast<std::size_t>(inlen),
          std::string(reinterpret_cast<char*>(out), static_cast<std::size_t>(outlen))};
}

TEST(Windows1252Posix, ReadsEveryByteAsIconv) {
  Iconv iconv("UTF-8", "CP1252");
  ASSERT_TRUE(iconv.ok());
  for (int b = 0; b < 256; ++b) {
    const std::string in = std::string("a") + static_cast<char>(b) + "z";
    EXPECT_EQ(Own(detail::Windows1252ToUtf8, in), iconv(in)) << b;
  }
}

TEST(Windows1252Posix, WritesEveryCharacterAndMalformedSequenceAsIconv) {
  Iconv iconv("CP1252", "UTF-8");
  ASSERT_TRUE(iconv.ok());
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    std::string in = "a";
    text::AppendUtf8(in, cp);
    Outcome want = iconv(in);
    if (cp >= 0xE0000 && cp <= 0xE007F) {
      EXPECT_EQ(want, (Outcome{0, in.size(), "a"}));
      want = {-2, 1, "a"};
    }
    ASSERT_EQ(Own(detail::Utf8ToWindows1252, in), want) << static_cast<unsigned long>(cp);
  }
  for (const char* in : {"\xFF",
                         "\x80",
                         "\xC1\xBF",
                         "\xC0\x80",
                         "\xE0\x80\x80",
                         "\xE0\x9F\xBF",
                         "\xED\xA0\x80",
                         "\xED\xBF\xBF",
                         "\xF0\x80\x80\x80",
                         "\xF4\x90\x80\x80",
                         "\xF5\x80\x80\x80",
                         "\xF7\xBF\xBF\xBF",
                         "\xF8\x88\x80\x80\x80",
                         "\xFC\x84\x80\x80\x80\x80",
                         "\xE2\x41",
                         "\xE2\x82",
                         "\xE0\x80",
                         "\xF0\x9F\x98",
                         "\xF5\x80",
                         "\xF8",
                         "a\xC3",
                         "\xC3\xA9\xE2\x82\xAC\xC2"}) {
    EXPECT_EQ(Own(detail::Utf8ToWindows1252, in), iconv(in)) << testing::PrintToString(std::string(in));
  }
}

TEST(Windows1252Posix, TheHandlersNamesAreIconvs) {
  for (const char* name : {"WINDOWS-1252", "CP1252", "MS-ANSI"}) EXPECT_TRUE(Iconv("UTF-8", name).ok()) << name;
}

}  // namespace
}  // namespace velquior::xml
