#include "cli/cli_reporter.h"

#include <filesystem>
#include <ostream>

#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "export/kept_codes.h"
#include "tables/table.h"

namespace velquior::cli {

void CliReporter::ReportMissingItem(const MissingItem& item) {
  err_ << Format(msg::kAviso,
                 {Format(msg::kElementoIncompleto, {item.element, std::to_string(item.position), item.what})})
       << '\n';
}

void CliReporter::ReportCodeNotKept(const CodeNotKept& not_kept) {
  err_ << Format(msg::kAviso, {NotKeptLine(not_kept)}) << '\n';
}

void CliReporter::ReportTablesWritten(std::span<const std::string> file_names) {
  for (const auto& name : file_names) {
    const std::filesystem::path p = PathFromUtf8(name);  // the names are UTF-8
    tables::Table t(p.parent_path(), PathToUtf8(p.filename()));
    t.Open();
    out_ << Format(msg::kTablaEscrita, {name, std::to_string(t.RecordCount())}) << '\n';
    t.Close();
  }
}

}  // namespace velquior::cli
