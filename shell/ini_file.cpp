#include "shell/ini_file.h"

#include <optional>
#include <system_error>
#include <vector>

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior::shell {
namespace {

struct Line {
  std::string_view body;  // without its line ending
  std::string_view eol;   // "\r\n", "\n" or empty (last line)
};

std::vector<Line> SplitLines(std::string_view s) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < s.size()) {
    std::size_t nl = s.find('\n', start);
    if (nl == std::string_view::npos) {
      lines.push_back({s.substr(start), {}});
      break;
    }
    std::size_t body_end = (nl > start && s[nl - 1] == '\r') ? nl - 1 : nl;
    lines.push_back({s.substr(start, body_end - start), s.substr(body_end, nl + 1 - body_end)});
    start = nl + 1;
  }
  return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view body) {
  body = Trim(body);
  if (body.empty() || body.front() != '[') return std::nullopt;
  body.remove_prefix(1);
  if (auto close = body.find(']'); close != std::string_view::npos) body = body.substr(0, close);
  return Trim(body);
}

std::string_view KeyOf(std::string_view body) {
  auto eq = body.find('=');
  return Trim(eq == std::string_view::npos ? body : body.substr(0, eq));
}

constexpr std::string_view kBom = "\xEF\xBB\xBF";

}  // namespace

std::string SetIniValue(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::vector<Line> lines = SplitLines(content);
  // A byte-order mark belongs to the file, not to its first line's text.
  std::size_t bom = content.starts_with(kBom) ? kBom.size() : 0;
  auto body_of = [&](std::size_t i) { return i == 0 ? lines[0].body.substr(bom) : lines[i].body; };

  std::string_view eol = "\r\n";
  for (const Line& l : lines) {
    if (!l.eol.empty()) {
      eol = l.eol;
      break;
    }
  }
  const std::string entry = std::string(key) + "=" + std::string(value);

  std::size_t header = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionName(body_of(i));
    if (name && EqualsNoCaseAscii(*name, section)) {
      header = i;
      break;
    }
  }

  std::string out;
  out.reserve(content.size() + entry.size() + section.size() + 8);
  auto emit = [&](std::size_t from, std::size_t to) {  // lines [from, to) unchanged
    for (std::size_t i = from; i < to; ++i) {
      out += lines[i].body;
      out += lines[i].eol;
    }
  };
  auto end_line = [&] {  // a line without ending gets one before more follows
    if (!out.empty() && out.back() != '\n') out += eol;
  };

  if (header == lines.size()) {
    out.assign(content);
    end_line();
    out += "[" + std::string(section) + "]";
    out += eol;
    out += entry;
    out += eol;
    return out;
  }

  std::size_t section_end = header + 1;
  while (section_end < lines.size() && !SectionName(lines[section_end].body)) ++section_end;

  std::size_t last_filled = header;
  for (std::size_t i = header + 1; i < section_end; ++i) {
    std::string_view body = lines[i].body;
    if (!Trim(body).empty()) last_filled = i;
    if (!EqualsNoCaseAscii(KeyOf(body), key)) continue;
    emit(0, i);
    if (auto eq = body.find('='); eq != std::string_view::npos) {
      std::size_t keep = eq + 1;
      while (keep < body.size() && IsBlank(body[keep])) ++keep;
      out += body.substr(0, keep);
      out += value;
    } else {
      std::size_t lead = 0;
      while (lead < body.size() && IsBlank(body[lead])) ++lead;
      out += body.substr(0, lead);
      out += KeyOf(body);
      out += "=";
      out += value;
    }
    out += lines[i].eol;
    emit(i + 1, lines.size());
    return out;
  }

  emit(0, last_filled + 1);
  end_line();
  out += entry;
  out += eol;
  emit(last_filled + 1, lines.size());
  return out;
}

void WriteIniValue(const std::filesystem::path& file, std::string_view section, std::string_view key,
                   std::string_view value) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(file, ec);
  if (ec) full = file;
  try {
    std::string content;
    if (std::filesystem::exists(full, ec) || ec) content = ReadFileBytes(full);
    AtomicReplaceFile(full, SetIniValue(content, section, key, value));
  } catch (const Error&) {
    throw Error(Format(msg::kUnableToWrite, {PathForMessage(full)}));
  }
}

}  // namespace velquior::shell
