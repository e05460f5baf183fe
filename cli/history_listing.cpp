#include "cli/history_listing.h"

#include <string>

#include "cli/json_text.h"
#include "common/files.h"
#include "common/format.h"
#include "history/messages.h"

namespace velquior::cli {

void WriteHistoryText(std::span<const history::Entry> entries, std::ostream& out) {
  if (entries.empty()) out << history::msg::kHistorialVacio << '\n';
  for (std::size_t i = 0; i < entries.size(); ++i) {
    out << Format(history::msg::kLineaHistorial, {std::to_string(i + 1), history::Describe(entries[i])}) << '\n';
    if (!entries[i].HoldsDocument()) {
      out << Format(history::msg::kLineaDocumento, {PathForMessage(entries[i].document)}) << '\n';
    }
  }
}

void WriteHistoryJson(std::span<const history::Entry> entries, std::ostream& out) {
  out << '[';
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const history::Entry& e = entries[i];
    const std::string date = history::MomentText(e.when, 'T');
    out << (i == 0 ? "\n" : ",\n") << "  {\"number\": " << i + 1
        << ", \"conversion\": " << JsonString(history::KindWord(e.kind)) << ", \"date\": " << JsonString(date)
        << ", \"description\": " << JsonString(history::Describe(e))
        << ", \"document\": " << JsonString(PathForMessage(e.document))
        << ", \"work_dir\": " << JsonString(PathForMessage(e.work_dir))
        << ", \"folder\": " << JsonString(PathForMessage(e.folder)) << ", \"files\": [";
    for (std::size_t j = 0; j < e.files.size(); ++j) {
      const history::FileRecord& f = e.files[j];
      out << (j == 0 ? "" : ", ") << "{\"path\": " << JsonString(PathForMessage(f.original))
          << ", \"existed\": " << (f.existed ? "true" : "false");
      if (f.existed) out << ", \"size\": " << f.size << ", \"sha256\": " << JsonString(f.sha256);
      out << '}';
    }
    out << "]}";
  }
  out << (entries.empty() ? "]\n" : "\n]\n");
}

}  // namespace velquior::cli
