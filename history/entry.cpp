#include "history/entry.h"

#include <charconv>

#include "common/files.h"
#include "common/format.h"
#include "history/messages.h"

namespace velquior::history {
namespace {

constexpr std::string_view kMagic = "velquior-historial 1";
constexpr std::string_view kKinds[] = {"exportar", "importar", "restaurar"};

std::string Escape(const std::filesystem::path& path) {
  std::string out;
  for (char c : PathToUtf8(path)) {
    if (c == '%') {
      out += "%25";
    } else if (c == '\r') {
      out += "%0D";
    } else if (c == '\n') {
      out += "%0A";
    } else {
      out += c;
    }
  }
  return out;
}

std::filesystem::path Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const std::string_view code = text.substr(i + 1, 2);
      if (code == "25" || code == "0D" || code == "0A") {
        out += code == "25" ? '%' : code == "0D" ? '\r' : '\n';
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return PathFromUtf8(out);
}

template <typename T>
bool ReadNumber(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// "2026-12-11 12:40:05"
bool ReadMoment(std::string_view text, Moment& m) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return false;
  }
  return ReadNumber(text.substr(0, 4), m.year) && ReadNumber(text.substr(5, 2), m.month) &&
         ReadNumber(text.substr(8, 2), m.day) && ReadNumber(text.substr(11, 2), m.hour) &&
         ReadNumber(text.substr(14, 2), m.minute) && ReadNumber(text.substr(17, 2), m.second);
}

// The next space-separated word of `rest`, taken off it.
std::string_view Word(std::string_view& rest) {
  const std::size_t space = rest.find(' ');
  const std::string_view word = rest.substr(0, space);
  rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
  return word;
}

std::string Padded(int number, std::size_t width) {
  std::string text = std::to_string(number);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

bool IsHex64(std::string_view text) {
  return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

}  // namespace

bool Entry::HoldsDocument() const { return files.size() == 1 && files[0].original == document; }

std::string_view KindWord(Kind kind) { return kKinds[static_cast<int>(kind)]; }

std::string MomentText(const Moment& m, char between) {
  return Padded(m.year, 4) + '-' + Padded(m.month, 2) + '-' + Padded(m.day, 2) + between + Padded(m.hour, 2) + ':' +
         Padded(m.minute, 2) + ':' + Padded(m.second, 2);
}

std::string WriteManifest(const Entry& e) {
  const std::string when = MomentText(e.when);
  std::string out = std::string(kMagic) + "\nconversion " + std::string(KindWord(e.kind)) + "\nfecha " + when +
                    "\ndocumento " + Escape(e.document) + "\ndirectorio " + Escape(e.work_dir) + '\n';
  for (const auto& f : e.files) {
    if (f.existed) {
      out += "archivo " + f.stored + ' ' + std::to_string(f.size) + ' ' + f.sha256 + ' ' + Escape(f.original) + '\n';
    } else {
      out += "nuevo " + Escape(f.original) + '\n';
    }
  }
  return out;
}

std::optional<Entry> ReadManifest(std::string_view text) {
  Entry e;
  bool magic = false, kind = false, when = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;  // cut short
    std::string_view rest = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (!magic) {
      if (rest != kMagic) return std::nullopt;
      magic = true;
      continue;
    }
    const std::string_view key = Word(rest);
    if (key == "conversion") {
      for (int i = 0; i < 3; ++i) {
        if (rest == kKinds[i]) {
          e.kind = static_cast<Kind>(i);
          kind = true;
        }
      }
    } else if (key == "fecha") {
      when = ReadMoment(rest, e.when);
    } else if (key == "documento") {
      e.document = Unescape(rest);
    } else if (key == "directorio") {
      e.work_dir = Unescape(rest);
    } else if (key == "archivo") {
      FileRecord f;
      f.existed = true;
      f.stored = std::string(Word(rest));
      const std::string_view size = Word(rest);
      f.sha256 = std::string(Word(rest));
      if (f.stored.empty() || f.stored.find_first_not_of("0123456789") != std::string::npos ||
          !ReadNumber(size, f.size) || !IsHex64(f.sha256) || rest.empty()) {
        return std::nullopt;
      }
      f.original = Unescape(rest);
      e.files.push_back(std::move(f));
    } else if (key == "nuevo") {
      if (rest.empty()) return std::nullopt;
      FileRecord f;
      f.original = Unescape(rest);
      e.files.push_back(std::move(f));
    }
  }
  if (!magic || !kind || !when || e.files.empty()) return std::nullopt;
  return e;
}

std::string Describe(const Entry& e) {
  const std::string_view kind = e.kind == Kind::kExport   ? msg::kExportacion
                                : e.kind == Kind::kImport ? msg::kImportacion
                                                          : msg::kRestauracion;
  const std::string date = Padded(e.when.day, 2) + '/' + Padded(e.when.month, 2) + '/' + Padded(e.when.year, 4);
  const std::string time = Padded(e.when.hour, 2) + ':' + Padded(e.when.minute, 2);
  const std::string what = e.HoldsDocument() ? Format(msg::kElDocumento, {PathForMessage(e.document)})
                                             : Format(msg::kSeisTablas, {PathForMessage(e.work_dir)});
  return Format(msg::kEntrada, {kind, date, time, what});
}

std::string UndoneText(const Entry& e) {
  std::string what = Describe(e);
  what[0] = static_cast<char>(what[0] - 'A' + 'a');  // every kind's word starts with an ASCII capital
  return Format(msg::kDeshecho, {what});
}

}  // namespace velquior::history
