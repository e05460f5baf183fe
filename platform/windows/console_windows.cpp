#include "platform/console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <iostream>
#include <streambuf>
#include <string>

#include "platform/windows/utf16.h"

namespace velquior::platform {
namespace {

// How many bytes at the end of `bytes` begin a UTF-8 character that the
// next write completes.
std::size_t UnfinishedTail(const std::string& bytes) {
  const std::size_t n = bytes.size();
  for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
    const auto c = static_cast<unsigned char>(bytes[n - back]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return length > back ? back : 0;
  }
  return 0;
}

// Takes UTF-8 and writes it to a console as UTF-16, which every console
// shows whatever its code page.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return sync() == 0 ? traits_type::not_eof(c) : c;
    pending_ += traits_type::to_char_type(c);
    if (pending_.size() >= kFlushAt) Write();
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    pending_.append(s, static_cast<std::size_t>(n));
    if (pending_.size() >= kFlushAt) Write();
    return n;
  }
  int sync() override { return Write() ? 0 : -1; }

 private:
  static constexpr std::size_t kFlushAt = 4096;

  // Everything but a character still cut short.
  bool Write() {
    const std::size_t keep = UnfinishedTail(pending_);
    const std::wstring wide = Utf8ToWide(std::string_view(pending_).substr(0, pending_.size() - keep));
    pending_.erase(0, pending_.size() - keep);
    std::size_t at = 0;
    while (at < wide.size()) {
      DWORD n = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 8192));
      if (!::WriteConsoleW(console_, wide.data() + at, want, &n, nullptr) || n == 0) return false;
      at += n;
    }
    return true;
  }

  HANDLE console_;
  std::string pending_;
};

void Redirect(std::ostream& stream, DWORD which) {
  HANDLE h = ::GetStdHandle(which);
  DWORD mode = 0;
  if (h == nullptr || h == INVALID_HANDLE_VALUE || !::GetConsoleMode(h, &mode)) {
    // A file or a pipe gets the bytes the program wrote, line ends too, as
    // on Linux: scripts read the same output on both systems.
    stream.flush();
    ::_setmode(which == STD_OUTPUT_HANDLE ? 1 : 2, _O_BINARY);
    return;
  }
  stream.flush();
  static ConsoleBuffer* buffers[2] = {};  // live as long as the streams
  ConsoleBuffer*& buffer = buffers[which == STD_OUTPUT_HANDLE ? 0 : 1];
  if (buffer == nullptr) buffer = new ConsoleBuffer(h);
  stream.rdbuf(buffer);
}

}  // namespace

void UseUtf8Console() {
  Redirect(std::cout, STD_OUTPUT_HANDLE);
  Redirect(std::cerr, STD_ERROR_HANDLE);
}

// Windows raises no signal: a write to a pipe without a reader just fails.
void SurviveClosedOutput() {}

// A write to a pipe fails only when its reader has closed it.
bool StandardOutputReaderGone() {
  HANDLE h = ::GetStdHandle(STD_OUTPUT_HANDLE);
  return h != nullptr && h != INVALID_HANDLE_VALUE && ::GetFileType(h) == FILE_TYPE_PIPE;
}

}  // namespace velquior::platform
