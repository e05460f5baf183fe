// Running a program of the test suite on Windows: its output goes to files
// of a scratch folder, read back when it ends, so neither pipe can fill up.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "tests/test_util.h"

namespace velquior::testing {
namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

// One argument as the C runtime's parser reads it back.
std::wstring Quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

// The process's environment with `env` entries added or replaced, as a
// block of NUL-ended entries. Names compare without case, as Windows does.
std::wstring EnvironmentBlock(const std::vector<std::string>& env) {
  auto name_of = [](const std::wstring& entry) {
    std::wstring name = entry.substr(0, entry.find(L'=', 1));
    std::transform(name.begin(), name.end(), name.begin(), ::towupper);
    return name;
  };
  std::vector<std::wstring> extra;
  for (const auto& e : env) extra.push_back(Wide(e));
  std::vector<std::wstring> entries;
  wchar_t* strings = ::GetEnvironmentStringsW();
  for (const wchar_t* p = strings; *p != L'\0'; p += wcslen(p) + 1) {
    std::wstring entry = p;
    const bool replaced =
        std::any_of(extra.begin(), extra.end(), [&](const std::wstring& x) { return name_of(x) == name_of(entry); });
    if (!replaced) entries.push_back(entry);
  }
  ::FreeEnvironmentStringsW(strings);
  entries.insert(entries.end(), extra.begin(), extra.end());
  std::wstring block;
  for (const auto& e : entries) block += e + L'\0';
  return block + L'\0';
}

// The C runtime writes text with CRLF line ends; read back as text, they
// are LF as on POSIX.
std::string TextOf(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  return text;
}

HANDLE InheritableFile(const std::filesystem::path& path, DWORD access, DWORD creation) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE h = ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, creation,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path.string());
  return h;
}

}  // namespace

// Both copies: the system's, read by the platform code and child
// processes, and the C runtime's, read by getenv. An empty value is kept
// empty where the system allows it (the runtime's copy drops it).
void SetEnv(const std::string& name, const std::string& value) {
  ::_putenv_s(name.c_str(), value.c_str());
  ::SetEnvironmentVariableW(Wide(name).c_str(), Wide(value).c_str());
}

void UnsetEnv(const std::string& name) {
  ::_putenv_s(name.c_str(), "");
  ::SetEnvironmentVariableW(Wide(name).c_str(), nullptr);
}

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& env) {
  TempDir scratch;
  HANDLE in = InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
  HANDLE out = InheritableFile(scratch.path() / "out", GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = InheritableFile(scratch.path() / "err", GENERIC_WRITE, CREATE_ALWAYS);

  std::wstring command_line = Quoted(Wide(program));
  for (const auto& a : args) command_line += L" " + Quoted(Wide(a));
  std::wstring environment = EnvironmentBlock(env);

  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = in;
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi{};
  const std::wstring application = Wide(program);
  // No console: Wine would start a console host for it, which inherits the
  // test's own output and can outlive the program, holding the test run.
  const BOOL started =
      ::CreateProcessW(application.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                       CREATE_UNICODE_ENVIRONMENT | DETACHED_PROCESS, environment.data(), nullptr, &si, &pi);
  ::CloseHandle(in);
  ::CloseHandle(out);
  ::CloseHandle(err);
  if (!started) throw std::runtime_error("cannot start " + program);
  ::WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  RunResult result;
  result.status = ::GetExitCodeProcess(pi.hProcess, &code) ? static_cast<int>(code) : -1;
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  result.out = TextOf(ReadFile(scratch.path() / "out"));
  result.err = TextOf(ReadFile(scratch.path() / "err"));
  return result;
}

}  // namespace velquior::testing
